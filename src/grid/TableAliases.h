#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

// The aliases a statement gives its tables ("FROM ETICHETTE E", "JOIN
// ACQUISIZIONI AS A"). The database reports a field's origin with the
// table's own name; once the statement aliases that table, only the alias
// may qualify its columns in conditions and orderings.
namespace grid {

class TableAliases {
 public:
  // Reads the tables named after FROM, JOIN or a comma of the FROM list.
  static TableAliases of(const QStringList& statement);

  // The alias of a table (ignoring case), empty when it has none; the
  // first one when the statement names the table more than once.
  QString aliasOf(const QString& table) const;
  // "TABLE.FIELD" as the statement must write it: "ALIAS.FIELD" when the
  // table is aliased; any other expression unchanged.
  QString qualify(const QString& expression) const;

 private:
  QHash<QString, QString> aliases_;  // upper-case table name -> alias
};

}  // namespace grid
