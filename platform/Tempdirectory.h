#pragma once

#include <string>

namespace platform {

// $TMPDIR when it is an absolute path to an existing directory, else "/tmp";
// always ending in '/'.
std::string TemporaryDirectory();

}  // namespace platform
