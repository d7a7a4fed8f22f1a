#include "grid/ColorCode.h"

#include <limits>

namespace grid {

bool isSystemColor(qint64 code) {
  return (code & 0xFF000000LL) == 0x80000000LL;
}

QColor colorFromCode(qint64 code, const QPalette& palette) {
  if (isSystemColor(code)) {
    switch (code & 0xFF) {
      case 1:   // desktop background
      case 13:  // highlight
        return palette.color(QPalette::Active, QPalette::Highlight);
      case 5:  // window background
        return palette.color(QPalette::Base);
      case 8:  // window text
        return palette.color(QPalette::Text);
      case 14:  // highlighted text
        return palette.color(QPalette::HighlightedText);
      case 24:  // info background
        return palette.color(QPalette::ToolTipBase);
      default:  // button face and the rest
        return palette.color(QPalette::Button);
    }
  }
  return QColor(static_cast<int>(code & 0xFF), static_cast<int>((code >> 8) & 0xFF),
                static_cast<int>((code >> 16) & 0xFF));
}

qint64 codeFromColor(const QColor& color) {
  return static_cast<qint64>(color.red()) | (static_cast<qint64>(color.green()) << 8) |
         (static_cast<qint64>(color.blue()) << 16);
}

qint32 storedColor(qint64 code) {
  return static_cast<qint32>(static_cast<quint32>(code & 0xFFFFFFFFLL));
}

qint64 colorFromStored(qint64 stored) {
  if (stored < 0 && stored >= std::numeric_limits<qint32>::min()) return stored & 0xFFFFFFFFLL;
  return stored;
}

}  // namespace grid
