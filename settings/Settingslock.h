#pragma once

#include <memory>

class FileLock;

// While one lives, no other running copy of the program changes the stored
// settings, so that reading a value and writing what is built on it are one
// step: two copies clearing at once both add to the totals.
class SettingsLock {
public:
    SettingsLock();
    ~SettingsLock();
    SettingsLock(const SettingsLock&) = delete;
    SettingsLock& operator=(const SettingsLock&) = delete;

private:
    std::unique_ptr<FileLock> Lock;
};
