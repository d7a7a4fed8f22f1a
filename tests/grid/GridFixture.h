#pragma once

#include <QStringList>
#include <memory>
#include <vector>

#include "db/Query.h"
#include "db/Transaction.h"
#include "grid/QuovGrid.h"
#include "grid/StoredLayout.h"
#include "support/FirebirdFixture.h"
#include "support/ScriptedUi.h"

// A statement's lines with more lines after them.
inline QStringList with(QStringList lines, const QStringList& more) {
  return lines << more;
}

// A host window's use of the grid, as the label window makes it: a query in
// a concurrency/nowait transaction whose before-open handler sets the
// statement, copies it into SQLIniziale and lets the grid re-append its
// search; whose before-close handler saves the layout unless a search is
// running or the layout is being reset. Records every statement the query
// opened with (seen from the host's after-open handler, which the grid calls
// first).
class GridHost {
 public:
  GridHost(db::Database& database, QStringList statement, const QString& baseTable, int user = 7);

  void open() { query.open(); }
  const QStringList& lastOpened() const { return opened.back(); }
  // Column index of a field, -1 when the grid has no such column.
  int column(const QString& field) const;
  // Double-clicks a column title with the mouse.
  void doubleClickTitle(const QString& field, Qt::KeyboardModifiers modifiers = {});

  QStringList statement;
  db::Transaction transaction;
  db::Query query;
  TQuovGrid grid;
  std::vector<QStringList> opened;
  int searching = 0;  // the label window's tag: 1 between search start and end
  int saves = 0;      // layout saves made by the host's before-close handler
};

// An embedded database with the host's tables, 30 labels (ETICHETTE) and a
// table of movements (MOVIMENTI: text, number, date and blob columns), a
// statement observer and the scripted prompter.
class GridTest : public FirebirdTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Runs a statement in a transaction of its own.
  void run(const QString& statement);
  // The stored layout rows of the test grid (situation 1, user 7, project 123).
  std::vector<grid::LayoutRow> storedRows(int user = 7);
  // The statements run since the last call whose first line starts with `start`.
  std::vector<QStringList> takeStatements(const QString& start);

  static const QStringList kEtichette;  // "SELECT * FROM ETICHETTE WHERE IDLANCIOSTAMPA IS NULL"
  std::unique_ptr<db::Database> database_;
  std::vector<QStringList> statements_;
  ScriptedPrompter prompter_;
  std::unique_ptr<ScopedPrompter> scoped_;
};
