#pragma once

#include <QDialog>
#include <QHash>
#include <QStringList>

#include "platform/reports/ListExpression.h"
#include "platform/reports/ListLayout.h"

class QComboBox;
class QLabel;
class QTableWidget;

namespace platform::reports {

// The layout editor of a list project: the columns with their titles and
// widths, the list's font and the page orientation, with a preview of the
// first page printed with the values the caller defined; "Salva" writes the
// project back (whole or not at all).
class ListLayoutEditor : public QDialog {
  Q_OBJECT

 public:
  ListLayoutEditor(QWidget* parent, const QString& title, QString nativePath, QStringList lines,
                   QHash<QString, ListValue> variables, QHash<QString, ListValue> fields);

  const ListLayout& layout() const { return layout_; }
  const QStringList& lines() const { return lines_; }
  int columnCount() const;
  // The edits, as the controls make them.
  void setColumnWidth(int column, double millimetres);
  void setColumnTitle(int column, const QString& title);
  void setLandscape(bool landscape);
  void setListFont(const ListFont& font);
  // Writes the project; false with a message when it cannot.
  bool save();
  // The first page as the preview shows it.
  QImage previewImage(int width) const;

 private:
  void reparse();
  void fillTable();
  void refreshPreview();
  void chooseFont();
  // The header line's columns, else the first data line's.
  const QList<ListColumn>* titleColumns() const;

  QString path_;
  QStringList lines_;
  ListLayout layout_;
  QHash<QString, ListValue> variables_;
  QHash<QString, ListValue> fields_;
  QTableWidget* table_;
  QComboBox* orientation_;
  QLabel* preview_;
  bool filling_ = false;
};

// Opens the editor on a project file. False with `error` set when the
// project cannot be read.
bool editListLayout(QWidget* parent, const QString& title, const QString& nativePath,
                    const QHash<QString, ListValue>& variables,
                    const QHash<QString, ListValue>& fields, QString& error);

}  // namespace platform::reports
