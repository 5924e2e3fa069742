#pragma once

#include <QString>

#include <optional>
#include <string>

namespace platform {

// Why the temporary directory must be neither listed nor cleared, or nothing
// when it may be: a temporary directory that is the root directory, the user's
// home directory or one of its ancestors would offer all of the user's files
// for deletion. Directories are compared by device and inode, links resolved;
// the home directory is taken both from $HOME and from the password database.
std::optional<QString> TempDirectoryRefusal(const std::string& tempDirectory);

}  // namespace platform
