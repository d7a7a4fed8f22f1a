#include "grid/SearchCondition.h"

#include "core/Dates.h"
#include "core/SqlText.h"

namespace grid {

namespace {

constexpr QChar kLikeEscape = QLatin1Char('\\');

}  // namespace

FieldClass fieldClassOf(db::FieldType type) {
  switch (type) {
    case db::FieldType::SmallInt:
    case db::FieldType::Integer:
    case db::FieldType::Word:
    case db::FieldType::Float:
      return FieldClass::Number;
    case db::FieldType::Date:
    case db::FieldType::DateTime:
      return FieldClass::Date;
    case db::FieldType::Blob:
      return FieldClass::Blob;
    default:
      return FieldClass::Text;
  }
}

QString searchKeyword(const QStringList& statement) {
  for (const QString& line : statement)
    if (line.toUpper().contains(QLatin1String("WHERE"))) return QStringLiteral("AND");
  return QStringLiteral("WHERE");
}

QString likePattern(const QString& value, bool leadingPercent, bool& escaped) {
  escaped = value.contains('%') || value.contains('_');
  QString pattern;
  if (leadingPercent) pattern += '%';
  for (const QChar c : value) {
    if (escaped && (c == '%' || c == '_' || c == kLikeEscape)) pattern += kLikeEscape;
    pattern += c;
  }
  pattern += '%';
  return core::sqlValue(pattern);
}

QString conditionLine(const SearchRequest& request) {
  const bool text = request.fieldClass == FieldClass::Text;
  QString expression = request.expression;
  QString value = request.text;
  if (text && request.upper) {
    value = value.toUpper();
    expression = QStringLiteral("UPPER(") + expression + ')';
  }
  if (request.fieldClass == FieldClass::Date) {
    if (!request.firstDate.isValid()) return {};
    QString line = request.keyword + '(' + expression + QStringLiteral(" >= '") +
                   core::sqlDate(request.firstDate) + QStringLiteral("')");
    if (request.secondDate.isValid())
      line += QStringLiteral("AND(") + expression + QStringLiteral(" <= '") +
              core::sqlDate(request.secondDate) + QStringLiteral("')");
    return line;
  }
  if (value.isEmpty()) return {};
  switch (request.mode) {
    case ModoContiene:
    case ModoInizia: {
      bool escaped = false;
      const QString pattern = likePattern(value, request.mode == ModoContiene, escaped);
      return request.keyword + '(' + expression + QStringLiteral(" LIKE '") + pattern + '\'' +
             (escaped ? QStringLiteral(" ESCAPE '") + kLikeEscape + '\'' : QString()) + ')';
    }
    default:
      return request.keyword + '(' + expression + QStringLiteral(" >= '") + core::sqlValue(value) +
             QStringLiteral("')");
  }
}

QString searchOrderLine(const SearchRequest& request) {
  if (request.order != OrdineCresc && request.order != OrdineDecres) return {};
  const bool wrap = request.fieldClass == FieldClass::Text && request.upper;
  QString line = wrap ? QStringLiteral("ORDER BY UPPER(") + request.expression + ')'
                      : QStringLiteral("ORDER BY ") + request.expression;
  if (request.order == OrdineDecres) line += QStringLiteral(" DESC");
  return line;
}

QStringList allColumnsCondition(const QStringList& statement, const QStringList& fieldNames,
                                const QString& text) {
  const QString keyword = statement.join(QString()).contains(QLatin1String("WHERE"))
                              ? QStringLiteral("AND(")
                              : QStringLiteral("WHERE(");
  QStringList lines{keyword};
  const QString value = core::sqlValue(text);
  for (const QString& name : fieldNames) {
    if (!core::isSqlIdentifier(name)) continue;
    const QString lead = lines.size() == 1 ? QStringLiteral("(") : QStringLiteral("OR(");
    lines << lead + name + QStringLiteral(" CONTAINING '") + value + QStringLiteral("')");
  }
  lines << QStringLiteral(")");
  return lines;
}

bool filterAccepts(QString fieldText, QString searchText, bool upper, int mode) {
  if (upper) {
    fieldText = fieldText.toUpper();
    searchText = searchText.toUpper();
  }
  switch (mode) {
    case ModoContiene:
      return fieldText.contains(searchText);
    case ModoInizia:
      return fieldText.startsWith(searchText);
    default:
      return QString::compare(fieldText, searchText) >= 0;
  }
}

}  // namespace grid
