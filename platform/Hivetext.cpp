#include "platform/Hivetext.h"

#include <QStringDecoder>
#include <QtEndian>

#include <algorithm>

namespace {

const QString kFirstLine = QStringLiteral("REGEDIT4");
const QString kRoot = QStringLiteral("HKEY_CURRENT_USER");
const QString kDword = QStringLiteral("dword:");
const QString kHex = QStringLiteral("hex:");

// A double-quoted string starting at `start`, with \\ and \" escaped.
struct Quoted {
    QString Text;
    qsizetype End = 0;  // index after the closing quote
};

std::optional<Quoted> ReadQuoted(const QString& line, qsizetype start) {
    if (start >= line.size() || line[start] != u'"') return std::nullopt;
    Quoted quoted;
    for (qsizetype at = start + 1; at < line.size(); ++at) {
        if (line[at] == u'"') {
            quoted.End = at + 1;
            return quoted;
        }
        if (line[at] == u'\\') {
            if (++at == line.size() || (line[at] != u'\\' && line[at] != u'"')) return std::nullopt;
        }
        quoted.Text += line[at];
    }
    return std::nullopt;
}

QString Quote(QString text) {
    text.replace(u'\\', QStringLiteral("\\\\")).replace(u'"', QStringLiteral("\\\""));
    return u'"' + text + u'"';
}

bool IsLowerHex(QChar c) {
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f');
}

std::optional<QByteArray> ReadDword(QStringView digits) {
    if (digits.size() != 8 || !std::all_of(digits.begin(), digits.end(), IsLowerHex)) return std::nullopt;
    QByteArray data(4, '\0');
    qToLittleEndian(digits.toUInt(nullptr, 16), data.data());
    return data;
}

std::optional<QByteArray> ReadHexBytes(QStringView list) {
    QByteArray data;
    if (list.isEmpty()) return data;
    for (QStringView pair : list.split(u',')) {
        if (pair.size() != 2 || !IsLowerHex(pair[0]) || !IsLowerHex(pair[1])) return std::nullopt;
        data.append(static_cast<char>(pair.toUInt(nullptr, 16)));
    }
    return data;
}

std::optional<RegistryValue> ReadData(RegistryValue value, const QString& data) {
    std::optional<QByteArray> bytes;
    if (const auto text = ReadQuoted(data, 0); text && text->End == data.size()) {
        value.Type = RegistryType::REG_SZ;
        bytes = text->Text.toUtf8().append('\0');
    } else if (data.startsWith(kDword)) {
        value.Type = RegistryType::REG_DWORD;
        bytes = ReadDword(QStringView(data).mid(kDword.size()));
    } else if (data.startsWith(kHex)) {
        value.Type = RegistryType::REG_BINARY;
        bytes = ReadHexBytes(QStringView(data).mid(kHex.size()));
    }
    if (!bytes) return std::nullopt;
    value.Data = *bytes;
    return value;
}

std::optional<RegistryValue> ReadValueLine(const QString& line) {
    RegistryValue value;
    qsizetype at = 1;
    if (!line.startsWith(u'@')) {
        const auto name = ReadQuoted(line, 0);
        // An empty quoted name would come back as "@".
        if (!name || name->Text.isEmpty()) return std::nullopt;
        value.Name = name->Text;
        at = name->End;
    }
    if (at >= line.size() || line[at] != u'=') return std::nullopt;
    return ReadData(value, line.mid(at + 1));
}

std::optional<QStringList> ReadKeyLine(const QString& line) {
    if (line.size() < 2 || !line.startsWith(u'[') || !line.endsWith(u']')) return std::nullopt;
    QStringList path = line.mid(1, line.size() - 2).split(u'\\');
    if (path.takeFirst() != kRoot || path.contains(QString())) return std::nullopt;
    return path;
}

// One key line and its value lines, from `at` up to an empty line or the end.
bool ReadKeyBlock(const QStringList& lines, qsizetype& at, Hive& hive) {
    const auto path = ReadKeyLine(lines[at++]);
    if (!path || !hive.AppendKey(*path)) return false;
    HiveKey& key = *hive.FindKey(*path);
    for (; at < lines.size() && !lines[at].isEmpty(); ++at) {
        const auto value = ReadValueLine(lines[at]);
        if (!value || key.FindValue(value->Name)) return false;
        key.Values.append(*value);
    }
    return true;
}

// Strict UTF-8; the decoder drops a leading byte-order mark.
std::optional<QString> DecodeUtf8(const QByteArray& bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError()) return std::nullopt;
    return text;
}

QStringList SplitLines(const QString& text) {
    QStringList lines = text.split(u'\n');
    if (text.endsWith(u'\n')) lines.removeLast();
    return lines;
}

QString KeyLine(const QStringList& path) {
    return u'[' + (QStringList{kRoot} + path).join(u'\\') + u']';
}

// A text's data as they stand: a leading U+FEFF is part of the text, not a
// byte-order mark to drop as QString::fromUtf8 would.
QString TextOf(const QByteArray& data) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    return decoder.decode(data.endsWith('\0') ? data.chopped(1) : data);
}

QString DataText(const RegistryValue& value) {
    switch (value.Type) {
    case RegistryType::REG_SZ:
        return Quote(TextOf(value.Data));
    case RegistryType::REG_DWORD:
        return kDword + QStringLiteral("%1").arg(qFromLittleEndian<quint32>(value.Data.constData()), 8, 16, QChar(u'0'));
    case RegistryType::REG_BINARY:
        break;
    }
    QStringList pairs;
    for (char byte : value.Data) pairs << QStringLiteral("%1").arg(static_cast<quint8>(byte), 2, 16, QChar(u'0'));
    return kHex + pairs.join(u',');
}

QString ValueLine(const RegistryValue& value) {
    return (value.Name.isEmpty() ? QStringLiteral("@") : Quote(value.Name)) + u'=' + DataText(value);
}

}  // namespace

namespace HiveText {

std::optional<Hive> Read(const QByteArray& bytes) {
    auto text = DecodeUtf8(bytes);
    if (!text) return std::nullopt;
    text->replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (text->contains(u'\r') || text->contains(u'\0')) return std::nullopt;
    const QStringList lines = SplitLines(*text);
    if (lines.first() != kFirstLine) return std::nullopt;
    Hive hive;
    if (lines.size() == 1) return hive;  // the empty hive without its final line end
    if (!lines[1].isEmpty()) return std::nullopt;
    for (qsizetype at = 2; at < lines.size(); ++at) {
        // A block ends at the end or on the one empty line before the next key.
        if (!ReadKeyBlock(lines, at, hive) || at == lines.size() - 1) return std::nullopt;
    }
    return hive;
}

QByteArray Write(const Hive& hive) {
    QStringList blocks;
    for (const HiveKey& key : hive.Keys()) {
        QString block = KeyLine(key.Path) + u'\n';
        for (const RegistryValue& value : key.Values) block += ValueLine(value) + u'\n';
        blocks << block;
    }
    return (kFirstLine + QStringLiteral("\n\n") + blocks.join(u'\n')).toUtf8();
}

bool Representable(const QString& text) {
    return !text.contains(u'\n') && !text.contains(u'\r') && !text.contains(u'\0');
}

}  // namespace HiveText
