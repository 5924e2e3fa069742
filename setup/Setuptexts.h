#pragma once

#include <QString>
#include <QStringList>

// The setup dialog's own texts in its two languages; it does not use the text
// catalogue, so that its language can differ from the main window's.
struct SetupTexts {
    QString CaptionPrefix;  // the product name follows it in the window caption
    QString Ok;
    QString Cancel;
    QString LanguagePage;
    QString AgreementPage;
    QString InstructionsPage;
    QString Acceptance;
};

// The texts for language 0 (English) or 1 (German); nullptr for any other.
const SetupTexts* SetupTextsFor(int language);

// The prompt on the language page, the same three lines in either language.
QStringList LanguagePrompt();

// The confirmation shown after a language button has been pressed.
QString EnglishSelectedNotice();
QString GermanSelectedNotice();
