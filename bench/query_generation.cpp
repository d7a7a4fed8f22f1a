// The statement the query engine builds for a 500-field table with a mix of
// shown fields, searches, date ranges, formulas, a year extraction beside a
// sum and two joined tables: mean time per generation.
#include <QElapsedTimer>
#include <QHash>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "query/engine/Statement.h"

namespace {

using query::model::Row;
namespace Mostra = query::model::Mostra;

QList<Row> designerRows(QHash<QString, db::FieldType>& types) {
  QList<Row> rows;
  auto add = [&rows](const QString& nome, int mostra, const QString& condizione = QString()) {
    rows.append(Row{static_cast<int>(rows.size() + 1), nome, mostra, condizione});
  };
  for (int i = 0; i < 500; ++i) {
    const QString name = QStringLiteral("CAMPO%1").arg(i, 3, 10, QLatin1Char('0'));
    types.insert(QStringLiteral("ARTICOLI.") + name,
                 i % 7 == 0 ? db::FieldType::Date : db::FieldType::String);
    const int mostra = i % 3 == 0 ? Mostra::Hidden : Mostra::Shown;
    switch (i % 10) {
      case 1:
        add(name, mostra, QStringLiteral("rossi"));
        break;
      case 4:
        add(name, mostra, QStringLiteral("(%1>=10)AND(%1<=20)").arg(name));
        break;
      case 7:
        add(name, mostra, QStringLiteral("(%1>='01/03/2005')AND(%1<='31/03/2005')").arg(name));
        break;
      default:
        add(name, mostra);
    }
  }
  add(QStringLiteral("CAMPO010"), Mostra::Hidden, QStringLiteral("(CALC (CAMPO010*2) AS DOPPIO)"));
  add(QStringLiteral("CAMPO021"), Mostra::Hidden,
      QStringLiteral("(EXTRACT (YEAR from CAMPO021)) AS ANNO"));
  add(QStringLiteral("CAMPO031"), Mostra::Hidden, QStringLiteral("(Calc (Sum(CAMPO031)) as Tot)"));
  add(QStringLiteral("LANCISTAMPA = A"), Mostra::LeftJoin);
  add(QStringLiteral("A.ID"), Mostra::LinkKey, QStringLiteral("CAMPO001"));
  for (int i = 0; i < 10; ++i) add(QStringLiteral("A.NOTE%1").arg(i), Mostra::Shown, "x");
  add(QStringLiteral("ACQUISIZIONI = B"), Mostra::LeftJoin, QStringLiteral("P"));
  add(QStringLiteral("B.ID"), Mostra::LinkKey, QStringLiteral("A.ID"));
  for (int i = 0; i < 10; ++i) add(QStringLiteral("B.FILE%1").arg(i), Mostra::Shown, "y");
  return rows;
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 2000;
  QHash<QString, db::FieldType> types;
  const QList<Row> rows = designerRows(types);
  const query::engine::FieldTypeLookup lookup = [&types](const QString& table,
                                                         const QString& field) {
    return types.value(table + QLatin1Char('.') + field, db::FieldType::String);
  };

  qsizetype lines = 0;
  QElapsedTimer timer;
  timer.start();
  for (int i = 0; i < runs; ++i)
    lines += query::engine::buildStatement(rows, 1, static_cast<int>(rows.size()),
                                           QStringLiteral("ARTICOLI"), lookup)
                 .lines.size();
  const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6 / runs;
  std::printf("query_generation: %lld rows, %lld lines per statement, %d runs: %.3f ms each\n",
              static_cast<long long>(rows.size()), static_cast<long long>(lines / runs), runs, ms);
  return ms < 5.0 ? 0 : 1;
}
