#include "platform/Standarderror.h"

#include <cstdio>

void WriteLineToStandardError(const QString& text) {
    const QByteArray line = text.toUtf8() + '\n';
    std::fwrite(line.constData(), 1, line.size(), stderr);
    std::fflush(stderr);
}
