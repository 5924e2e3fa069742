#pragma once

#include <QString>

// A megabyte total as the summary line shows it: fixed-point with one decimal,
// at most eight significant digits (scientific notation from 10^8 on), with
// the decimal separator of the user's regional settings.
QString FormatMegabytes(double megabytes);

// "<files-word> <count> (<megabytes> MB)", e.g. "Files: 12 (3.4 MB)".
QString SummaryLine(const QString& filesWord, qint32 fileCount, double megabytes);
