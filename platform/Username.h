#pragma once

#include <QString>

#include <optional>

// The login name of the account the program runs as (the effective user id),
// or nothing when the system cannot tell it.
std::optional<QString> CurrentUserName();
