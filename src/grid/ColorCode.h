#pragma once

#include <QColor>
#include <QPalette>

// Colours as the stored layouts and settings keep them: colour integers
// 0x00BBGGRR, or a system colour 0x800000nn (nn the system colour index).
namespace grid {

constexpr qint64 kColoreDesktop = 0x80000001;        // system colour of the desktop background
constexpr qint64 kColoreFinestra = 0x80000005;       // system colour of window backgrounds
constexpr qint64 kGiallo = 0x0000FFFF;               // yellow
constexpr qint64 kRosso = 0x000000FF;                // red
constexpr qint64 kColoreSecondaChiave = 0x00B4B4F3;  // RGB 243, 180, 180
constexpr qint64 kColoreAltreChiavi = 0x0077A4FF;    // RGB 255, 164, 119

bool isSystemColor(qint64 code);
// The colour a code stands for; system colours come from the palette.
QColor colorFromCode(qint64 code, const QPalette& palette = QPalette());
// The colour integer of a colour.
qint64 codeFromColor(const QColor& color);

// Colour integers go to the database as signed 32-bit values, so that a
// host whose colour column is INTEGER can hold system colours (0x80000005
// is written -2147483643). Both that form and the unsigned one written
// before are read back as the unsigned colour integer.
qint32 storedColor(qint64 code);
qint64 colorFromStored(qint64 stored);

}  // namespace grid
