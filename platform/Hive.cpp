#include "platform/Hive.h"

#include <algorithm>

namespace {

bool SameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Whether `path` is `ancestor` itself or lies below it.
bool IsAtOrBelow(const QStringList& path, const QStringList& ancestor) {
    return path.size() >= ancestor.size() && SameKeyPath(path.mid(0, ancestor.size()), ancestor);
}

template <typename Values>
auto FindIn(Values& values, const QString& name) -> decltype(&values.front()) {
    const auto found = std::find_if(values.begin(), values.end(),
                                    [&](const RegistryValue& value) { return SameName(value.Name, name); });
    return found == values.end() ? nullptr : &*found;
}

template <typename Keys>
auto FindIn(Keys& keys, const QStringList& path) -> decltype(&keys.front()) {
    const auto found = std::find_if(keys.begin(), keys.end(),
                                    [&](const HiveKey& key) { return SameKeyPath(key.Path, path); });
    return found == keys.end() ? nullptr : &*found;
}

}  // namespace

bool SameKeyPath(const QStringList& a, const QStringList& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), SameName);
}

RegistryValue* HiveKey::FindValue(const QString& name) {
    return FindIn(Values, name);
}

const RegistryValue* HiveKey::FindValue(const QString& name) const {
    return FindIn(Values, name);
}

void HiveKey::SetValue(const RegistryValue& value) {
    if (RegistryValue* existing = FindValue(value.Name)) {
        existing->Type = value.Type;
        existing->Data = value.Data;
    } else {
        Values.append(value);
    }
}

HiveKey* Hive::FindKey(const QStringList& path) {
    return FindIn(Entries, path);
}

const HiveKey* Hive::FindKey(const QStringList& path) const {
    return FindIn(Entries, path);
}

bool Hive::KeyExists(const QStringList& path) const {
    return path.isEmpty() || std::any_of(Entries.begin(), Entries.end(),
                                         [&](const HiveKey& key) { return IsAtOrBelow(key.Path, path); });
}

void Hive::CreateKey(const QStringList& path) {
    for (qsizetype length = 1; length <= path.size(); ++length) {
        if (!KeyExists(path.mid(0, length))) AppendKey(path.mid(0, length));
    }
    // A key that existed only through its subkeys gets an entry of its own
    // once values are to be written to it.
    if (!FindKey(path)) AppendKey(path);
}

bool Hive::DeleteKey(const QStringList& path) {
    if (path.isEmpty() || !KeyExists(path)) return false;
    Entries.removeIf([&](const HiveKey& key) { return IsAtOrBelow(key.Path, path); });
    return true;
}

bool Hive::AppendKey(const QStringList& path) {
    if (FindKey(path)) return false;
    Entries.append(HiveKey{path, {}});
    return true;
}
