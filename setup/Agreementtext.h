#pragma once

#include <QString>
#include <QStringList>

// The program's licence agreement, one paragraph per line, with empty lines
// between paragraphs; the product name is set in at fixed places.
namespace AgreementText {

// The 16 English lines.
QStringList English(const QString& productName);

// The 17 German lines.
QStringList German(const QString& productName);

}  // namespace AgreementText
