#pragma once

#include "platform/Hive.h"

#include <QString>

#include <functional>
#include <optional>

// The current user's hive, kept in one file per user:
// $XDG_CONFIG_HOME/vellimor/user.reg, or ~/.config/vellimor/user.reg when
// XDG_CONFIG_HOME is unset or not absolute. A hive file that cannot be read
// or does not parse is refused and never overwritten.
namespace HiveFile {

QString Location();

// The lock file beside the hive that every change holds.
QString LockLocation();

// The hive as it is now: empty when there is no file yet; nothing when the
// file cannot be read (not a regular file, a broken link, ...) or does not
// parse. Takes no lock: replacements are atomic.
std::optional<Hive> Load();

enum class UpdateResult {
    Done,         // changed and written, or nothing to write
    Declined,     // `change` left the hive as it was
    Unavailable,  // the directory cannot be made, the hive cannot be read or parsed
    WriteFailed,  // the new hive could not be written; the old one stays
};

// A read-modify-write under an exclusive lock beside the hive, so that two
// running copies never lose each other's changes. `change` edits the hive and
// returns false to leave it as it was. The file is only written when its text
// changes.
UpdateResult Update(const std::function<bool(Hive&)>& change);

}  // namespace HiveFile
