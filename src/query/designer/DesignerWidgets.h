#pragma once

#include <QString>
#include <QStringList>

class QPushButton;
class QTableWidget;
class QWidget;

// Controls the designer's dialogs build alike.
namespace query::designer {

// A named button that Enter does not press unless it has the focus.
QPushButton* namedButton(const QString& name, const QString& text, QWidget* parent);

// A named read-only list of lines with the given column titles, one line
// selected at a time.
QTableWidget* linesTable(const QString& name, const QStringList& titles, QWidget* parent);

}  // namespace query::designer
