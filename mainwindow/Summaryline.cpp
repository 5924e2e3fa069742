#include "mainwindow/Summaryline.h"

#include <QLocale>

#include <cmath>

QString FormatMegabytes(double megabytes) {
    QString text;
    if (std::fabs(megabytes) >= 1e8)
        text = QString::number(megabytes, 'E', 7);
    else if (std::fabs(megabytes) >= 1e7)  // eight digits before the point: no room for a decimal
        text = QString::number(std::round(megabytes), 'f', 1);
    else
        text = QString::number(megabytes, 'f', 1);
    // Regional settings come from LC_ALL, LC_NUMERIC or LANG; "." where none is set.
    return text.replace(QLatin1Char('.'), QLocale::system().decimalPoint());
}

QString SummaryLine(const QString& filesWord, qint32 fileCount, double megabytes) {
    return filesWord + QLatin1Char(' ') + QString::number(fileCount) + QStringLiteral(" (") +
           FormatMegabytes(megabytes) + QStringLiteral(" MB)");
}
