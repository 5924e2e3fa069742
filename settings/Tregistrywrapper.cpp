#include "settings/Tregistrywrapper.h"

#include "platform/Registry.h"
#include "platform/Registryexception.h"
#include "platform/Showmessage.h"

namespace {

// The numbered code that begins every message of the store.
QString Coded(int code, const QString& text) {
    return QStringLiteral("[ERW%1] ").arg(code, 3, 10, QChar(u'0')) + text;
}

const QString kKeyUnavailable = QStringLiteral("Cannot get registry information!");

// The steps every value operation shares: open (creating) the key, run
// `step`, and turn each failure into a message with `openCode` (key
// unavailable) or the next code (the accessor raised). `result` keeps
// whatever `step` had set before a failure.
template <typename Result, typename Step>
Result ValueOperation(const QString& keyPath, int openCode, Step step) {
    Result result{};
    TRegistry registry;
    try {
        registry.SetRootKey(HKEY_CURRENT_USER);
        if (!registry.OpenKey(keyPath, true)) {
            ShowMessage(Coded(openCode, kKeyUnavailable));
            return result;
        }
        step(registry, result);
    } catch (const ERegistryException& exception) {
        ShowMessage(Coded(openCode + 1, exception.Message()));
    }
    return result;
}

}  // namespace

TRegistryWrapper::TRegistryWrapper(QObject* ownerForm) : OwnerForm(ownerForm) {}

TRegistryWrapper::~TRegistryWrapper() = default;

void TRegistryWrapper::SetKeyPath(const QString& keyPath) {
    KeyPath = keyPath;
}

bool TRegistryWrapper::ReadBool(const QString& name) {
    return ValueOperation<bool>(KeyPath, 1, [&](TRegistry& registry, bool& result) {
        if (registry.ValueExists(name)) result = registry.ReadBool(name);
    });
}

bool TRegistryWrapper::WriteBool(const QString& name, bool value) {
    return ValueOperation<bool>(KeyPath, 3, [&](TRegistry& registry, bool& result) {
        registry.WriteBool(name, value);
        result = true;
    });
}

bool TRegistryWrapper::WriteString(const QString& name, const QString& text) {
    return ValueOperation<bool>(KeyPath, 5, [&](TRegistry& registry, bool& result) {
        registry.WriteString(name, text);
        result = true;
    });
}

bool TRegistryWrapper::WriteFloat(const QString& name, double value) {
    return ValueOperation<bool>(KeyPath, 7, [&](TRegistry& registry, bool& result) {
        registry.WriteFloat(name, value);
        result = true;
    });
}

bool TRegistryWrapper::KeyExists(const QString& keyPath) {
    bool result = false;
    TRegistry registry;
    try {
        registry.SetRootKey(HKEY_CURRENT_USER);
        result = registry.KeyExists(keyPath);
    } catch (const ERegistryException& exception) {
        ShowMessage(Coded(9, exception.Message()));
    }
    return result;
}

bool TRegistryWrapper::DeleteKey(const QString& keyPath) {
    bool result = false;
    TRegistry registry;
    try {
        registry.SetRootKey(HKEY_CURRENT_USER);
        // Whether the deletion itself succeeded is not looked at: the key is
        // gone for the caller's purposes either way.
        if (registry.KeyExists(keyPath)) registry.DeleteKey(keyPath);
        result = true;
    } catch (const ERegistryException& exception) {
        ShowMessage(Coded(10, exception.Message()));
    }
    return result;
}

qint32 TRegistryWrapper::ReadInteger(const QString& name) {
    return ValueOperation<qint32>(KeyPath, 11, [&](TRegistry& registry, qint32& result) {
        if (registry.ValueExists(name)) result = registry.ReadInteger(name);
    });
}

bool TRegistryWrapper::WriteInteger(const QString& name, qint32 value) {
    return ValueOperation<bool>(KeyPath, 13, [&](TRegistry& registry, bool& result) {
        registry.WriteInteger(name, value);
        result = true;
    });
}
