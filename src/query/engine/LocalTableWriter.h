#pragma once

#include <QString>
#include <QVariant>
#include <QVariantList>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace platform::localstore {
class LocalTable;
}

namespace query::engine {

// Appends rows to a local table on a thread of its own, so that writing the
// table overlaps reading the rows from the database. Rows go over in blocks;
// every row is kept, so that the answer can show them without reading the
// table back. The table must be open with a batch begun; nothing else may
// use it until finish() returns.
class LocalTableWriter {
 public:
  explicit LocalTableWriter(platform::localstore::LocalTable& table);
  // Waits for the rows handed over so far.
  ~LocalTableWriter();
  LocalTableWriter(const LocalTableWriter&) = delete;
  LocalTableWriter& operator=(const LocalTableWriter&) = delete;

  void append(QVariantList row);
  // Waits until every row is written and commits the batch. False with the
  // table's reason in `error` when a row or the commit failed.
  bool finish(QString* error);
  // Rows in blocks of consecutive rows.
  using Block = std::vector<QVariantList>;
  using Blocks = std::vector<std::shared_ptr<Block>>;
  // Every row appended, in order. After finish().
  Blocks takeRows();

 private:
  void handOver();
  void write();

  platform::localstore::LocalTable& table_;
  Block filling_;
  Blocks blocks_;
  std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<std::shared_ptr<Block>> queue_;
  bool closed_ = false;
  QString error_;  // the first failure of the writing thread
  std::thread thread_;
};

}  // namespace query::engine
