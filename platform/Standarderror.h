#pragma once

#include <QString>

// Writes the text and a line end to standard error at once, in UTF-8.
void WriteLineToStandardError(const QString& text);
