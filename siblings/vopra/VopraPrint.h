#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace db {
class DataSet;
}

// The printing behind the exports of libVopra: one label per row of a
// dataset, each column a label variable by its name.
namespace vopra {

struct Rows {
  QStringList columns;
  std::vector<QStringList> values;
};

// Every row of the dataset, fetching what it has not fetched yet; nulls
// become empty texts.
Rows readRows(db::DataSet& dataset);

// Prints one label per row with the label project. `direct` prints on the
// default printer without the options dialog. When the environment variable
// ORBELAN_VOPRA_PDF names a file, the labels go into that PDF file instead,
// with no dialog at all. Returns false with `error` set when printing failed.
bool printRows(const Rows& rows, const QString& report, const QString& title, bool direct,
               QString& error);

}  // namespace vopra
