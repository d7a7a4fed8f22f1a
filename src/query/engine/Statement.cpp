#include "query/engine/Statement.h"

#include <algorithm>
#include <vector>

#include "core/SqlText.h"
#include "query/engine/Conditions.h"
#include "query/engine/InvertiGiornoMese.h"

namespace query::engine {

using model::Row;

namespace {

// A field as the statement names it: joined fields carry their letter, the
// main table's get the alias XX.
QString qualified(const QString& nome) {
  return nome.contains(u'.') ? nome : QStringLiteral("XX.") + nome;
}

// A computed column naming the pseudo-column (Set) gets it qualified with the
// main table.
QString withSetColumn(QString item, const QString& mainTable) {
  const qsizetype at = item.indexOf(QLatin1StringView("(SET)"), 0, Qt::CaseInsensitive);
  if (at >= 0)
    item.replace(at, 5, QStringLiteral("(\"") + mainTable + QStringLiteral("\".\"Set\")"));
  return item;
}

// The search for a text inside a field, letter case ignored. The text is a
// value: its apostrophes are doubled so that it cannot end the literal.
QString containsPiece(const QString& field, const QString& text, db::FieldType type) {
  if (type == db::FieldType::Memo || type == db::FieldType::Blob)
    return QStringLiteral("(UPPER(") + field + QStringLiteral(") LIKE ('%") +
           core::sqlValue(text.toUpper()) + QStringLiteral("%'))");
  return QStringLiteral("(UPPER (CAST(") + field +
         QStringLiteral(" AS CHARACTER(256)) ) LIKE UPPER('%") + core::sqlValue(text) +
         QStringLiteral("%'))");
}

// One item a line, every one but the last followed by a comma.
void appendList(QStringList& lines, const QStringList& items) {
  for (qsizetype i = 0; i < items.size(); ++i)
    lines.append(i + 1 < items.size() ? items[i] + u',' : items[i]);
}

// The rows that belong to a left join whose conditions apply before the join
// ("P"): the key and field rows after its header. Their conditions go into
// the join's ON, never into WHERE.
std::vector<bool> conditionsBeforeJoin(const QList<Row>& run) {
  std::vector<bool> inside(run.size(), false);
  bool open = false;
  for (qsizetype i = 0; i < run.size(); ++i) {
    const Row& row = run[i];
    if (model::isJoinHeader(row.mostra)) {
      open =
          row.mostra == model::Mostra::LeftJoin && row.condizione == model::kConditionsBeforeJoin;
      continue;
    }
    open = open && (model::isField(row.mostra) || row.mostra == model::Mostra::LinkKey);
    inside[i] = open;
  }
  return inside;
}

class Builder {
 public:
  Builder(const QList<Row>& run, const QString& mainTable, const FieldTypeLookup& fieldType)
      : run_(run),
        mainTable_(mainTable),
        fieldType_(fieldType),
        beforeJoin_(conditionsBeforeJoin(run)) {}

  Statement build() {
    selectList();
    fromList();
    whereList();
    groupBy();
    return std::move(statement_);
  }

 private:
  // Shown fields and computed columns. Fields and EXTRACT columns count as
  // plain items a GROUP BY must list once an aggregate stands beside them.
  void selectList() {
    QStringList items;
    for (const Row& row : run_) {
      if (model::isOutput(row.mostra)) {
        items.append(qualified(row.nome));
        grouped_.append(items.last());
        ++plainItems_;
      }
      switch (classify(row.condizione)) {
        case ConditionKind::Calc: {
          const QString text = EstraiCalc(row.condizione);
          if (isProcedural(text)) {
            statement_.postSteps = true;
            break;
          }
          items.append(withSetColumn(text, mainTable_));
          aggregate_ = aggregate_ || TestGroupBy(items.last());
          break;
        }
        case ConditionKind::Extract: {
          items.append(withSetColumn(EstraiExtract(row.condizione), mainTable_));
          ++plainItems_;
          if (TestGroupBy(items.last()))
            aggregate_ = true;
          else
            grouped_.append(withoutAlias(items.last()));
          break;
        }
        default:
          break;
      }
    }
    statement_.lines.append(QStringLiteral("SELECT"));
    appendList(statement_.lines, items);
  }

  // The main table, then every join nested from the left.
  void fromList() {
    statement_.lines.append(QStringLiteral("FROM "));
    QStringList from{QLatin1Char('"') + mainTable_ + QStringLiteral("\" XX ")};
    qsizetype previousOn = -1;
    for (qsizetype i = 0; i < run_.size(); ++i) {
      const Row& header = run_[i];
      if (!model::isJoinHeader(header.mostra)) continue;
      if (previousOn >= 0) {
        from.first().prepend(u'(');
        from[previousOn].append(u')');
      }
      from.append(joinLine(header));
      from.append(QStringLiteral("ON (") + onText(i) + u')');
      previousOn = from.size() - 1;
    }
    statement_.lines.append(from);
  }

  // The header's Nome is "TABLE = L". Only "" and "P" are join options the
  // designer stores; no other text is pasted in front of the table name.
  static QString joinLine(const Row& header) {
    const QString table = header.nome.left(header.nome.size() - 4);
    const QString letter = header.nome.right(2);
    const QString kind = header.mostra == model::Mostra::LeftJoin ? QStringLiteral("LEFT JOIN \"")
                                                                  : QStringLiteral("RIGHT JOIN \"");
    return kind + table + QStringLiteral("\" ") + letter;
  }

  // The equalities of the header's key rows and, for a "P" join, the
  // conditions of its fields as typed.
  QString onText(qsizetype header) const {
    QString on = QStringLiteral("(");
    auto add = [&on](const QString& part) {
      if (on != QLatin1StringView("(")) on += QStringLiteral(") AND (");
      on += part;
    };
    qsizetype i = header + 1;
    for (; i < run_.size() && run_[i].mostra == model::Mostra::LinkKey; ++i) {
      const Row& key = run_[i];
      add(key.nome + u'=' + qualified(key.condizione));
    }
    for (; i < run_.size() && beforeJoin_[i]; ++i) {
      const Row& row = run_[i];
      if (!model::isField(row.mostra)) continue;
      // Computed columns belong to the SELECT list only.
      switch (classify(row.condizione)) {
        case ConditionKind::Raw:
          add(row.condizione);
          break;
        case ConditionKind::Contains:
          add(containsPiece(qualified(row.nome), row.condizione, db::FieldType::Unknown));
          break;
        default:
          break;
      }
    }
    return on + u')';
  }

  void whereList() {
    QStringList pieces;
    for (qsizetype i = 0; i < run_.size(); ++i) {
      const Row& row = run_[i];
      if (!model::isField(row.mostra) || beforeJoin_[i]) continue;
      const ConditionKind kind = classify(row.condizione);
      if (kind != ConditionKind::Raw && kind != ConditionKind::Contains) continue;
      QString condition = row.condizione;
      const bool upper = !condition.contains(u'.');
      if (upper) condition = condition.toUpper();
      if (kind == ConditionKind::Raw) {
        // A predicate typed on its own field names it unqualified.
        if (upper && !row.nome.isEmpty())
          condition.replace(row.nome, QStringLiteral("XX.") + row.nome);
        pieces.append(InvertiGiornoMese(condition));
      } else {
        const db::FieldType type = DeterminaTipoCampo(row.nome, run_, mainTable_, fieldType_);
        pieces.append(containsPiece(qualified(row.nome), condition, type));
      }
    }
    if (pieces.isEmpty()) return;
    statement_.lines.append(QStringLiteral("WHERE "));
    for (qsizetype i = 0; i < pieces.size(); ++i)
      statement_.lines.append(
          u'(' + pieces[i] +
          (i + 1 < pieces.size() ? QStringLiteral(") and") : QStringLiteral(")")));
  }

  void groupBy() {
    if (!aggregate_ || plainItems_ == 0) return;
    statement_.lines.append(QStringLiteral("GROUP BY"));
    appendList(statement_.lines, grouped_);
  }

  const QList<Row>& run_;
  const QString& mainTable_;
  const FieldTypeLookup& fieldType_;
  const std::vector<bool> beforeJoin_;
  Statement statement_;
  QStringList grouped_;  // what GROUP BY lists: shown fields and EXTRACT expressions
  int plainItems_ = 0;
  bool aggregate_ = false;
};

}  // namespace

Statement buildStatement(const QList<Row>& rows, int first, int last, const QString& mainTable,
                         const FieldTypeLookup& fieldType) {
  const qsizetype from = std::max(first, 1) - 1;
  const qsizetype to = std::min<qsizetype>(last, rows.size());
  const QList<Row> run = from < to ? rows.mid(from, to - from) : QList<Row>();
  return Builder(run, mainTable, fieldType).build();
}

}  // namespace query::engine
