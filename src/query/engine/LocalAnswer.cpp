#include "query/engine/LocalAnswer.h"

#include <QRegularExpression>

#include "core/SqlText.h"
#include "db/DbError.h"
#include "db/Query.h"
#include "platform/localstore/LocalQuery.h"

namespace query::engine {

using platform::localstore::LocalQuery;

namespace {

class LocalCursor : public db::RowCursor {
 public:
  explicit LocalCursor(std::unique_ptr<LocalQuery> query) : query_(std::move(query)) {}

  bool fetch(std::vector<QVariant>& row) override {
    if (query_->next(row)) return true;
    if (!query_->error().isEmpty()) throw db::DbError(query_->error());
    return false;
  }

 private:
  std::unique_ptr<LocalQuery> query_;
};

// The rows as they were written, handed over one by one.
class WrittenRowsCursor : public db::RowCursor {
 public:
  explicit WrittenRowsCursor(LocalTableWriter::Blocks blocks) : blocks_(std::move(blocks)) {}

  bool fetch(std::vector<QVariant>& row) override {
    while (block_ < blocks_.size() && next_ >= blocks_[block_]->size()) {
      blocks_[block_].reset();
      ++block_;
      next_ = 0;
    }
    if (block_ >= blocks_.size()) return false;
    QVariantList& values = (*blocks_[block_])[next_++];
    row.resize(static_cast<std::size_t>(values.size()));
    for (qsizetype i = 0; i < values.size(); ++i) row[i] = std::move(values[i]);
    return true;
  }

 private:
  LocalTableWriter::Blocks blocks_;
  std::size_t block_ = 0;
  std::size_t next_ = 0;
};

}  // namespace

QString localStatementText(const QStringList& lines) {
  static const QRegularExpression descending(QStringLiteral("\\bDESCENDING\\b"),
                                             QRegularExpression::CaseInsensitiveOption);
  static const QRegularExpression ascending(QStringLiteral("\\bASCENDING\\b"),
                                            QRegularExpression::CaseInsensitiveOption);
  QString text = lines.join(u'\n');
  text.replace(descending, QStringLiteral("DESC"));
  text.replace(ascending, QStringLiteral("ASC"));
  return text;
}

LocalAnswer::LocalAnswer(QString nativeFile, platform::localstore::LocalColumns columns,
                         std::vector<db::FieldInfo> fields, int user)
    : nativeFile_(std::move(nativeFile)),
      columns_(std::move(columns)),
      fields_(std::move(fields)),
      user_(user) {}

LocalAnswer* LocalAnswer::of(const db::Query& query) {
  return dynamic_cast<LocalAnswer*>(query.rowSource().get());
}

QStringList LocalAnswer::statement() const {
  QStringList lines{QStringLiteral("SELECT")};
  for (qsizetype i = 0; i < columns_.size(); ++i)
    lines << core::sqlQuotedIdentifier(columns_[i].name) +
                 (i + 1 < columns_.size() ? QStringLiteral(",") : QString());
  lines << QStringLiteral("FROM ") + LocalQuery::kRows;
  return lines + orderLines();
}

QStringList LocalAnswer::orderLines() {
  return {QStringLiteral("ORDER BY"), QStringLiteral("ROWID")};
}

void LocalAnswer::keepWrittenRows(LocalTableWriter::Blocks rows) {
  writtenRows_ = std::move(rows);
  rowsKept_ = true;
}

std::unique_ptr<db::RowCursor> LocalAnswer::open(const QStringList& lines,
                                                 std::vector<db::FieldInfo>& fields) {
  if (rowsKept_ && lines == statement()) {
    // What was just written is what the table would give back.
    rowsKept_ = false;
    fields = fields_;
    return std::make_unique<WrittenRowsCursor>(std::move(writtenRows_));
  }
  rowsKept_ = false;
  writtenRows_ = {};
  auto query = std::make_unique<LocalQuery>(nativeFile_, columns_);
  if (!query->open(localStatementText(lines))) throw db::DbError(query->error());
  fields.clear();
  for (int i = 0; i < query->columnCount(); ++i) {
    const int column = query->tableColumn(i);
    if (column >= 0 && column < static_cast<int>(fields_.size())) {
      fields.push_back(fields_[static_cast<std::size_t>(column)]);
    } else {
      db::FieldInfo computed;
      computed.name = query->columnName(i);
      computed.type = db::FieldType::Float;
      computed.size = 8;
      computed.readOnly = true;
      fields.push_back(computed);
    }
  }
  return std::make_unique<LocalCursor>(std::move(query));
}

}  // namespace query::engine
