#pragma once

#include "platform/Hive.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// The hive a registry accessor works in. Only the current user's is kept.
enum class RegistryRoot { CurrentUser };
inline constexpr RegistryRoot HKEY_CURRENT_USER = RegistryRoot::CurrentUser;

// Registry accessor over the current user's hive file. A fresh accessor has
// no key open; each call reads the hive anew, and each change is written at
// once. Key paths with a leading backslash start at the hive's root, others
// below the open key (or the root when none is open). Key and value names
// compare without regard to case.
//
// Value reads and writes raise ERegistryException with a German message that
// names the value; OpenKey and KeyExists never raise; DeleteKey raises only when the deletion cannot be written.
class TRegistry {
public:
    TRegistry() = default;
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;

    RegistryRoot RootKey() const { return Root; }
    void SetRootKey(RegistryRoot root) { Root = root; }

    // Opens the key with full access, creating it and its missing parents
    // when `canCreate`; false when it can neither be opened nor created.
    bool OpenKey(const QString& path, bool canCreate);
    void CloseKey() { OpenPath.reset(); }

    bool ValueExists(const QString& name) const;
    qint32 ReadInteger(const QString& name) const;
    bool ReadBool(const QString& name) const;
    void WriteInteger(const QString& name, qint32 value);
    void WriteBool(const QString& name, bool value);
    void WriteString(const QString& name, const QString& text);
    void WriteFloat(const QString& name, double value);

    // True when the key can be opened; never creates it.
    bool KeyExists(const QString& path) const;
    // Deletes the key and everything below it; whether that succeeded.
    bool DeleteKey(const QString& path);

private:
    std::optional<QStringList> Resolve(const QString& path) const;
    void PutData(const QString& name, RegistryType type, const QByteArray& data);

    RegistryRoot Root = HKEY_CURRENT_USER;
    std::optional<QStringList> OpenPath;
};
