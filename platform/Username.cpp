#include "platform/Username.h"

#include <cerrno>
#include <pwd.h>
#include <unistd.h>

#include <vector>

namespace {

std::size_t InitialBufferSize() {
    const long suggested = sysconf(_SC_GETPW_R_SIZE_MAX);
    return suggested > 0 ? static_cast<std::size_t>(suggested) : 1024;
}

}  // namespace

std::optional<QString> CurrentUserName() {
    constexpr std::size_t MaximumBufferSize = 1 << 20;
    std::vector<char> buffer(InitialBufferSize());
    passwd entry{};
    passwd* found = nullptr;
    int error = 0;
    // The entry's strings live in the buffer; grow it while the system asks for more.
    while ((error = getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found)) == ERANGE
           && buffer.size() < MaximumBufferSize)
        buffer.resize(buffer.size() * 2);
    if (error != 0 || found == nullptr || entry.pw_name == nullptr || entry.pw_name[0] == '\0')
        return std::nullopt;
    return QString::fromLocal8Bit(entry.pw_name);
}
