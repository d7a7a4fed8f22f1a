#include "query/engine/Clipboard.h"

#include "core/SqlText.h"

namespace query::engine {

QStringList clipboardLines(const QStringList& lines) {
  QStringList doubled;
  doubled.reserve(lines.size());
  for (const QString& line : lines) doubled.append(core::sqlValue(line));
  return doubled;
}

}  // namespace query::engine
