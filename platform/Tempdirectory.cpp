#include "platform/Tempdirectory.h"

#include <sys/stat.h>

#include <cstdlib>

namespace platform {

std::string TemporaryDirectory() {
    std::string directory = "/tmp";
    if (const char* value = std::getenv("TMPDIR"); value && value[0] == '/') {
        struct stat st;
        if (stat(value, &st) == 0 && S_ISDIR(st.st_mode)) directory = value;
    }
    if (directory.back() != '/') directory.push_back('/');
    return directory;
}

}  // namespace platform
