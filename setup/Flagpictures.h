#pragma once

#include <QPixmap>

// The 16 × 11 pictures on the language buttons, drawn by the program itself.
QPixmap UnitedKingdomFlag();
QPixmap GermanyFlag();
