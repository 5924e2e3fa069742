#pragma once

#include <QString>

#include <stdexcept>

// Raised by the registry accessor when a value cannot be read or written. Its
// message names the value and is German whatever the interface language.
class ERegistryException : public std::runtime_error {
public:
    explicit ERegistryException(const QString& message)
        : std::runtime_error(message.toStdString()), Text(message) {}

    const QString& Message() const { return Text; }

private:
    QString Text;
};
