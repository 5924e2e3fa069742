#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

#include <memory>

class QAbstractButton;
class QEvent;
class QShowEvent;
class QUrl;

namespace Ui {
class FormConfiguration;
}

// The configuration dialog: automatic mode, the language of both windows,
// removal of the stored settings, the deletion totals, and an About page.
// Every change is stored and applied at once; the dialog has no OK or Cancel.
// It works on the main window through the global FormMain, not through its
// owner.
class TFormConfiguration : public QDialog {
    Q_OBJECT

public:
    explicit TFormConfiguration(QWidget* owner);
    ~TFormConfiguration() override;

    // Every text for FormMain's language, the totals read afresh, the About memo refilled.
    void ApplyLanguage();

    void Label3MouseUp();
    void cmdCleanClick();
    void CheckBox1Click();
    void RadioButton1Click();
    void RadioButton2Click();
    void Label13Click();

    // The home page: the documentation installed with the program.
    static QString HomepageAddress();

    // Hands an address to the desktop's default handler. nullptr restores
    // QDesktopServices::openUrl; tests install their own so that no browser starts.
    using HomepageOpener = bool (*)(const QUrl& address);
    static void SetHomepageOpener(HomepageOpener opener);

    // Components, named as on the form.
    Ui::FormConfiguration& Components() { return *Form; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    using Handler = void (TFormConfiguration::*)();

    void SetupComponents();
    void ConnectEvents();
    void RunOnUserChange(QAbstractButton* button, Handler handler);
    void SetChecked(QAbstractButton* button, bool checked, Handler handler);
    void SwitchLanguage(qint32 language);
    void Label13MouseEvent(const QEvent* event);
    QString TotalLine(const char* key, const char* valueName) const;
    QStringList AboutLines();

    std::unique_ptr<Ui::FormConfiguration> Form;
    bool Label13Pressed = false;
};
