#include "db/DataSet.h"

#include <algorithm>

namespace db {

DataSet::DataSet(const DataSet& other)
    : beforeOpen_(other.beforeOpen_),
      afterOpen_(other.afterOpen_),
      beforeClose_(other.beforeClose_) {}

DataSet& DataSet::operator=(const DataSet& other) {
  beforeOpen_ = other.beforeOpen_;
  afterOpen_ = other.afterOpen_;
  beforeClose_ = other.beforeClose_;
  return *this;
}

DataSet::~DataSet() {
  notify(Notice::Destroyed);
}

int DataSet::fieldIndex(const QString& name) const {
  for (int i = 0; i < fieldCount(); ++i)
    if (field(i).name.compare(name, Qt::CaseInsensitive) == 0) return i;
  return -1;
}

DataSet::Hook DataSet::setBeforeOpen(Hook hook) {
  std::swap(beforeOpen_, hook);
  return hook;
}

DataSet::Hook DataSet::setAfterOpen(Hook hook) {
  std::swap(afterOpen_, hook);
  return hook;
}

DataSet::Hook DataSet::setBeforeClose(Hook hook) {
  std::swap(beforeClose_, hook);
  return hook;
}

void DataSet::addObserver(const void* owner, Observer observer) {
  for (auto& entry : observers_)
    if (entry.first == owner) {
      entry.second = std::move(observer);
      return;
    }
  observers_.emplace_back(owner, std::move(observer));
}

void DataSet::removeObserver(const void* owner) {
  std::erase_if(observers_, [owner](const auto& entry) { return entry.first == owner; });
}

void DataSet::notify(Notice notice) {
  // A copy: an observer may remove itself (or another) while being told.
  const auto observers = observers_;
  for (const auto& entry : observers) {
    const bool stillThere =
        std::any_of(observers_.begin(), observers_.end(),
                    [&entry](const auto& current) { return current.first == entry.first; });
    if (stillThere) entry.second(*this, notice);
  }
}

void DataSet::fireBeforeClose() {
  if (beforeClose_) beforeClose_(*this);
}

void DataSet::fireBeforeOpen() {
  if (beforeOpen_) beforeOpen_(*this);
}

void DataSet::fireAfterOpen() {
  if (afterOpen_) afterOpen_(*this);
}

}  // namespace db
