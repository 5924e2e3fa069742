#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <sys/types.h>

// Whole-file reads and replacements that never leave a torn file behind.
namespace AtomicFile {

struct Contents {
    QByteArray Bytes;
    mode_t Mode = 0600;
};

// The contents of the regular file at `path`, opened without waiting (a FIFO
// or device is refused, never read); nothing when it cannot be read or is
// larger than `maximumSize`.
std::optional<Contents> Read(const QString& path, qint64 maximumSize);

// Writes `bytes` to "<path>.tmp" in the same directory, flushes it to disk,
// renames it over `path` and flushes the directory, so a crash at any moment
// leaves either the old or the new file. The new file gets `mode`. On failure
// `path` is untouched and the temporary file is removed.
bool Replace(const QString& path, const QByteArray& bytes, mode_t mode);

}  // namespace AtomicFile
