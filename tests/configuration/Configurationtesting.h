#pragma once

// Helpers for the configuration dialog's tests: a main window over settings
// and a temporary directory of the test's own, the dialog built on it, and a
// look at what the hive holds afterwards.

#include <QtTest>

#include <memory>
#include <optional>

#include "configuration/Tformconfiguration.h"
#include "mainwindow/Tformmain.h"
#include "platform/Hivefile.h"
#include "support/Fixture.h"
#include "support/Hivefixture.h"
#include "support/Messagerecorder.h"
#include "ui_Tformconfiguration.h"
#include "ui_Tformmain.h"

struct ConfigurationFixture {
    FixtureTree Temp;
    HiveFixture Hive;
    MessageRecorder Messages;
    QByteArray SavedTmpdir = qgetenv("TMPDIR");
    std::unique_ptr<TFormMain> Window;

    // The main window as the start-up sequence leaves it, in `language`.
    explicit ConfigurationFixture(qint32 language = 0) {
        qputenv("TMPDIR", QByteArray::fromStdString(Temp.Root()));
        Window = std::make_unique<TFormMain>();
        Window->TimerStartup.stop();
        Window->Language = language;
        Window->ApplyLanguage();
    }
    ~ConfigurationFixture() {
        Window.reset();
        qputenv("TMPDIR", SavedTmpdir);
    }

    std::unique_ptr<TFormConfiguration> Open() { return std::make_unique<TFormConfiguration>(Window.get()); }
    Ui::FormMain& Main() { return Window->Components(); }

    // Stored through the program's own store, as an earlier run left them.
    void Store(const QString& name, qint32 value) { Window->Registry->WriteInteger(name, value); }

    // Makes every later write fail while reads still work: the file that
    // would replace the hive cannot be made.
    void BlockWrites() const {
        QDir().mkpath(Hive.HivePath() + QStringLiteral(".tmp/inside"));
    }
};

namespace ConfigurationTesting {

inline const QStringList& KeyPath() {
    static const QStringList path{QStringLiteral("Software"), QStringLiteral("Vellimor")};
    return path;
}

inline bool KeyExists() {
    const std::optional<Hive> hive = HiveFile::Load();
    return hive && hive->KeyExists(KeyPath());
}

// The names of the values under the program's key, in the order first written.
inline QStringList StoredNames() {
    const std::optional<Hive> hive = HiveFile::Load();
    const HiveKey* key = hive ? hive->FindKey(KeyPath()) : nullptr;
    QStringList names;
    if (key != nullptr)
        for (const RegistryValue& value : key->Values) names << value.Name;
    return names;
}

// A stored number; nothing when the value is missing or not a number.
inline std::optional<qint32> StoredNumber(const QString& name) {
    const std::optional<Hive> hive = HiveFile::Load();
    const HiveKey* key = hive ? hive->FindKey(KeyPath()) : nullptr;
    const RegistryValue* value = key ? key->FindValue(name) : nullptr;
    if (value == nullptr || value->Type != RegistryType::REG_DWORD || value->Data.size() != 4) return std::nullopt;
    return qFromLittleEndian<qint32>(value->Data.constData());
}

inline QStringList MemoLines(TFormConfiguration& dialog) {
    return dialog.Components().Memo1->toPlainText().split(QLatin1Char('\n'));
}

inline QString TabText(TFormConfiguration& dialog, QWidget* page) {
    QTabWidget* pages = dialog.Components().PageControl1;
    return pages->tabText(pages->indexOf(page));
}

}  // namespace ConfigurationTesting
