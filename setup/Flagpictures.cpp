#include "setup/Flagpictures.h"

#include <QImage>
#include <QPainter>

namespace {

constexpr int FlagWidth = 16;
constexpr int FlagHeight = 11;

QImage BlankFlag(const QColor& background) {
    QImage image(FlagWidth, FlagHeight, QImage::Format_RGB32);
    image.fill(background);
    return image;
}

// The saltires of the Union Flag: broad white diagonals with narrow red ones on top.
void DrawSaltires(QPainter& painter) {
    const QLine falling(0, 0, FlagWidth - 1, FlagHeight - 1);
    const QLine rising(0, FlagHeight - 1, FlagWidth - 1, 0);
    painter.setPen(QPen(Qt::white, 3));
    painter.drawLine(falling);
    painter.drawLine(rising);
    painter.setPen(QPen(QColor(0xC8, 0x10, 0x2E), 1));
    painter.drawLine(falling);
    painter.drawLine(rising);
}

// The upright cross: white, with the red cross of St George inside it.
void DrawCross(QPainter& painter) {
    painter.fillRect(0, 4, FlagWidth, 3, Qt::white);
    painter.fillRect(6, 0, 4, FlagHeight, Qt::white);
    painter.fillRect(0, 5, FlagWidth, 1, QColor(0xC8, 0x10, 0x2E));
    painter.fillRect(7, 0, 2, FlagHeight, QColor(0xC8, 0x10, 0x2E));
}

}  // namespace

QPixmap UnitedKingdomFlag() {
    QImage image = BlankFlag(QColor(0x01, 0x21, 0x69));
    QPainter painter(&image);
    DrawSaltires(painter);
    DrawCross(painter);
    painter.end();
    return QPixmap::fromImage(image);
}

QPixmap GermanyFlag() {
    QImage image = BlankFlag(QColor(0xFF, 0xCE, 0x00));
    QPainter painter(&image);
    painter.fillRect(0, 0, FlagWidth, 4, Qt::black);
    painter.fillRect(0, 4, FlagWidth, 4, QColor(0xDD, 0x00, 0x00));
    painter.end();
    return QPixmap::fromImage(image);
}
