#pragma once

// Helpers for the setup dialog's tests: find its parts by their names, turn
// its pages as the user does, run it modally while a zero-delay timer acts on
// it, and look at what it left in the hive.

#include "mainwindow/Programidentity.h"
#include "platform/Hivefile.h"
#include "setup/Tformlanguageselect.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

namespace SetupDialogTesting {

template <typename Part>
Part* Find(QWidget& dialog, const char* name) {
    Part* part = dialog.findChild<Part*>(QString::fromLatin1(name));
    if (part == nullptr)
        qFatal("the setup dialog has no %s", name);
    return part;
}

inline QStringList EnglishInstructions() {
    return {QStringLiteral("Press Clear."), QString(), QStringLiteral("That is all.")};
}

inline QStringList GermanInstructions() {
    return {QStringLiteral("Drücken Sie Löschen."), QString(), QStringLiteral("Das ist alles."),
            QStringLiteral("Fertig.")};
}

// A dialog prepared as the start-up sequence prepares it.
inline std::unique_ptr<TFormLanguageSelect> PreparedDialog() {
    auto dialog = std::make_unique<TFormLanguageSelect>(nullptr, ProgramName, RegistryKeyPath);
    dialog->SetInstructions(0, EnglishInstructions());
    dialog->SetInstructions(1, GermanInstructions());
    dialog->ResetDialog();
    return dialog;
}

// A click on the page's tab, as the user turns pages.
inline void TurnToPage(QWidget& dialog, int index) {
    QTabBar* tabs = Find<QTabWidget>(dialog, "PageControl1")->tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(index).center());
}

// Opens the agreement page and ticks the acceptance box.
inline void Accept(QWidget& dialog) {
    TurnToPage(dialog, 1);
    Find<QAbstractButton>(dialog, "CheckBox1")->click();
}

struct ModalRun {
    int Result = -1;
    bool ActedOnIt = false;  // the timer found the dialog as the active modal window
    bool LeftOpen = false;   // `act` did not end the run; the helper hid the dialog
};

// Runs the dialog modally; once its loop runs, `act` works on it. A dialog
// that `act` leaves open is hidden, which ends the run without closing it.
inline ModalRun RunModal(TFormLanguageSelect& dialog, const std::function<void(QDialog&)>& act) {
    ModalRun run;
    QTimer::singleShot(0, &dialog, [&] {
        QPointer<QDialog> shown = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        run.ActedOnIt = shown == &dialog;
        if (!run.ActedOnIt) {
            dialog.hide();
            return;
        }
        act(*shown);
        if (shown && shown->isVisible()) {
            run.LeftOpen = true;
            shown->hide();
        }
    });
    run.Result = dialog.exec();
    return run;
}

// The names of the values under the program's key, in the order they were
// first written; empty when the key does not exist.
inline QStringList StoredValueNames() {
    const std::optional<Hive> hive = HiveFile::Load();
    const HiveKey* key = hive ? hive->FindKey({QStringLiteral("Software"), QStringLiteral("Vellimor")}) : nullptr;
    QStringList names;
    if (key != nullptr)
        for (const RegistryValue& value : key->Values)
            names << value.Name;
    return names;
}

inline QByteArray StoredData(const QString& name) {
    const std::optional<Hive> hive = HiveFile::Load();
    const HiveKey* key = hive ? hive->FindKey({QStringLiteral("Software"), QStringLiteral("Vellimor")}) : nullptr;
    const RegistryValue* value = key ? key->FindValue(name) : nullptr;
    return value ? value->Data : QByteArray();
}

}  // namespace SetupDialogTesting
