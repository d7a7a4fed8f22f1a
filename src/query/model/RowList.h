#pragma once

#include <QList>
#include <QObject>
#include <QStringList>
#include <QVariant>

#include "query/model/Row.h"

namespace query::model {

// The designer's row list (TabIntTmp): kept in Numero order, with the guards
// of the designer grid. The user may type only into Condizione, and only of
// field rows; rows are added, removed and restructured by program code, which
// does so inside an InternalChange scope. Outside such a scope every change
// but a field row's condition is refused without a message, the way the grid
// cancels it.
class RowList : public QObject {
  Q_OBJECT

 public:
  enum class Column { Numero, Nome, Mostra, Condizione };
  static constexpr int kColumnCount = 4;

  explicit RowList(QObject* parent = nullptr);

  int count() const { return rows_.size(); }
  const Row& at(int index) const { return rows_.at(index); }
  const QList<Row>& rows() const { return rows_; }
  static QVariant value(const Row& row, Column column);

  // Index of the first row whose Nome is `nome`, from `from` on; -1 when none.
  int indexOf(const QString& nome, int from = 0) const;
  // Numero a row appended now takes: the last row's + 1, or 1.
  int nextNumero() const;

  // True while program code changes the rows (an InternalChange is alive).
  bool internalChange() const { return internalDepth_ > 0; }
  // Numero, Nome and Mostra are read-only except inside an internal change.
  bool isReadOnly(Column column) const;
  // Whether `column` of row `index` may be changed now: the column is not
  // read-only and the row is a field row, or program code is changing rows.
  bool canEdit(int index, Column column) const;

  // The user's entry points, as the designer grid calls them: refused (false,
  // nothing changed) when a guard says no.
  bool setCondizione(int index, const QString& condizione);
  bool setValue(int index, Column column, const QVariant& value);
  // A row the user tries to add from the grid: refused outside an internal change.
  bool insertRow(const Row& row);

  // Program entry points, honoured only inside an InternalChange (false
  // otherwise). append() numbers the row last + 1.
  bool append(const QString& nome, int mostra, const QString& condizione = QString());
  bool remove(int index);
  bool setMostra(int index, int mostra);
  // The whole list at once (rebuilt field lists, a removed part), sorted on Numero.
  bool replaceAll(QList<Row> rows);

 signals:
  // For an item model over the list: each change is announced before and after.
  void rowsAboutToBeInserted(int first, int last);
  void rowsInserted(int first, int last);
  void rowsAboutToBeRemoved(int first, int last);
  void rowsRemoved(int first, int last);
  void rowChanged(int index);
  void aboutToReset();
  void reset();

 private:
  friend class InternalChange;
  void placeRow(const Row& row);

  QList<Row> rows_;
  int internalDepth_ = 0;
};

// Program code changing the rows: lifts the read-only marks and the guards on
// insertion and on structural rows for its lifetime (scopes nest), and sets
// them back however the change ends. The designer holds one around its own
// changes and while a dialog that edits the rows is open.
class InternalChange {
 public:
  explicit InternalChange(RowList& rows) : rows_(rows) { ++rows_.internalDepth_; }
  ~InternalChange() { --rows_.internalDepth_; }
  InternalChange(const InternalChange&) = delete;
  InternalChange& operator=(const InternalChange&) = delete;

 private:
  RowList& rows_;
};

// Fills the list for a base table: one shown row per field, in the order of
// the field definitions, Numero 1 to n, conditions empty. What the list held
// before is replaced.
void RiempiTabIntTmp(RowList& TabIntTmp, const QStringList& fieldNames);

}  // namespace query::model
