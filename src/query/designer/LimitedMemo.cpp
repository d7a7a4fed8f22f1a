#include "query/designer/LimitedMemo.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QTextCursor>

namespace query::designer {

LimitedMemo::LimitedMemo(int maxLength, QWidget* parent)
    : QPlainTextEdit(parent), maxLength_(maxLength) {}

int LimitedMemo::room() const {
  const QTextCursor cursor = textCursor();
  const int selected = cursor.selectionEnd() - cursor.selectionStart();
  return maxLength_ - (static_cast<int>(toPlainText().size()) - selected);
}

void LimitedMemo::keyPressEvent(QKeyEvent* event) {
  // Enter adds a line break, one character like any other typed one.
  const bool addsText = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ||
                        (!event->text().isEmpty() && event->text().at(0).isPrint());
  if (addsText && room() < 1) {
    event->accept();
    return;
  }
  QPlainTextEdit::keyPressEvent(event);
}

void LimitedMemo::insertFromMimeData(const QMimeData* source) {
  if (!source->hasText()) return;
  const int fits = std::max(0, room());
  insertPlainText(source->text().left(fits));
}

}  // namespace query::designer
