#include "query/engine/LocalTableWriter.h"

#include "platform/localstore/LocalTable.h"

namespace query::engine {

namespace {

// Rows handed to the writing thread at a time: large enough that the
// hand-over costs nothing, small enough that the thread starts at once.
constexpr std::size_t kBlockRows = 512;

}  // namespace

LocalTableWriter::LocalTableWriter(platform::localstore::LocalTable& table)
    : table_(table), thread_([this] { write(); }) {
  filling_.reserve(kBlockRows);
}

LocalTableWriter::~LocalTableWriter() {
  {
    std::lock_guard lock(mutex_);
    closed_ = true;
  }
  ready_.notify_one();
  if (thread_.joinable()) thread_.join();
}

void LocalTableWriter::append(QVariantList row) {
  filling_.push_back(std::move(row));
  if (filling_.size() >= kBlockRows) handOver();
}

void LocalTableWriter::handOver() {
  if (filling_.empty()) return;
  auto block = std::make_shared<Block>(std::move(filling_));
  filling_ = Block();
  filling_.reserve(kBlockRows);
  blocks_.push_back(block);
  {
    std::lock_guard lock(mutex_);
    queue_.push_back(std::move(block));
  }
  ready_.notify_one();
}

void LocalTableWriter::write() {
  for (;;) {
    std::shared_ptr<Block> block;
    {
      std::unique_lock lock(mutex_);
      ready_.wait(lock, [this] { return closed_ || !queue_.empty(); });
      if (queue_.empty()) return;
      block = std::move(queue_.front());
      queue_.pop_front();
      // After a failure the rest is only taken off the queue.
      if (!error_.isEmpty()) continue;
    }
    for (const QVariantList& row : *block) {
      if (table_.append(row)) continue;
      std::lock_guard lock(mutex_);
      error_ = table_.lastError();
      break;
    }
  }
}

bool LocalTableWriter::finish(QString* error) {
  handOver();
  {
    std::lock_guard lock(mutex_);
    closed_ = true;
  }
  ready_.notify_one();
  if (thread_.joinable()) thread_.join();
  if (error_.isEmpty() && !table_.commitBatch()) error_ = table_.lastError();
  if (error_.isEmpty()) return true;
  *error = error_;
  return false;
}

LocalTableWriter::Blocks LocalTableWriter::takeRows() {
  return std::move(blocks_);
}

}  // namespace query::engine
