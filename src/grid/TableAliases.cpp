#include "grid/TableAliases.h"

#include <QSet>

#include "core/SqlText.h"
#include "grid/GridTables.h"

namespace grid {

namespace {

// Words that may follow a table name without being its alias.
bool isClauseWord(const QString& upperWord) {
  static const QSet<QString> words{
      QStringLiteral("WHERE"),  QStringLiteral("JOIN"),   QStringLiteral("LEFT"),
      QStringLiteral("RIGHT"),  QStringLiteral("INNER"),  QStringLiteral("OUTER"),
      QStringLiteral("FULL"),   QStringLiteral("CROSS"),  QStringLiteral("NATURAL"),
      QStringLiteral("ON"),     QStringLiteral("USING"),  QStringLiteral("ORDER"),
      QStringLiteral("GROUP"),  QStringLiteral("HAVING"), QStringLiteral("UNION"),
      QStringLiteral("PLAN"),   QStringLiteral("ROWS"),   QStringLiteral("FOR"),
      QStringLiteral("WITH"),   QStringLiteral("FIRST"),  QStringLiteral("SKIP"),
      QStringLiteral("OFFSET"), QStringLiteral("FETCH"),  QStringLiteral("INTO"),
      QStringLiteral("WINDOW"), QStringLiteral("AS"),     QStringLiteral("SELECT"),
      QStringLiteral("FROM")};
  return words.contains(upperWord);
}

// The statement as words: identifiers (with dots), and every other
// character on its own. Text between apostrophes or double quotes is one
// word, so that nothing inside a literal is taken for a table.
QStringList words(const QString& text) {
  QStringList result;
  for (qsizetype i = 0; i < text.size();) {
    const QChar c = text.at(i);
    if (c.isSpace()) {
      ++i;
    } else if (c == '\'' || c == '"') {
      qsizetype end = text.indexOf(c, i + 1);
      end = end < 0 ? text.size() : end + 1;
      result << text.mid(i, end - i);
      i = end;
    } else if (c.isLetterOrNumber() || c == '_' || c == '$') {
      qsizetype end = i;
      while (end < text.size() && (text.at(end).isLetterOrNumber() || text.at(end) == '_' ||
                                   text.at(end) == '$' || text.at(end) == '.'))
        ++end;
      result << text.mid(i, end - i);
      i = end;
    } else {
      result << QString(c);
      ++i;
    }
  }
  return result;
}

}  // namespace

TableAliases TableAliases::of(const QStringList& statement) {
  TableAliases aliases;
  const QStringList list = words(statement.join(' '));
  bool inFrom = false;  // between FROM and the end of its list of tables
  for (qsizetype i = 0; i + 1 < list.size(); ++i) {
    const QString word = list.at(i).toUpper();
    if (word == QLatin1String("FROM")) {
      inFrom = true;
    } else if (word == QLatin1String("WHERE") || word == QLatin1String("GROUP") ||
               word == QLatin1String("ORDER") || word == QLatin1String("(") ||
               word == QLatin1String("SELECT")) {
      inFrom = false;
    }
    const bool tableFollows = word == QLatin1String("FROM") || word == QLatin1String("JOIN") ||
                              (inFrom && word == QLatin1String(","));
    if (!tableFollows) continue;
    const QString table = list.at(i + 1);
    if (!core::isSqlIdentifier(table)) continue;
    qsizetype next = i + 2;
    if (next < list.size() && list.at(next).toUpper() == QLatin1String("AS")) ++next;
    if (next >= list.size()) continue;
    const QString alias = list.at(next);
    if (!core::isSqlIdentifier(alias) || isClauseWord(alias.toUpper())) continue;
    const QString key = table.toUpper();
    if (!aliases.aliases_.contains(key)) aliases.aliases_.insert(key, alias);
  }
  return aliases;
}

QString TableAliases::aliasOf(const QString& table) const {
  return aliases_.value(table.toUpper());
}

QString TableAliases::qualify(const QString& expression) const {
  if (!isQualifiedName(expression)) return expression;
  const qsizetype dot = expression.indexOf('.');
  if (dot < 0) return expression;
  const QString alias = aliasOf(expression.left(dot));
  if (alias.isEmpty()) return expression;
  return alias + expression.mid(dot);
}

}  // namespace grid
