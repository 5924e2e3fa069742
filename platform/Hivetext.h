#pragma once

#include "platform/Hive.h"

#include <QByteArray>

#include <optional>

// The hive as a person can read and edit it: the registry's own export format.
//
//   REGEDIT4
//
//   [HKEY_CURRENT_USER\Software\Vellimor]
//   "AutoClear"=dword:00000001
//   "ConfirmedUser"="text with \\ and \" escaped"
//   "ConfirmedDate"=hex:00,00,00,00,00,00,f0,3f
//
// UTF-8, one empty line before each key, values in the order they were first
// written, "@" for a key's default value.
namespace HiveText {

// The hive in `bytes`, or nothing when they are not exactly this format.
// Line ends of CR LF, a missing final line end and a leading UTF-8 byte-order
// mark are accepted; they are the only things that Write does not give back
// byte for byte.
std::optional<Hive> Read(const QByteArray& bytes);

QByteArray Write(const Hive& hive);

// Whether a key or value name, or a text, can be written in this format: it
// must not hold a line break or a zero character.
bool Representable(const QString& text);

}  // namespace HiveText
