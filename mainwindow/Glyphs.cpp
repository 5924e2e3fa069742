#include "mainwindow/Glyphs.h"

#include <QPainter>
#include <QPainterPath>

namespace {

// Drawn on a 16 x 16 grid and scaled, so every size shows the same spanner.
QPixmap DrawSpanner(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 16.0, size / 16.0);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x1f, 0x5f, 0xbf));
    painter.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 2, 2);  // the corners stay transparent

    painter.setBrush(Qt::white);
    painter.translate(8, 8);
    painter.rotate(-45);
    painter.drawRoundedRect(QRectF(-1.2, -1.0, 2.4, 7.0), 1.0, 1.0);  // handle
    QPainterPath head;
    head.addEllipse(QPointF(0, -3.2), 3.2, 3.2);
    QPainterPath jaw;
    jaw.addRect(QRectF(-1.1, -7.0, 2.2, 3.6));  // the open mouth of the spanner
    painter.drawPath(head.subtracted(jaw));
    return pixmap;
}

}  // namespace

QPixmap ConfigureGlyph() {
    return DrawSpanner(16);
}

QIcon ProgramIcon() {
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256}) icon.addPixmap(DrawSpanner(size));
    return icon;
}
