#include "setup/Setuptexts.h"

using namespace Qt::Literals::StringLiterals;

namespace {

const SetupTexts English{
    u"Setup application: "_s, u"&Ok"_s, u"&Cancel"_s, u"Select language"_s,
    u"EULA"_s, u"Usage instructions"_s, u"Accept EULA"_s,
};

const SetupTexts German{
    u"Anwendung einrichten: "_s, u"&Ok"_s, u"&Abbrechen"_s, u"Sprache wählen"_s,
    u"EULA"_s, u"Bedienungshinweise"_s, u"EULA akzeptieren"_s,
};

}  // namespace

const SetupTexts* SetupTextsFor(int language) {
    switch (language) {
    case 0: return &English;
    case 1: return &German;
    default: return nullptr;
    }
}

QStringList LanguagePrompt() {
    return {
        u"Select the program language by clicking the corrensponding button."_s,
        QString(),
        u"Wählen Sie die Programmsprache durch einen Klick auf die entsprechende Schaltfläche."_s,
    };
}

QString EnglishSelectedNotice() { return u"You selected English as program language."_s; }

QString GermanSelectedNotice() { return u"Sie haben Deutsch als Programmsprache gewählt."_s; }
