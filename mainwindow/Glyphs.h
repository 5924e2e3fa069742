#pragma once

#include <QIcon>
#include <QPixmap>

// The configure button's 16 x 16 glyph: a white spanner on a blue square.
QPixmap ConfigureGlyph();

// The program's icon: the same picture, drawn at every size.
QIcon ProgramIcon();
