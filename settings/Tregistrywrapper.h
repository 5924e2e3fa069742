#pragma once

#include <QString>

class QObject;

// Typed reads and writes of named values under one key of the current user's
// hive. Every operation opens its own accessor and closes it again; nothing is
// cached. Failures are shown through ShowMessage with a numbered code
// ("[ERW001] " to "[ERW014] ") and come back as false or 0: no exception ever
// leaves this class.
class TRegistryWrapper {
public:
    explicit TRegistryWrapper(QObject* ownerForm);
    ~TRegistryWrapper();

    void SetKeyPath(const QString& keyPath);

    bool ReadBool(const QString& name);
    bool WriteBool(const QString& name, bool value);
    bool WriteString(const QString& name, const QString& text);
    bool WriteFloat(const QString& name, double value);
    bool KeyExists(const QString& keyPath);
    bool DeleteKey(const QString& keyPath);
    qint32 ReadInteger(const QString& name);
    bool WriteInteger(const QString& name, qint32 value);

private:
    QObject* OwnerForm;
    QString KeyPath;
};
