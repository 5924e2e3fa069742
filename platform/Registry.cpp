#include "platform/Registry.h"

#include "platform/Hivefile.h"
#include "platform/Hivetext.h"
#include "platform/Registryexception.h"

#include <QtEndian>

#include <bit>

namespace {

[[noreturn]] void RaiseInvalidType(const QString& name) {
    throw ERegistryException(QStringLiteral("Ungültiger Datentyp für '%1'").arg(name));
}

[[noreturn]] void RaiseGetDataFailed(const QString& name) {
    throw ERegistryException(QStringLiteral("Konnte Daten für '%1' nicht holen").arg(name));
}

[[noreturn]] void RaiseSetDataFailed(const QString& name) {
    throw ERegistryException(QStringLiteral("Konnte Daten für '%1' nicht setzen").arg(name));
}

template <typename Number>
QByteArray LittleEndian(Number number) {
    QByteArray data(sizeof number, '\0');
    qToLittleEndian(number, data.data());
    return data;
}

}  // namespace

std::optional<QStringList> TRegistry::Resolve(const QString& path) const {
    if (!HiveText::Representable(path)) return std::nullopt;
    QStringList components = path.split(u'\\');
    const bool fromRoot = path.startsWith(u'\\') || !OpenPath;
    if (path.startsWith(u'\\')) components.removeFirst();
    if (path.endsWith(u'\\') && !components.isEmpty()) components.removeLast();
    if (path.isEmpty()) components.clear();
    if (components.contains(QString())) return std::nullopt;
    return fromRoot ? components : *OpenPath + components;
}

bool TRegistry::OpenKey(const QString& path, bool canCreate) {
    const auto resolved = Resolve(path);
    const auto hive = HiveFile::Load();
    if (!resolved || !hive) return false;
    if (!hive->KeyExists(*resolved)) {
        if (!canCreate) return false;
        const auto result = HiveFile::Update([&](Hive& current) {
            current.CreateKey(*resolved);
            return true;
        });
        if (result != HiveFile::UpdateResult::Done) return false;
    }
    OpenPath = resolved;
    return true;
}

bool TRegistry::ValueExists(const QString& name) const {
    const auto hive = HiveFile::Load();
    const HiveKey* key = hive && OpenPath ? hive->FindKey(*OpenPath) : nullptr;
    return key && key->FindValue(name);
}

qint32 TRegistry::ReadInteger(const QString& name) const {
    const auto hive = HiveFile::Load();
    const HiveKey* key = hive && OpenPath ? hive->FindKey(*OpenPath) : nullptr;
    const RegistryValue* value = key ? key->FindValue(name) : nullptr;
    // As the registry does: data that do not fit four bytes cannot be fetched
    // at all; data that fit but are not a REG_DWORD have the wrong type.
    if (!value || value->Data.size() > 4) RaiseGetDataFailed(name);
    if (value->Type != RegistryType::REG_DWORD) RaiseInvalidType(name);
    return qFromLittleEndian<qint32>(value->Data.constData());
}

bool TRegistry::ReadBool(const QString& name) const {
    return ReadInteger(name) != 0;
}

void TRegistry::WriteInteger(const QString& name, qint32 value) {
    PutData(name, RegistryType::REG_DWORD, LittleEndian(value));
}

void TRegistry::WriteBool(const QString& name, bool value) {
    WriteInteger(name, value ? 1 : 0);
}

void TRegistry::WriteString(const QString& name, const QString& text) {
    if (!HiveText::Representable(text)) RaiseSetDataFailed(name);
    PutData(name, RegistryType::REG_SZ, text.toUtf8().append('\0'));
}

void TRegistry::WriteFloat(const QString& name, double value) {
    PutData(name, RegistryType::REG_BINARY, LittleEndian(std::bit_cast<quint64>(value)));
}

void TRegistry::PutData(const QString& name, RegistryType type, const QByteArray& data) {
    if (!OpenPath || !HiveText::Representable(name)) RaiseSetDataFailed(name);
    const auto result = HiveFile::Update([&](Hive& hive) {
        // A key deleted since it was opened cannot take values any more.
        if (!hive.KeyExists(*OpenPath)) return false;
        hive.CreateKey(*OpenPath);
        hive.FindKey(*OpenPath)->SetValue(RegistryValue{name, type, data});
        return true;
    });
    if (result != HiveFile::UpdateResult::Done) RaiseSetDataFailed(name);
}

bool TRegistry::KeyExists(const QString& path) const {
    const auto resolved = Resolve(path);
    const auto hive = HiveFile::Load();
    return resolved && hive && hive->KeyExists(*resolved);
}

bool TRegistry::DeleteKey(const QString& path) {
    if (!KeyExists(path)) return false;
    const auto resolved = Resolve(path);
    const auto result = HiveFile::Update([&](Hive& hive) { return hive.DeleteKey(*resolved); });
    // A deletion that could not be written is an error, never a silent success:
    // the caller would tell the user that the settings are gone.
    if (result == HiveFile::UpdateResult::WriteFailed || result == HiveFile::UpdateResult::Unavailable)
        throw ERegistryException(QStringLiteral("Konnte Schlüssel '%1' nicht löschen").arg(path));
    return result == HiveFile::UpdateResult::Done;
}
