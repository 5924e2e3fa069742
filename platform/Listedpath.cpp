#include "platform/Listedpath.h"

namespace platform {

bool IsPlainName(std::string_view component) {
    return !component.empty() && component != "." && component != ".."
        && component.find_first_of(std::string_view("/\0", 2)) == std::string_view::npos;
}

static bool AllPlainNames(std::string_view relative) {
    std::size_t start = 0;
    for (;;) {
        const std::size_t slash = relative.find('/', start);
        if (!IsPlainName(relative.substr(start, slash - start)))
            return false;
        if (slash == std::string_view::npos)
            return true;
        start = slash + 1;
    }
}

std::optional<ListedPath> SplitListedPath(std::string_view tempDirectory, std::string_view path) {
    if (tempDirectory.empty() || tempDirectory.back() != '/' || !path.starts_with(tempDirectory))
        return std::nullopt;
    const std::string_view relative = path.substr(tempDirectory.size());
    if (relative.empty())
        return ListedPath{};
    if (!AllPlainNames(relative))
        return std::nullopt;
    const std::size_t slash = relative.rfind('/');
    if (slash == std::string_view::npos)
        return ListedPath{{}, relative};
    return ListedPath{relative.substr(0, slash), relative.substr(slash + 1)};
}

}  // namespace platform
