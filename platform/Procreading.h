#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace platform {

// Pieces of /proc's text formats, kept apart so they can be tested on their own.

// The whole of a (pseudo) file opened below `directoryFd`; nothing if unreadable.
std::optional<std::string> ReadProcFile(int directoryFd, const char* name);

// Device and inode of the file a /proc/<pid>/maps line maps; nothing for
// anonymous mappings (inode 0) and lines that do not parse.
std::optional<std::pair<dev_t, ino_t>> MappedFile(std::string_view mapsLine);

// The bound path of a /proc/net/unix line whose socket is listening; nothing
// for other sockets and for unbound, abstract or relative addresses.
std::optional<std::string_view> ListeningSocketPath(std::string_view unixLine);

}  // namespace platform
