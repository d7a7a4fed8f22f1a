#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "core/Cp1252.h"
#include "core/Paths.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "env/TabX.h"
#include "labels/RistampaBarcode1Form.h"
#include "labels/VopraDocument.h"
#include "platform/printing/DefaultPrinter.h"
#include "support/FirebirdFixture.h"
#include "support/HostInstallation.h"
#include "support/PrivateCups.h"
#include "support/ScriptedUi.h"
#include "support/SocketPrinter.h"

namespace {

class RistampaBarcode1FormTest : public ::testing::Test {
 protected:
  RistampaBarcode1FormTest() : guard_(prompter_) {
    qputenv("ORBELAN_LIBRARY_DIR", ORBELAN_FAKE_VOPRA_DIR);
    qputenv("ORBELAN_TEST_SIBLING_OUT", QFile::encodeName(out_.filePath("call.txt")));
    qunsetenv("ORBELAN_TEST_SIBLING_READ");
    qunsetenv("ORBELAN_VOPRA_PDF");
  }
  ~RistampaBarcode1FormTest() override {
    qunsetenv("ORBELAN_LIBRARY_DIR");
    qunsetenv("ORBELAN_VOPRA_PDF");
  }
  // The window as its launch opens it for a user.
  TRistampaBarcode1Form* window(int user = 1) {
    auto env = std::make_unique<TTabXForm>(nullptr, TTabXForm::ModoDatabase);
    env->SetUserPerNum(user);
    env->Inserisci("QZV", "Archivio", "", host_.archive(), "", "", "", "", "1");
    env->Inserisci("QZV", "BinDir", "", host_.binDir(), "", "", "", "", "1");
    env->Inserisci("LBL", "StRistampaBarcode1", "", host_.binDir() + "Report\\ETICHETTA.LBL", "",
                   "", "", "", "1");
    EXPECT_TRUE(env->ConnettiDatabase1("Archivio"));
    auto* form = new TRistampaBarcode1Form(nullptr, std::move(env));
    form->setStandalone(true);
    return form;
  }
  static void add(TRistampaBarcode1Form& form, const QString& barcode,
                  const QString& descrizione = {}) {
    control<QLineEdit>(form, "EditDescrizione")->setText(descrizione);
    auto* edit = control<QLineEdit>(form, "EditBarcode");
    edit->setText(barcode);
    QTest::keyClick(edit, Qt::Key_Return);
  }
  static void close(TRistampaBarcode1Form* form) {
    form->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  int tableCount(TRistampaBarcode1Form& form, const QString& name) {
    return readOne(form.ambiente().IBDatabase1,
                   "SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME='" + name + "'")
        .toInt();
  }
  QStringList rowsOf(TRistampaBarcode1Form& form) {
    QStringList list;
    // As the print library reads them: committed, seen from a new transaction.
    db::Transaction reading(form.ambiente().IBDatabase1);
    db::Query query(form.ambiente().IBDatabase1, reading);
    query.sql << "SELECT NPAGINA||'.'||NRIGA||' '||BARCODE FROM " + form.tabellaStampa()
              << "ORDER BY NPAGINA,NRIGA";
    for (query.open(); !query.isEof(); query.next()) list << query.text(query.field(0).name);
    return list;
  }
  QString call() const {
    QFile file(out_.filePath("call.txt"));
    return file.open(QIODevice::ReadOnly) ? core::fromCp1252(file.readAll()) : QString();
  }
  void print(TRistampaBarcode1Form& form, const QString& start = {}) {
    control<QLineEdit>(form, "EditBarcodeInizio")->setText(start);
    prompter_.answer(ui::Yes);
    control<QPushButton>(form, "ButtonStampa")->click();
  }

  HostInstallation host_;
  QTemporaryDir out_;
  ScriptedPrompter prompter_;
  ScopedPrompter guard_;
};

TEST_F(RistampaBarcode1FormTest, DecodingFillsTheBoxesOrSaysWhy) {
  auto* form = window();
  auto text = [form](const char* name) { return control<QLineEdit>(*form, name)->text(); };
  auto* decodifica = control<QPushButton>(*form, "ButtonDecodifica");
  const QString serial =
      readOne(form->ambiente().IBDatabase1, "SELECT FIRST 1 NUMEROSERIALE FROM MOVMAG ORDER BY ID");
  control<QLineEdit>(*form, "EditBarcode")->setText(serial);
  decodifica->click();
  EXPECT_FALSE(text("EditCodice").isEmpty());
  EXPECT_FALSE(text("EditModello").isEmpty());
  EXPECT_TRUE(text("EditDescrizione").contains(" - "));

  control<QLineEdit>(*form, "EditBarcode")->setText("O'NEVER");
  decodifica->click();
  EXPECT_TRUE(text("EditCodice").isEmpty());
  EXPECT_TRUE(text("EditDescrizione").isEmpty());
  control<QLineEdit>(*form, "EditBarcode")->clear();
  decodifica->click();
  EXPECT_EQ(prompter_.texts(),
            QStringList({"Barcode mai movimentato!", "Devi inserire un barcode non vuoto!"}));

  // Re-entering a barcode offers to remove it; case matters.
  add(*form, "A");
  add(*form, "a");
  prompter_.answer(ui::No);
  add(*form, "A");
  EXPECT_EQ(form->MemTabRistampa.rowCount(), 2);
  prompter_.answer(ui::Yes);
  add(*form, "A");
  EXPECT_EQ(form->MemTabRistampa.rowCount(), 1);
  EXPECT_TRUE(control<QLineEdit>(*form, "EditBarcode")->text().isEmpty());
  close(form);
}

TEST_F(RistampaBarcode1FormTest, EnterOnAnEmptyBoxAddsNothingAndRowNumbersNeverRepeat) {
  auto* form = window();
  add(*form, "");
  add(*form, "", "descrizione senza barcode");
  EXPECT_EQ(form->MemTabRistampa.rowCount(), 0);
  EXPECT_TRUE(prompter_.texts().isEmpty());

  add(*form, "N1");
  add(*form, "N2");
  add(*form, "N3");
  prompter_.answer(ui::Yes);
  add(*form, "N2");
  add(*form, "N4");
  QStringList numbers;
  for (form->MemTabRistampa.first(); !form->MemTabRistampa.isEof(); form->MemTabRistampa.next())
    numbers << form->MemTabRistampa.text("BARCODE") + "=" + form->MemTabRistampa.text("NRIGA");
  EXPECT_EQ(numbers, QStringList({"N1=1", "N3=3", "N4=4"}));
  close(form);
}

TEST_F(RistampaBarcode1FormTest, GridDeleteAsksAndDoubleClickSetsTheStartBarcode) {
  auto* form = window();
  add(*form, "P1");
  add(*form, "P2");
  auto* grid = control<QAbstractItemView>(*form, "GridRistampa");
  grid->setCurrentIndex(grid->model()->index(1, 1));
  QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {},
                     grid->visualRect(grid->currentIndex()).center());
  EXPECT_EQ(control<QLineEdit>(*form, "EditBarcodeInizio")->text(), "P2");
  prompter_.answer(ui::No);
  QTest::keyClick(grid, Qt::Key_Delete);
  EXPECT_EQ(form->MemTabRistampa.rowCount(), 2);
  prompter_.answer(ui::Yes);
  QTest::keyClick(grid, Qt::Key_Delete);
  ASSERT_EQ(form->MemTabRistampa.rowCount(), 1);
  form->MemTabRistampa.first();
  EXPECT_EQ(form->MemTabRistampa.text("BARCODE"), "P1");
  EXPECT_EQ(prompter_.texts(), QStringList({"Eliminare dalla lista di stampa il barcode P2?",
                                            "Eliminare dalla lista di stampa il barcode P2?"}));
  close(form);
}

TEST_F(RistampaBarcode1FormTest, TwoWindowsOfOneUserUseTwoTablesDroppedOnClosing) {
  auto* first = window(5);
  auto* second = window(5);
  const QString a = first->tabellaStampa();
  const QString b = second->tabellaStampa();
  ASSERT_TRUE(a.startsWith("TMP_ST_USER5_"));
  ASSERT_TRUE(b.startsWith("TMP_ST_USER5_"));
  EXPECT_NE(a, b);
  EXPECT_EQ(tableCount(*second, a), 1);
  close(first);
  EXPECT_EQ(tableCount(*second, a), 0);
  EXPECT_EQ(tableCount(*second, b), 1);
  close(second);
}

TEST_F(RistampaBarcode1FormTest, PrintWritesPagesAndCallsTheSiblingOnTheLabelPrinter) {
  const QString initial = "Ufficio,winspool,Ne00:";
  ASSERT_TRUE(platform::printing::setDefaultPrinterEntry(initial));
  {
    auto* setup = window(3);
    db::Query insert(setup->ambiente().IBDatabase1, setup->ambiente().IBTransaction1);
    insert.sql << "INSERT INTO TABX (CODICE,NOME,TESTO,UTENTE) VALUES "
                  "(99999,'StampanteEtichetteArt','Zebra,winspool,Ne01:',3)";
    insert.execSql();
    setup->ambiente().IBTransaction1.commitRetaining();
    close(setup);
  }
  qputenv("ORBELAN_TEST_SIBLING_READ",
          QFile::encodeName(core::nativePath(platform::printing::systemProfilePath())));
  auto* form = window(3);
  EXPECT_EQ(form->stampanteEtichette(), "Zebra,winspool,Ne01:");
  for (int i = 1; i <= 17; ++i) add(*form, QStringLiteral("R%1").arg(i, 2, 10, QChar('0')));
  print(*form);
  QStringList rows = rowsOf(*form);
  ASSERT_EQ(rows.size(), 17);
  EXPECT_EQ(rows.at(15), "1.16 R16");
  EXPECT_EQ(rows.at(16), "2.1 R17");
  const QString document =
      labels::reprintDocument(host_.binDir() + "Report\\ETICHETTA.LBL", {}, form->tabellaStampa());
  const QString recorded = call();
  EXPECT_TRUE(recorded.startsWith("3|0|" + document + "\n")) << recorded.toStdString();
  EXPECT_TRUE(recorded.contains("device=Zebra,winspool,Ne01:")) << recorded.toStdString();
  EXPECT_EQ(platform::printing::defaultPrinterEntry(), initial);

  for (int i = 18; i <= 20; ++i) add(*form, QStringLiteral("R%1").arg(i));
  print(*form, "R10");
  rows = rowsOf(*form);
  ASSERT_EQ(rows.size(), 11);
  EXPECT_EQ(rows.first(), "1.1 R10");
  EXPECT_EQ(rows.last(), "1.11 R20");

  // A barcode too long for the table: nothing printed, the message shown.
  QFile::remove(out_.filePath("call.txt"));
  add(*form, QString(25, 'X'));
  print(*form, QString(25, 'X'));
  EXPECT_TRUE(call().isEmpty());
  EXPECT_TRUE(prompter_.texts().contains(
      "Errore interno durante il rivesramento dei dati nella  tabella temporanea di stampa"));
  EXPECT_EQ(platform::printing::defaultPrinterEntry(), initial);

  // A failure inside the library: its message, the default printer back.
  prompter_.answer(ui::Yes);
  add(*form, QString(25, 'X'));
  qputenv("ORBELAN_TEST_SIBLING_THROW", "1");
  print(*form);
  qunsetenv("ORBELAN_TEST_SIBLING_THROW");
  EXPECT_EQ(prompter_.texts().last(), "Errore nell'accesso alla DLL Vopra");
  EXPECT_EQ(platform::printing::defaultPrinterEntry(), initial);
  close(form);
}

TEST_F(RistampaBarcode1FormTest, TheSiblingLibraryPrintsTheRowsOfTheTable) {
  qputenv("ORBELAN_LIBRARY_DIR", ORBELAN_BUILT_LIBRARY_DIR);
  const QString pdf = out_.filePath("vopra.pdf");
  qputenv("ORBELAN_VOPRA_PDF", QFile::encodeName(pdf));
  auto* form = window();
  add(*form, "S001", "GIACCA BLU");
  add(*form, "S002", "L'ABITO");
  print(*form);
  close(form);
  ASSERT_TRUE(QFile::exists(pdf));
  QProcess text;
  text.start("pdftotext", {pdf, "-"});
  ASSERT_TRUE(text.waitForFinished(30000));
  const QString printed = QString::fromUtf8(text.readAllStandardOutput());
  EXPECT_TRUE(printed.contains("GIACCA BLU")) << printed.toStdString();
  EXPECT_TRUE(printed.contains(QString::fromUtf8("L´ABITO"))) << printed.toStdString();
}

TEST_F(RistampaBarcode1FormTest, LanciaStampaConDllPrintsAnInMemoryTableOrPassesOver) {
  TTabXForm env(nullptr, TTabXForm::ModoNudo);
  env.Inserisci("TXT", "NomeReport", "", "", "", "", "", "", "");
  env.Inserisci("TXT", "TitoloStampa", "", "", "", "", "", "", "");
  db::MemTable table;
  table.addField("BARCODE", db::FieldType::String, 20);
  table.addField("DESCRIZIONE", db::FieldType::String, 30);
  table.open();
  for (const char* text : {"CAPPOTTO ROSSO", "GONNA NERA"}) {
    table.append();
    table.setValue("BARCODE", QString::fromLatin1(text).left(5));
    table.setValue("DESCRIZIONE", QString::fromLatin1(text));
    table.post();
  }
  // No library: nothing happens and nothing is said.
  qputenv("ORBELAN_LIBRARY_DIR", QFile::encodeName(out_.filePath("none")));
  env.LanciaStampaConDll("Elenco", host_.binDir() + "Report\\ETICHETTA.LBL", &table);
  EXPECT_TRUE(prompter_.texts().isEmpty());

  qputenv("ORBELAN_LIBRARY_DIR", ORBELAN_BUILT_LIBRARY_DIR);
  const QString pdf = out_.filePath("mem.pdf");
  qputenv("ORBELAN_VOPRA_PDF", QFile::encodeName(pdf));
  env.LanciaStampaConDll("Elenco", host_.binDir() + "Report\\ETICHETTA.LBL", &table);
  EXPECT_EQ(env.GetV("TitoloStampa"), "Elenco");
  QProcess text;
  text.start("pdftotext", {pdf, "-"});
  ASSERT_TRUE(text.waitForFinished(30000));
  const QString printed = QString::fromUtf8(text.readAllStandardOutput());
  EXPECT_TRUE(printed.contains("CAPPOTTO ROSSO")) << printed.toStdString();
  EXPECT_TRUE(printed.contains("GONNA NERA")) << printed.toStdString();
  EXPECT_TRUE(prompter_.texts().isEmpty());
}

// The sibling library prints without a dialog on the default printer, which
// the window makes the user's label printer for the print: the labels reach
// that printer, not the CUPS default.
TEST_F(RistampaBarcode1FormTest, TheSiblingLibraryPrintsOnTheLabelPrinterTheWindowMadeDefault) {
  REQUIRE_CUPSD();
  PrivateCups cups;
  ASSERT_TRUE(cups.isRunning()) << cups.error().toStdString();
  SocketPrinter labelPrinter, office;
  ASSERT_TRUE(cups.addRawQueue("Etichette", labelPrinter.port())) << cups.error().toStdString();
  ASSERT_TRUE(cups.addRawQueue("Ufficio", office.port())) << cups.error().toStdString();
  ASSERT_TRUE(cups.setDefault("Ufficio")) << cups.error().toStdString();
  qputenv("ORBELAN_LIBRARY_DIR", ORBELAN_BUILT_LIBRARY_DIR);
  {
    auto* setup = window(1);
    db::Query insert(setup->ambiente().IBDatabase1, setup->ambiente().IBTransaction1);
    insert.sql << "INSERT INTO TABX (CODICE,NOME,TESTO,UTENTE) VALUES (99998,"
                  "'StampanteEtichetteArt','Etichette,," +
                      labelPrinter.deviceUri() + "',1)";
    insert.execSql();
    setup->ambiente().IBTransaction1.commitRetaining();
    close(setup);
  }
  auto* form = window(1);
  add(*form, "S001", "GIACCA BLU");
  print(*form);
  close(form);
  EXPECT_EQ(labelPrinter.waitForJobs(1).size(), 1) << cups.log().toStdString();
  EXPECT_TRUE(office.jobs().isEmpty()) << "the labels went to the CUPS default printer";
  EXPECT_EQ(platform::printing::defaultPrinterEntry(), ",,,") << "default printer restored";
  EXPECT_EQ(prompter_.texts(), QStringList{"Avviare la stampa?"});
}

}  // namespace
