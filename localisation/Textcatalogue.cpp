#include "localisation/Textcatalogue.h"

#include <array>

namespace {

struct Entry {
    const char* key;
    const char* english;
    const char* german;  // UTF-8
};

// Catalogue order; keys are unique, so the first exact match is the only one.
constexpr std::array<Entry, TextCatalogue::EntryCount> kEntries{{
    {"Instructions_L1",
     "This program is freeware. Use it at your own risk!",
     "Dieses Programm ist Freeware. Benutzen Sie es auf eigene Gefahr!"},
    {"Instructions_L2",
     "Usage instructions:",
     "Anleitung:"},
    {"Instructions_L3",
     "The program will clear temporary files that windows keeps in various directories (files that are currently being used cannot be deleted). Check the listing of the files first before actually starting the delete process!",
     "Das Programm löscht temporäre Dateien, die Windows in verschiedenen Verzeichnissen behält (Dateien, die in Verwendung sind, können nicht gelöscht werden.). Prüfen Sie die Auflistung der Dateien, bevor Sie den Löschprozess starten!"},
    {"Instructions_L4",
     "This information and the EULA won't appear again, once you have confirmed it.",
     "Diese Informationen und die Lizenzbestimmungen werden nicht mehr erscheinen, sobald Sie sie bestätigt haben."},
    {"cmdConfigure|Hint",
     "Configure",
     "Einstellungen"},
    {"Label1",
     "Temporary files",
     "Temporäre Dateien"},
    {"msg1",
     "Deleting files in:",
     "Dateien werden gelöscht in:"},
    {"msg2",
     "Deleted:",
     "Gelöscht:"},
    {"msg3",
     "files",
     "Dateien"},
    {"msg4",
     "directories",
     "Verzeichnisse"},
    {"msg5",
     "Files:",
     "Dateien:"},
    {"second",
     "second",
     "Sekunde"},
    {"seconds",
     "seconds",
     "Sekunden"},
    {"cmdClear",
     "Delete files",
     "Dateien löschen"},
    {"cmdClear2",
     "Stop countdown",
     "Countdown stoppen"},
    {"Configuration|Label9",
     "Automatic mode",
     "Automatik-Modus"},
    {"Configuration|Label13",
     "After the program has started, wait 5 seconds, then delete the listed files and quit the program.",
     "Nach Programmstart 5 Sekunden warten, dann die aufgelisteten Dateien löschen und das Programm beenden."},
    {"Configuration|Label8",
     "Program language",
     "Programmsprache"},
    {"Configuration|RadioButton1",
     "English",
     "Englisch"},
    {"Configuration|RadioButton2",
     "German",
     "Deutsch"},
    {"Configuration|Label10",
     "Registry",
     "Registrierung"},
    {"Configuration|cmdClean",
     "Clean",
     "Säubern"},
    {"Configuration|Label1",
     "Deletes registry keys, that this program has created. (Run separately for each windows user account.)",
     "Entfernt Registrierungsschlüssel, die dieses Programm angelegt hat. (Pro Windows Benutzeraccount auszuführen.)"},
    {"Configuration|Caption",
     "Configuration",
     "Konfiguration"},
    {"Configuration|TabSheet1",
     "Settings",
     "Einstellungen"},
    {"Configuration|TabSheet2",
     "About",
     "Über"},
    {"Configuration|CreatedBy",
     "Created by",
     "Erstellt von"},
    {"Configuration|Homepage",
     "Visit my homepage to find information about my other programs.",
     "Besuchen Sie meine Homepage für Informationen zu meinen anderen Programmen."},
    {"Configuration|restoringSettings",
     "The default settings will be applied now.",
     "Die Standardeinstellungen werden nun wiederhergestellt."},
    {"Configuration|Label11",
     "Deleted files:",
     "Gelöschte Dateien:"},
    {"Configuration|Label12",
     "Deleted directories:",
     "Gelöschte Verzeichnisse:"},
}};

}  // namespace

namespace TextCatalogue {

QString Lookup(const QString& key, int language) {
    if (language != 0 && language != 1) return key;
    for (const Entry& entry : kEntries) {
        if (key == QLatin1String(entry.key))
            return QString::fromUtf8(language == 0 ? entry.english : entry.german);
    }
    return key;
}

QString KeyAt(int index) {
    return QString::fromLatin1(kEntries.at(static_cast<std::size_t>(index)).key);
}

}  // namespace TextCatalogue
