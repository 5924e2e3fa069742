#include "platform/Procreading.h"

#include <algorithm>
#include <charconv>
#include <fcntl.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace platform {

namespace {

// Takes the next blank-separated token off the front of `text`.
std::string_view NextToken(std::string_view& text) {
    const std::size_t start = text.find_first_not_of(' ');
    if (start == std::string_view::npos) {
        text = {};
        return {};
    }
    text.remove_prefix(start);
    const std::size_t end = std::min(text.find(' '), text.size());
    const std::string_view token = text.substr(0, end);
    text.remove_prefix(end);
    return token;
}

template <typename Number>
std::optional<Number> ParseNumber(std::string_view text, int base) {
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

}  // namespace

std::optional<std::string> ReadProcFile(int directoryFd, const char* name) {
    const int fd = openat(directoryFd, name, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    std::string text;
    char buffer[16384];
    ssize_t got;
    while ((got = read(fd, buffer, sizeof buffer)) > 0)
        text.append(buffer, static_cast<std::size_t>(got));
    close(fd);
    if (got < 0)
        return std::nullopt;
    return text;
}

std::optional<std::pair<dev_t, ino_t>> MappedFile(std::string_view mapsLine) {
    for (int skipped = 0; skipped < 3; ++skipped)  // address range, permissions, offset
        NextToken(mapsLine);
    const std::string_view device = NextToken(mapsLine);
    const std::size_t colon = device.find(':');
    if (colon == std::string_view::npos)
        return std::nullopt;
    const auto major = ParseNumber<unsigned>(device.substr(0, colon), 16);
    const auto minor = ParseNumber<unsigned>(device.substr(colon + 1), 16);
    const auto inode = ParseNumber<unsigned long long>(NextToken(mapsLine), 10);
    if (!major || !minor || !inode || *inode == 0)
        return std::nullopt;
    return std::pair<dev_t, ino_t>{makedev(*major, *minor), static_cast<ino_t>(*inode)};
}

std::optional<std::string_view> ListeningSocketPath(std::string_view unixLine) {
    constexpr unsigned long acceptingConnections = 0x10000;  // __SO_ACCEPTCON
    NextToken(unixLine);  // kernel address
    NextToken(unixLine);  // reference count
    NextToken(unixLine);  // protocol
    const auto flags = ParseNumber<unsigned long>(NextToken(unixLine), 16);
    for (int skipped = 0; skipped < 3; ++skipped)  // type, state, inode
        NextToken(unixLine);
    if (!flags || !(*flags & acceptingConnections) || unixLine.size() < 2 || unixLine[0] != ' ')
        return std::nullopt;
    const std::string_view path = unixLine.substr(1);
    if (path.front() != '/')  // abstract (no file on disk) or relative (to an unknown directory)
        return std::nullopt;
    return path;
}

}  // namespace platform
