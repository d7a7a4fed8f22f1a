#include <gtest/gtest.h>

#include <QDate>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cmath>

#include "core/Paths.h"
#include "platform/localstore/LocalTable.h"
#include "platform/localstore/LocalTableState.h"

using namespace platform::localstore;

namespace {

LocalColumns lineColumns() {
  return {{QStringLiteral("NumeroPagina"), ColumnType::SmallInt},
          {QStringLiteral("NumeroRiga"), ColumnType::Float},
          {QStringLiteral("TipoRiga"), ColumnType::SmallInt},
          {QStringLiteral("Descrizione"), ColumnType::Text, 136}};
}

class LocalTables : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir_.isValid()); }

  QString directory() const { return core::storedPath(dir_.path()); }

  // Creates NAME with the line columns and `rows` rows.
  void createTable(const QString& name, int rows = 0) {
    LocalTable table(directory(), name);
    table.setColumns(lineColumns());
    table.setIndexFields({QStringLiteral("NumeroPagina"), QStringLiteral("NumeroRiga")});
    ASSERT_TRUE(table.create()) << table.lastError().toStdString();
    ASSERT_TRUE(table.open()) << table.lastError().toStdString();
    for (int i = 0; i < rows; ++i)
      ASSERT_TRUE(table.append({1, double(i), QVariant(), QStringLiteral("riga %1").arg(i)}));
  }

  qint64 rowsOf(const QString& name) {
    LocalTable table(directory(), name);
    return table.open() ? table.rowCount() : -1;
  }

  // Another process holding NAME exclusively until the returned process ends.
  std::unique_ptr<QProcess> holdElsewhere(const QString& name) {
    auto holder = std::make_unique<QProcess>();
    holder->start(QStringLiteral(ORBELAN_LOCAL_TABLE_HOLDER), {directory(), name});
    EXPECT_TRUE(holder->waitForStarted());
    EXPECT_TRUE(holder->waitForReadyRead(10000));
    EXPECT_EQ(holder->readLine().trimmed(), "held");
    return holder;
  }

  static void release(QProcess& holder) {
    holder.closeWriteChannel();
    holder.waitForFinished();
  }

  QTemporaryDir dir_;
};

TEST_F(LocalTables, RowsComeBackInIndexOrderWithTheirTypes) {
  LocalTable table(directory(), QStringLiteral("TIPI.DB"));
  table.setColumns({{QStringLiteral("Pagina"), ColumnType::SmallInt},
                    {QStringLiteral("Importo"), ColumnType::Float},
                    {QStringLiteral("Giorno"), ColumnType::Date},
                    {QStringLiteral("Nota \"citata\""), ColumnType::Memo}});
  table.setIndexFields({QStringLiteral("Pagina")});
  ASSERT_TRUE(table.create()) << table.lastError().toStdString();
  ASSERT_TRUE(table.open());
  ASSERT_TRUE(table.beginBatch());
  ASSERT_TRUE(table.append({2, 2.5, QDate(2026, 12, 9), QStringLiteral("perché")}));
  ASSERT_TRUE(table.append({1, QVariant(), QVariant(), QStringLiteral("prima")}));
  ASSERT_TRUE(table.commitBatch());

  QList<QVariantList> rows;
  ASSERT_TRUE(table.walk([&](qint64, const QVariantList& values) {
    rows.append(values);
    return true;
  }));
  ASSERT_EQ(rows.size(), 2);
  EXPECT_EQ(rows[0][0].toInt(), 1);
  EXPECT_TRUE(rows[0][1].isNull());
  EXPECT_EQ(rows[1][2].toDate(), QDate(2026, 12, 9));
  EXPECT_EQ(rows[1][3].toString(), QStringLiteral("perché"));

  // A reopened table knows its own columns; a reader sees the same rows.
  table.close();
  LocalTable reopened(directory(), QStringLiteral("TIPI.DB"));
  ASSERT_TRUE(reopened.open());
  EXPECT_EQ(reopened.columns().at(3).name, QStringLiteral("Nota \"citata\""));
  EXPECT_EQ(reopened.columns().at(2).type, ColumnType::Date);
  reopened.close();
  LocalColumns columns;
  QString error;
  ASSERT_TRUE(readLocalTable(directory() + QLatin1Char('\\'), QStringLiteral("TIPI.DB"), &columns,
                             &rows, &error))
      << error.toStdString();
  EXPECT_EQ(rows.size(), 2);
  EXPECT_EQ(columns.size(), 4);
}

TEST_F(LocalTables, IntegerColumnsRoundFractionsButNeverWrapAround) {
  LocalTable table(directory(), QStringLiteral("INTERI.DB"));
  table.setColumns({{QStringLiteral("Numero"), ColumnType::BigInt}});
  ASSERT_TRUE(table.create()) << table.lastError().toStdString();
  ASSERT_TRUE(table.open());
  for (const double value : {7.9, -2.5, 1e30, std::nan("")}) ASSERT_TRUE(table.append({value}));
  QVariantList values;
  ASSERT_TRUE(table.walk([&](qint64, const QVariantList& row) {
    values.append(row.at(0));
    return true;
  }));
  ASSERT_EQ(values.size(), 4);
  EXPECT_EQ(values[0].toLongLong(), 8);
  EXPECT_EQ(values[1].toLongLong(), -3);
  EXPECT_DOUBLE_EQ(values[2].toDouble(), 1e30) << "too large for 64 bits: kept, not cast";
  EXPECT_TRUE(values[3].isNull());
}

TEST_F(LocalTables, UpdatesByRowAndAnUnfinishedBatchIsNotKept) {
  createTable(QStringLiteral("RIGHET.DB"), 3);
  LocalTable table(directory(), QStringLiteral("RIGHET.DB"));
  ASSERT_TRUE(table.open(LocalTable::Access::Exclusive));
  QList<qint64> ids;
  table.walk([&](qint64 id, const QVariantList&) {
    ids.append(id);
    return true;
  });
  ASSERT_TRUE(table.setValue(ids[1], 3, QStringLiteral("cambiata")));
  ASSERT_TRUE(table.beginBatch());
  ASSERT_TRUE(table.append({9, 9.0, QVariant(), QStringLiteral("a metà")}));
  table.close();

  LocalColumns columns;
  QList<QVariantList> rows;
  QString error;
  ASSERT_TRUE(readLocalTable(directory(), QStringLiteral("RIGHET.DB"), &columns, &rows, &error));
  ASSERT_EQ(rows.size(), 3);
  EXPECT_EQ(rows[1][3].toString(), QStringLiteral("cambiata"));
}

TEST_F(LocalTables, NextFreeNames) {
  EXPECT_EQ(ProssimoNomeLibero(QStringLiteral("RIGHET.DB")), QStringLiteral("RIGHE01.DB"));
  EXPECT_EQ(ProssimoNomeLibero(QStringLiteral("RIGHE01.DB")), QStringLiteral("RIGHE02.DB"));
  EXPECT_EQ(ProssimoNomeLibero(QStringLiteral("TESTATT.DB")), QStringLiteral("TESTA01.DB"));
  EXPECT_EQ(ProssimoNomeLibero(QStringLiteral("SUM99.DB")), QStringLiteral("SUM100.DB"));
  EXPECT_EQ(ProssimoNomeLibero(QStringLiteral("graftmp.db")), QStringLiteral("GRAFT01.DB"));
  EXPECT_EQ(ProssimoNomeLibero(QStringLiteral("AB+1.DB")), QStringLiteral("AB+101.DB"));
}

TEST_F(LocalTables, StateOfAFreeAndOfAnAbsentTable) {
  LocalTable absent(directory(), QStringLiteral("GRAFTMP.DB"));
  EXPECT_EQ(StatoTabellaLocale(absent), kNonEsiste);
  EXPECT_FALSE(absent.isOpen());

  createTable(QStringLiteral("GRAFTMP.DB"), 5);
  LocalTable free(directory(), QStringLiteral("GRAFTMP.DB"));
  EXPECT_EQ(StatoTabellaLocale(free), kEsisteLibera);
  EXPECT_EQ(free.name(), QStringLiteral("GRAFTMP.DB"));
  EXPECT_TRUE(free.isExclusive());
  EXPECT_EQ(free.rowCount(), 0);
}

// Exclusive opening fails at once while another process holds the table,
// and the state check then moves to the next name that is free or absent.
TEST_F(LocalTables, TablesHeldByAnotherProcess) {
  createTable(QStringLiteral("GRAFTMP.DB"), 2);
  createTable(QStringLiteral("GRAFT01.DB"), 4);
  auto holder = holdElsewhere(QStringLiteral("GRAFTMP.DB"));

  LocalTable table(directory(), QStringLiteral("GRAFTMP.DB"));
  EXPECT_FALSE(table.open(LocalTable::Access::Exclusive));
  EXPECT_FALSE(table.open(LocalTable::Access::Shared));
  EXPECT_FALSE(table.remove());
  EXPECT_EQ(StatoTabellaLocale(table), kEsisteOccupata);
  EXPECT_EQ(table.name(), QStringLiteral("GRAFT01.DB"));
  EXPECT_TRUE(table.isExclusive());
  EXPECT_EQ(table.rowCount(), 0);

  // With GRAFT01 held here as well, the next name does not exist yet.
  LocalTable second(directory(), QStringLiteral("GRAFTMP.DB"));
  EXPECT_EQ(StatoTabellaLocale(second), kEsisteOccupata);
  EXPECT_EQ(second.name(), QStringLiteral("GRAFT02.DB"));
  EXPECT_FALSE(second.exists());

  // The alternative table goes away when its user is done; the usual one
  // stays with its holder.
  ASSERT_TRUE(dropAlternativeTable(table, QStringLiteral("GRAFTMP.DB")));
  EXPECT_FALSE(QFile::exists(dir_.filePath(QStringLiteral("GRAFT01.DB"))));
  release(*holder);
  EXPECT_EQ(rowsOf(QStringLiteral("GRAFTMP.DB")), 2);
  LocalTable usual(directory(), QStringLiteral("GRAFTMP.DB"));
  EXPECT_TRUE(dropAlternativeTable(usual, QStringLiteral("GRAFTMP.DB")));
  EXPECT_TRUE(usual.exists());
}

TEST_F(LocalTables, RefusalsLeaveAReason) {
  LocalTable table(directory(), QStringLiteral("NESSUNA.DB"));
  EXPECT_FALSE(table.open());
  EXPECT_TRUE(table.lastError().contains(QStringLiteral("NESSUNA.DB")));
  EXPECT_FALSE(table.create());  // no columns defined

  createTable(QStringLiteral("RICHIESTO.DB"));
  LocalTable required(directory(), QStringLiteral("REQ.DB"));
  required.setColumns({{QStringLiteral("Codice"), ColumnType::Text, 10, true}});
  ASSERT_TRUE(required.create());
  ASSERT_TRUE(required.open());
  EXPECT_FALSE(required.append({QVariant()}));
  EXPECT_FALSE(required.append({1, 2}));
  EXPECT_EQ(required.rowCount(), 0);
}

TEST_F(LocalTables, WorkDirectoryIsCreatedAndEntered) {
  const QString before = QDir::currentPath();
  const QString nested = directory() + QStringLiteral("\\QUERY\\RISPTMP\\SUMPROG");
  ASSERT_TRUE(createWorkDirectory(nested));
  EXPECT_EQ(QDir::currentPath(), QDir(core::nativePath(nested)).canonicalPath());
  QDir::setCurrent(before);
}

}  // namespace
