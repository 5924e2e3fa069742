#pragma once

#include <QString>

// Texts that identify the program, fixed for the whole run.
inline const QString ProgramName = QStringLiteral("Vellimor");
inline const QString ProgramVersion = QStringLiteral("1.0");
inline const QString ProgramCopyright = QStringLiteral("Copyright (C) 2026 The Vellimor developers");
inline const QString RegistryKeyPath = QStringLiteral("\\Software\\Vellimor");
