// A list project of any content, read as the list engine reads it; each of
// its expressions compiled and evaluated with no names defined.
#include <cstddef>
#include <cstdint>

#include "platform/reports/ListExpression.h"
#include "platform/reports/ListLayoutFile.h"

namespace {

void evaluate(const QString& text) {
  platform::reports::ListExpression expression;
  QString error;
  if (!expression.compile(text, error)) return;
  const platform::reports::ListScope scope{[](const QString&) { return nullptr; }, 1};
  (void)expression.evaluate(scope).toText();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  platform::reports::ListLayout layout;
  QString error;
  if (platform::reports::parseListLayout(bytes, layout, error)) {
    for (const auto* lines : {&layout.table.lines, &layout.table.header, &layout.table.footer})
      for (const auto& line : *lines) {
        evaluate(line.condition);
        for (const auto& column : line.columns) evaluate(column.expression);
      }
    for (const auto& text : layout.texts)
      for (const QString& paragraph : text.expressions) evaluate(paragraph);
  }
  (void)platform::reports::formatWithMask(static_cast<double>(size) * -1.5,
                                          QString::fromLatin1(bytes.left(24)));
  return 0;
}
