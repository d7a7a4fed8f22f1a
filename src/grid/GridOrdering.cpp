#include "grid/GridOrdering.h"

#include "core/SqlText.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "grid/ColorCode.h"

namespace grid {

std::optional<QString> PersonalisedFields::expressionOf(const QString& upperName) const {
  const qsizetype index = names.indexOf(upperName);
  if (index < 0) return std::nullopt;
  return expressions.value(index);
}

QString orderingExpression(const QString& fieldName, const QString& origin,
                           const PersonalisedFields& personalised) {
  if (const auto expression = personalised.expressionOf(fieldName.toUpper())) return *expression;
  if (!origin.isEmpty()) return origin.toUpper();
  return fieldName;
}

void GridOrdering::clear() {
  mode = Unknown;
  single = OrderKey{};
  ChiaviOrdinamento.clear();
}

std::optional<int> GridOrdering::storedCode(const QString& upperName) const {
  if (upperName.isEmpty()) return std::nullopt;
  if (mode == Multi) {
    for (std::size_t k = 0; k < ChiaviOrdinamento.size(); ++k) {
      const OrderKey& key = ChiaviOrdinamento[k];
      if (key.name.compare(upperName, Qt::CaseInsensitive) != 0) continue;
      const int code = 10 * static_cast<int>(k + 1);
      return key.direction == 2 ? -code : code;
    }
    return std::nullopt;
  }
  if (hasSingleKey() && single.name.compare(upperName, Qt::CaseInsensitive) == 0)
    return single.direction;
  return std::nullopt;
}

QStringList GridOrdering::modeStatement(const QString& table, const GridKeys& keys) {
  QStringList lines = singleKeyStatement(table, keys);
  lines << QStringLiteral("AND (ABS(Ordinamento)>'2')");
  return lines;
}

QStringList GridOrdering::singleKeyStatement(const QString& table, const GridKeys& keys) {
  QStringList lines{QStringLiteral("SELECT * FROM ") + quotedTable(table)};
  lines << keyLines(keys) << QStringLiteral("AND (Ordinamento IS NOT NULL)");
  return lines;
}

QStringList GridOrdering::multiKeyStatement(const QString& table, const GridKeys& keys) {
  QStringList lines{
      QStringLiteral(
          "SELECT ABS(Ordinamento) AS ORD,Ordinamento,NomeCampo,Origine,Posizione FROM ") +
      quotedTable(table)};
  lines << keyLines(keys) << QStringLiteral("AND (Ordinamento IS NOT NULL) ORDER BY ORD");
  return lines;
}

namespace {

OrderKey storedKey(const db::Query& query, const PersonalisedFields& personalised) {
  OrderKey key;
  key.name = query.text(QStringLiteral("NOMECAMPO"));
  key.column = query.value(QStringLiteral("POSIZIONE")).toInt();
  const QString origin = query.text(QStringLiteral("ORIGINE"));
  if (const auto expression = personalised.expressionOf(key.name))
    key.expression = *expression;
  else
    key.expression = origin.isEmpty() ? key.name : origin;
  return key;
}

}  // namespace

void GridOrdering::readStored(db::Transaction& transaction, const QString& table,
                              const GridKeys& keys, const PersonalisedFields& personalised) {
  db::Query query(transaction.database(), transaction);
  if (mode == Unknown) {
    query.sql = modeStatement(table, keys);
    query.open();
    mode = query.isEmpty() ? Single : Multi;
    query.close();
  }
  if (mode == Single) {
    query.sql = singleKeyStatement(table, keys);
    query.open();
    single = OrderKey{};
    if (!query.isEof()) {
      const int code = query.value(QStringLiteral("ORDINAMENTO")).toInt();
      if (code != 0) {
        single = storedKey(query, personalised);
        single.direction = code;
      }
    }
  } else {
    query.sql = multiKeyStatement(table, keys);
    query.open();
    ChiaviOrdinamento.clear();
    for (; !query.isEof(); query.next()) {
      const int code = query.value(QStringLiteral("ORDINAMENTO")).toInt();
      if (code == 0) continue;
      OrderKey key = storedKey(query, personalised);
      key.direction = code < 1 ? 2 : 1;
      ChiaviOrdinamento.push_back(key);
    }
  }
}

namespace {

// An expression from a stored row may stand in a statement only as a
// qualified name the database reported, or as a computed column's
// expression the host supplied.
bool usable(const OrderKey& key, const QStringList& origins,
            const PersonalisedFields& personalised) {
  if (personalised.expressionOf(key.name)) return true;
  return !key.expression.isEmpty() && origins.contains(key.expression) &&
         isQualifiedName(key.expression);
}

QString descending(const OrderKey& key) {
  return key.direction == 2 ? QStringLiteral(" DESC") : QString();
}

}  // namespace

QStringList GridOrdering::orderLines(const QStringList& origins,
                                     const PersonalisedFields& personalised,
                                     const TableAliases& aliases) const {
  QStringList lines;
  if (mode == Multi) {
    for (const OrderKey& key : ChiaviOrdinamento) {
      if (!usable(key, origins, personalised)) continue;
      const QString lead = lines.isEmpty() ? QStringLiteral("ORDER BY ") : QStringLiteral(",");
      lines << lead + aliases.qualify(key.expression) + descending(key);
    }
  } else if (hasSingleKey() && usable(single, origins, personalised)) {
    lines << QStringLiteral("ORDER BY ") + aliases.qualify(single.expression) + descending(single);
  }
  return lines;
}

QStringList GridOrdering::searchOrderLines(const QStringList& origins, bool upper, bool orderBy,
                                           const TableAliases& aliases) const {
  const auto counts = [&origins](const OrderKey& key) {
    return !key.expression.isEmpty() && origins.contains(key.expression) &&
           isQualifiedName(key.expression);
  };
  const auto wrapped = [upper, &aliases](const QString& origin) {
    const QString expression = aliases.qualify(origin);
    return upper ? QStringLiteral("UPPER(") + expression + ')' : expression;
  };
  QStringList lines;
  if (mode == Multi) {
    if (!orderBy) return lines;
    for (const OrderKey& key : ChiaviOrdinamento) {
      if (!counts(key)) continue;
      QString lead;
      if (lines.isEmpty())
        lead = QStringLiteral("ORDER BY ");
      else
        lead = upper ? QStringLiteral(", ") : QStringLiteral(",");
      lines << lead + wrapped(key.expression) + descending(key);
    }
  } else if (hasSingleKey() && counts(single)) {
    lines << QStringLiteral("ORDER BY ") + wrapped(single.expression) + descending(single);
  }
  return lines;
}

void GridOrdering::switchMode(bool ctrl) {
  if (mode != Multi && ctrl) {
    mode = Multi;
    ChiaviOrdinamento.assign(1, single);
  } else if (mode == Multi && !ctrl) {
    mode = Single;
    single = ChiaviOrdinamento.empty() ? OrderKey{} : ChiaviOrdinamento.front();
    ChiaviOrdinamento.clear();
  }
}

void GridOrdering::clickSingle(const QString& upperName, const QString& expression, int column) {
  const bool reverse = upperName == single.name && single.direction == 1;
  single.direction = reverse ? 2 : 1;
  single.name = upperName;
  single.expression = expression;
  single.column = column;
}

const OrderKey& GridOrdering::clickMulti(const QString& upperName, const QString& expression,
                                         int column) {
  for (OrderKey& key : ChiaviOrdinamento) {
    if (key.name.compare(upperName, Qt::CaseInsensitive) != 0) continue;
    key.direction = key.direction == 1 ? 2 : 1;
    key.name = upperName;
    key.expression = expression;
    key.column = column;
    return key;
  }
  ChiaviOrdinamento.push_back(OrderKey{upperName, expression, column, 1});
  return ChiaviOrdinamento.back();
}

qint64 GridOrdering::keyColor(std::size_t place, qint64 firstKeyColor) {
  if (place == 0) return firstKeyColor;
  if (place == 1) return kColoreSecondaChiave;
  return kColoreAltreChiavi;
}

std::vector<std::pair<int, qint64>> GridOrdering::titleColors(qint64 firstKeyColor) const {
  std::vector<std::pair<int, qint64>> colors;
  if (mode == Multi) {
    for (std::size_t k = 0; k < ChiaviOrdinamento.size(); ++k) {
      const OrderKey& key = ChiaviOrdinamento[k];
      if (!key.name.isEmpty() && key.column >= 0)
        colors.emplace_back(key.column, keyColor(k, firstKeyColor));
    }
  } else if (hasSingleKey() && single.column >= 0) {
    colors.emplace_back(single.column, firstKeyColor);
  }
  return colors;
}

QStringList GridOrdering::primaryKeyStatement(const QString& baseTable) {
  return {QStringLiteral("SELECT B.RDB$FIELD_NAME"),
          QStringLiteral("FROM RDB$RELATION_CONSTRAINTS A LEFT JOIN"),
          QStringLiteral("RDB$INDEX_SEGMENTS B ON"),
          QStringLiteral("(A.RDB$INDEX_NAME=B.RDB$INDEX_NAME)"),
          QStringLiteral("WHERE (A.RDB$RELATION_NAME='") + core::sqlValue(baseTable) +
              QStringLiteral("')"),
          QStringLiteral("AND(A.RDB$CONSTRAINT_TYPE='PRIMARY KEY')"),
          QStringLiteral("ORDER BY B.RDB$FIELD_POSITION")};
}

QString GridOrdering::primaryKeyLine(const QString& baseTable, const QStringList& fields,
                                     const TableAliases& aliases) {
  if (!core::isSqlIdentifier(baseTable)) return {};
  const QString alias = aliases.aliasOf(baseTable);
  const QString qualifier = alias.isEmpty() ? baseTable : alias;
  QStringList parts;
  for (QString field : fields) {
    field.remove(' ');
    if (core::isSqlIdentifier(field)) parts << qualifier + '.' + field;
  }
  if (parts.isEmpty()) return {};
  return QStringLiteral("ORDER BY ") + parts.join(',');
}

}  // namespace grid
