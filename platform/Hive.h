#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// The value types the hive holds; each value's data are the raw bytes the
// registry would store for it.
enum class RegistryType { REG_SZ, REG_DWORD, REG_BINARY };

struct RegistryValue {
    QString Name;  // empty: the key's default value
    RegistryType Type = RegistryType::REG_BINARY;
    QByteArray Data;
};

struct HiveKey {
    QStringList Path;  // components below the hive's root; empty: the root
    QList<RegistryValue> Values;  // in the order they were first written

    RegistryValue* FindValue(const QString& name);
    const RegistryValue* FindValue(const QString& name) const;
    // Replaces the data and type of an existing value (keeping its place and
    // spelling) or appends a new one.
    void SetValue(const RegistryValue& value);
};

// The keys of the current user's hive, in file order. Key and value names
// compare without regard to case, as the registry's do. A key exists when it
// has an entry of its own or when a key below it has one.
class Hive {
public:
    const QList<HiveKey>& Keys() const { return Entries; }

    HiveKey* FindKey(const QStringList& path);
    const HiveKey* FindKey(const QStringList& path) const;
    bool KeyExists(const QStringList& path) const;
    // Appends the key and every missing parent, parents first.
    void CreateKey(const QStringList& path);
    // Removes the key with everything below it; false when it did not exist
    // or is the root, which cannot be deleted.
    bool DeleteKey(const QStringList& path);
    // For the parser: appends a key entry; false when it is already there.
    bool AppendKey(const QStringList& path);

private:
    QList<HiveKey> Entries;
};

// Whether two key paths name the same key.
bool SameKeyPath(const QStringList& a, const QStringList& b);
