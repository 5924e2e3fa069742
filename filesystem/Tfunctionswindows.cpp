#include "filesystem/Tfunctionswindows.h"

#include "platform/Tempdirectory.h"

std::string TFunctionsWindows::GetTempDirectory() const {
    return platform::TemporaryDirectory();
}
