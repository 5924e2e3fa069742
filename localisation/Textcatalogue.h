#pragma once

#include <QString>

// The user-interface texts of the main window and the configuration dialog,
// English (language 0) and German (language 1).
namespace TextCatalogue {

// Number of keys in the catalogue.
constexpr int EntryCount = 31;

// The text for `key` in `language`; the key itself when the language is
// neither 0 nor 1 or when no entry has exactly that key.
QString Lookup(const QString& key, int language);

// The key of entry `index` (0-based, catalogue order), for tests and tools.
QString KeyAt(int index);

}  // namespace TextCatalogue
