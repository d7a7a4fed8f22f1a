#include "db/DataSet.h"

namespace db {

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

void DataSet::fireBeforeOpen() {
  if (beforeOpen_) beforeOpen_(*this);
}

void DataSet::fireAfterOpen() {
  if (afterOpen_) afterOpen_(*this);
}

}  // namespace db
