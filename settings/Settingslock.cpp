#include "settings/Settingslock.h"

#include "platform/Filelock.h"
#include "platform/Hivefile.h"

SettingsLock::SettingsLock() : Lock(std::make_unique<FileLock>(HiveFile::LockLocation())) {}

SettingsLock::~SettingsLock() = default;
