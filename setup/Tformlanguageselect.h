#pragma once

#include "settings/Tregistrywrapper.h"

#include <QDialog>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class QKeyEvent;
class QShowEvent;

namespace Ui {
class FormLanguageSelect;
}

// The first-run setup dialog: the user picks the language, reads the usage
// instructions and the licence agreement, and accepts the agreement. Ok stores
// the language, the confirmation, its date and the user name; Cancel, or
// closing without acceptance, ends the application.
//
// The object also serves callers that never show it: ReadStoredLanguage and
// BuildAgreementText work on a merely constructed dialog.
class TFormLanguageSelect : public QDialog {
    Q_OBJECT

public:
    // Reads nothing from the settings and applies no text; ResetDialog does.
    TFormLanguageSelect(QWidget* owner, const QString& productName, const QString& keyPath);
    ~TFormLanguageSelect() override;

    // The stored language, 0 or 1; -1 when the key is missing or the stored
    // value is neither 0 nor 1.
    int ReadStoredLanguage();

    // Keeps a copy of the instruction lines for language 0 or 1; other
    // languages are ignored.
    void SetInstructions(int language, const QStringList& lines);

    // Prepares the dialog for showing: English, first page, no confirmation text.
    void ResetDialog();

    int GetSelectedLanguage() const;

    // Appends the licence agreement for language 0 or 1 to `lines`; nothing
    // for other languages or a null list. Reads only the product name.
    void BuildAgreementText(QStringList* lines, int language) const;

    // Where GetWindowsUserName gets the account name; nullptr restores the
    // system's. Lets tests make the name unavailable or the lookup throw.
    using UserNameSource = std::optional<QString> (*)();
    static void SetUserNameSource(UserNameSource source);

    // Every way the dialog closes comes through here (Ok, Cancel, the close
    // box, the application quitting), so FormClose runs on each of them.
    void done(int result) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void SetupComponents();
    void ConnectEvents();
    void ApplyLanguage();
    QString GetWindowsUserName();

    void cmdOkClick();
    void cmdCancelClick();
    void cmdEnglishClick();
    void cmdGermanClick();
    void CheckBox1Click();
    void PageControl1Change(int index);
    void FormClose();

    std::unique_ptr<Ui::FormLanguageSelect> Form;
    QString KeyPath;
    QString ProductName;
    qint32 SelectedLanguage = 0;
    TRegistryWrapper Registry;
    QStringList InstructionsEnglish;
    QStringList InstructionsGerman;
};
