#pragma once

#include <QString>
#include <QStringList>
#include <vector>

class TTabXForm;

// The per-window temporary table in the main database through which the
// decoded reprint hands its rows, in pages of 16, to the sibling print
// library: TMP_ST_USER<user>_<generator value>.
namespace labels {

struct ReprintRow {
  QString barcode;
  QString codice;
  QString descrizione;
  QString modello;
  QString variante;
  QString taglia;
};

class ReprintPrintTable {
 public:
  static constexpr int kRowsPerPage = 16;

  // Takes the next value of VOPRACOUNTER for the name. All statements run on
  // the environment's main connection, each in a short transaction of its
  // own: the window's snapshot may be older than the table.
  explicit ReprintPrintTable(TTabXForm& ambiente);

  const QString& name() const { return name_; }
  static QString namePrefix(int user);
  static QString nameFor(int user, qint64 counter);
  static QStringList createStatement(const QString& name);
  // "INSERT INTO ..." for one row at a page position; text values quoted,
  // the descriptive ones with the acute accent for apostrophes.
  static QStringList insertStatement(const QString& name, int page, int row,
                                     const ReprintRow& values);

  // Drops the table when it exists; false (after the message) when it cannot.
  bool drop();
  // Creates the table; false (after the message, the statement saved to
  // "Errore.sql" in the bin directory) when it cannot. The table records the
  // connection that made it, so that one left behind by a window that ended
  // without closing can be told from one of a window still open.
  bool create();
  // Empties the table and writes the rows from `first` to the end, 16 to a
  // page. Commits only when every row went in; otherwise nothing stays.
  bool fill(const std::vector<ReprintRow>& rows, std::size_t first);

  // Drops the tables of this user whose connection no longer exists.
  // Returns the names dropped.
  static QStringList dropLeftovers(TTabXForm& ambiente);

 private:
  TTabXForm& ambiente_;
  QString name_;
};

}  // namespace labels
