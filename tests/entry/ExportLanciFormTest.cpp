#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>

#include "db/Query.h"
#include "db/Transaction.h"
#include "entry/Launch.h"
#include "labels/ExportLanciForm.h"
#include "support/FirebirdFixture.h"
#include "support/HostInstallation.h"
#include "support/ScriptedUi.h"

namespace {

class ExportLanciFormTest : public ::testing::Test {
 protected:
  ExportLanciFormTest() : guard_(prompter_) {
    host_.openArchive(archive_);
    // Launch 900: three labels, exported before, one with an order. Launch
    // 901: one label without order. Launch 902: not exported, with an order.
    // The demo adds launch 1: ten labels without orders, not exported.
    runStatement(archive_,
                 "INSERT INTO LANCISTAMPA (ID,DATA,ESPORTATO,DATAEXPORT) "
                 "VALUES (900,'03/01/2024','1','03/02/2024')");
    runStatement(archive_, "INSERT INTO LANCISTAMPA (ID,DATA) VALUES (901,'03/02/2024')");
    runStatement(archive_,
                 "INSERT INTO LANCISTAMPA (ID,DATA,ESPORTATO) VALUES (902,'03/03/2024','0')");
    runStatement(archive_,
                 "INSERT INTO ETICHETTE (ID,CODICE,DESCRIZIONE,ORDINE,IDLANCIOSTAMPA) "
                 "VALUES (9001,'C1','GILET','ORD1',900)");
    runStatement(archive_,
                 "INSERT INTO ETICHETTE (ID,CODICE,DESCRIZIONE,IDLANCIOSTAMPA) "
                 "VALUES (9002,'C2','uno;due',900)");
    runStatement(archive_,
                 "INSERT INTO ETICHETTE (ID,CODICE,IDLANCIOSTAMPA) VALUES (9003,'C3',900)");
    runStatement(archive_,
                 "INSERT INTO ETICHETTE (ID,CODICE,IDLANCIOSTAMPA) VALUES (9004,'C4',901)");
    runStatement(
        archive_,
        "INSERT INTO ETICHETTE (ID,CODICE,ORDINE,IDLANCIOSTAMPA) VALUES (9005,'C5','O2',902)");
  }
  ~ExportLanciFormTest() override {
    if (window_) window_->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  TExportLanciForm& open() {
    window_ = qobject_cast<TExportLanciForm*>(entry::LanciaExportLanci(1));
    EXPECT_NE(window_, nullptr);
    grid_ = window_->findChild<QTableView*>("GridLanci");
    return *window_;
  }
  QStringList listed() {
    QAbstractItemModel* model = grid_->model();
    while (model->canFetchMore(QModelIndex())) model->fetchMore(QModelIndex());
    QStringList ids;
    for (int row = 0; row < model->rowCount(); ++row) ids << model->index(row, 0).data().toString();
    ids.sort();
    return ids;
  }
  void selectLaunch(const QString& id) {
    QAbstractItemModel* model = grid_->model();
    while (model->canFetchMore(QModelIndex())) model->fetchMore(QModelIndex());
    for (int row = 0; row < model->rowCount(); ++row)
      if (model->index(row, 0).data().toString() == id) {
        grid_->setCurrentIndex(model->index(row, 1));
        return;
      }
    ADD_FAILURE() << "launch " << id.toStdString() << " not listed";
  }
  void click(const char* name) { window_->findChild<QAbstractButton*>(name)->click(); }
  QString exportState(int id) {
    return readOne(archive_,
                   QStringLiteral("SELECT COALESCE(ESPORTATO,'-')||' '||COALESCE(DATAEXPORT,'-') "
                                  "FROM LANCISTAMPA WHERE ID=%1")
                       .arg(id));
  }
  static QString today() { return QDate::currentDate().toString(Qt::ISODate); }

  HostInstallation host_;
  ScriptedPrompter prompter_;
  ScopedPrompter guard_;
  db::Database archive_;
  TExportLanciForm* window_ = nullptr;
  QTableView* grid_ = nullptr;
};

TEST_F(ExportLanciFormTest, TheCheckBoxesReopenTheLaunchList) {
  TExportLanciForm& window = open();
  EXPECT_EQ(window.windowTitle(), "Export lanci - Ditta: DEMO SRL");
  EXPECT_EQ(window.findChild<QPushButton*>("ButtonExport")->text(), "&Export");
  EXPECT_EQ(window.findChild<QPushButton*>("ButtonChiudi")->text(), "&Chiudi");
  ASSERT_EQ(grid_->model()->columnCount(), 4);
  EXPECT_EQ(grid_->model()->headerData(3, Qt::Horizontal, Qt::DisplayRole).toString(),
            "DATAEXPORT");
  EXPECT_EQ(listed(), (QStringList{"1", "900", "901", "902"}));
  click("CheckEsportati");
  EXPECT_EQ(listed(), (QStringList{"1", "901", "902"}));
  click("CheckSenzaOrdine");
  EXPECT_EQ(listed(), (QStringList{"902"}));
  click("CheckEsportati");
  EXPECT_EQ(listed(), (QStringList{"900", "902"}));
  EXPECT_TRUE(prompter_.texts().isEmpty()) << prompter_.texts().join('\n').toStdString();
}

TEST_F(ExportLanciFormTest, ExportWritesTheFileMarksTheLaunchAndReopensTheList) {
  open();
  click("CheckEsportati");
  selectLaunch("902");
  QTemporaryDir dir;
  // Cancelling the file choice does nothing.
  click("ButtonExport");
  EXPECT_TRUE(prompter_.texts().isEmpty());
  EXPECT_EQ(exportState(902), "0 -");

  prompter_.saveFile(dir.filePath("lancio902.txt"));
  click("ButtonExport");
  EXPECT_EQ(prompter_.texts(), QStringList{"Export effettuato"});
  QFile written(dir.filePath("lancio902.CSV"));
  ASSERT_TRUE(written.open(QIODevice::ReadOnly));
  EXPECT_EQ(written.readAll(), "9005;;C5;;;;O2;;;;;;;;;;902;\r\n");
  EXPECT_EQ(exportState(902), "1 " + today());
  EXPECT_EQ(listed(), (QStringList{"1", "901"})) << "the exported launch leaves the list";

  // A launch of three labels, exported again: the date moves to today.
  click("CheckEsportati");
  selectLaunch("900");
  prompter_.reset();
  prompter_.saveFile(dir.filePath("lancio900"));
  click("ButtonExport");
  EXPECT_EQ(prompter_.texts(), QStringList{"Export effettuato"});
  written.close();
  written.setFileName(dir.filePath("lancio900.CSV"));
  ASSERT_TRUE(written.open(QIODevice::ReadOnly));
  EXPECT_EQ(written.readAll(),
            "9001;;C1;;GILET;;ORD1;;;;;;;;;;900;\r\n"
            "9002;;C2;;uno;due;;;;;;;;;;;;900;\r\n"
            "9003;;C3;;;;;;;;;;;;;;900;\r\n");
  EXPECT_EQ(exportState(900), "1 " + today());
}

TEST_F(ExportLanciFormTest, FailuresSayWhatHappenedAndLeaveTheLaunchUnmarked) {
  open();
  selectLaunch("902");
  QTemporaryDir dir;
  prompter_.saveFile(dir.filePath("manca/lancio.txt"));
  click("ButtonExport");
  ASSERT_EQ(prompter_.messages().size(), 1u);
  EXPECT_EQ(prompter_.messages()[0].kind, ui::MessageKind::Error);
  EXPECT_TRUE(prompter_.texts()[0].startsWith("Export non effettuato: "));
  EXPECT_EQ(exportState(902), "0 -");
  EXPECT_TRUE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());

  // Another user holds the launch row: the file is written, the marking fails.
  db::Transaction other(archive_);
  db::Query lock(archive_, other);
  lock.sql = QStringList{"UPDATE LANCISTAMPA SET NOTE='X' WHERE ID=902"};
  lock.execSql();
  prompter_.reset();
  prompter_.saveFile(dir.filePath("lancio.txt"));
  click("ButtonExport");
  EXPECT_EQ(prompter_.texts(),
            QStringList{"Errore interno durante il settaggio a esportato del lancio di stampa"});
  EXPECT_TRUE(QFile::exists(dir.filePath("lancio.CSV")));
  other.rollback();
  EXPECT_EQ(exportState(902), "0 -");

  // No launch in the list.
  window_->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  runStatement(archive_, "UPDATE ETICHETTE SET IDLANCIOSTAMPA=NULL");
  open();
  prompter_.reset();
  click("ButtonExport");
  EXPECT_EQ(prompter_.texts(), QStringList{"Nessun lancio selezionato"});
}

}  // namespace
