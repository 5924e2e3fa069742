#pragma once

#include <sys/types.h>

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace platform {

// The socket files that Unix sockets of this network namespace listen on, as
// the kernel's socket diagnostics report them: by the device and inode of the
// file, however the socket was bound (by a relative name, by a name holding a
// line break) and whatever became of that name. The kernel reports only the
// low 32 bits of the inode. Nothing when the interface is not available.
std::optional<std::vector<std::pair<dev_t, std::uint32_t>>> ListeningSocketFiles();

}  // namespace platform
