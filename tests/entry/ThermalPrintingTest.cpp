#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "core/IniFile.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "entry/Launch.h"
#include "env/TabX.h"
#include "grid/QuovGrid.h"
#include "grid/RadioGroup.h"
#include "labels/GestEticForm.h"
#include "labels/PrintLaunch.h"
#include "labels/ThermalPrinting.h"
#include "platform/printing/DefaultPrinter.h"
#include "support/FirebirdFixture.h"
#include "support/HostInstallation.h"
#include "support/PrivateCups.h"
#include "support/ScriptedUi.h"
#include "support/SocketPrinter.h"

using namespace labels;

namespace {

QString tag(const QList<QPair<QString, QString>>& tags, const QString& name) {
  for (const auto& [key, value] : tags)
    if (key == name) return value;
  return "<missing>";
}

}  // namespace

TEST(ThermalTags, DescriptionWithoutDashGoesWholeIntoTheFirstTagUnlikeTheEngine) {
  const LabelRow plain{"12345678901234567890", "Cotone", "  Camicia lino  ", "RIASS", "ORD123",
                       "8001234567890"};
  const auto tags = thermalTags(plain, true);
  EXPECT_EQ(tag(tags, "<Descrizione>"), "  Camicia lino  ");
  EXPECT_EQ(tag(tags, "<Descrizione1>"), "");
  const LabelVariables engine = labelVariables(plain, true);
  EXPECT_EQ(engine.descrizione, "") << "the engine variables do the opposite";
  EXPECT_EQ(tag(tags, "<CodiceBarre>"), "1234567890123456");
  EXPECT_EQ(tag(tags, "<Ordine>"), "D123");
  EXPECT_EQ(tag(tags, "<Codice_EAN>"), "8001234567890");

  const auto dashed = thermalTags({"C1", "D", "Camicia - Lino blu", "", "ORD1", ""}, false);
  EXPECT_EQ(tag(dashed, "<Descrizione>"), "Camicia");
  EXPECT_EQ(tag(dashed, "<Descrizione1>"), "Lino blu");
  EXPECT_EQ(tag(dashed, "<Ordine>"), "") << "only restocking labels carry the order";
  EXPECT_EQ(tag(dashed, "<CodiceBarre>"), "C1");
}

TEST(ThermalTemplate, ReplacesEveryTagOccurrenceWithExactCaseAndKeepsTaglessText) {
  const auto tags = thermalTags({"C1", "Dati", "Gonna - Rossa", "", "", "800"}, false);
  EXPECT_EQ(renderThermalTemplate({"^FD<Descrizione>/<Descrizione>^FS",
                                   "<Descrizione1><Codice_EAN> <descrizione>", "^XZ"},
                                  tags),
            (QStringList{"^FDGonna/Gonna^FS", "Rossa800 <descrizione>", "^XZ"}));
  EXPECT_EQ(renderThermalTemplate({"^XA", "^XZ"}, tags), (QStringList{"^XA", "^XZ"}));
  EXPECT_EQ(thermalDocument({"^XA", QString::fromUtf8("Però"), "^XZ"}),
            QByteArray("^XA\r\nPer\xF2\r\n^XZ"));
}

TEST(ThermalTemplate, LoadsWindows1252LinesWhateverTheirEnds) {
  QTemporaryDir dir;
  QFile file(dir.filePath("t.txt"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("^XA\r\n~SD15\n\x1B\xE8<Ordine>\r^XZ\r\n");
  file.close();
  QStringList lines;
  QString error;
  ASSERT_TRUE(loadThermalTemplate(dir.filePath("t.txt"), &lines, &error)) << error.toStdString();
  EXPECT_EQ(lines, (QStringList{"^XA", "~SD15", QString::fromUtf8("\x1B\xC3\xA8<Ordine>"), "^XZ"}));
  EXPECT_EQ(thermalDocument(lines), QByteArray("^XA\r\n~SD15\r\n\x1B\xE8<Ordine>\r\n^XZ"));

  EXPECT_FALSE(loadThermalTemplate(dir.filePath("missing.txt"), &lines, &error));
  EXPECT_TRUE(error.contains("missing.txt")) << error.toStdString();

  EXPECT_EQ(visibleBytes("^XA\r\n\x1B\xE8<x>\x81"),
            QString::fromUtf8("^XA<CR><LF>\n<1B>\xC3\xA8<<x><81>"));
}

namespace {

// The label window in thermal mode, printing through a private CUPS to a
// raw queue "Termica" whose printer the test plays; the profile's default
// printer is another queue, "Ufficio", with a printer of its own.
class ThermalLaunch : public ::testing::Test {
 protected:
  ThermalLaunch() : guard_(prompter_) {}
  void SetUp() override {
    REQUIRE_CUPSD();
    cups_ = std::make_unique<PrivateCups>();
    ASSERT_TRUE(cups_->isRunning()) << cups_->error().toStdString();
    ASSERT_TRUE(cups_->addRawQueue("Termica", thermal_.port())) << cups_->error().toStdString();
    ASSERT_TRUE(cups_->addRawQueue("Ufficio", office_.port())) << cups_->error().toStdString();
    thermalEntry_ = "Termica,," + thermal_.deviceUri();
    ASSERT_TRUE(platform::printing::setDefaultPrinterEntry(kOffice));
    runStatement(archive(), "UPDATE TABX SET TESTO='T' WHERE NOME='ModoStampa'");
    runStatement(archive(),
                 "UPDATE TABX SET TESTO='" + thermalEntry_ + "' WHERE NOME='StampanteTermica'");
    QFile file(host_.native("bin/Report/ETICHETTA.TXT"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("^XA\r\n<CodiceBarre>|<DatiProdotto>\r\n^XZ\r\n");
  }
  void TearDown() override {
    if (window_) window_->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  TGestEticForm& open() {
    window_ = qobject_cast<TGestEticForm*>(entry::LanciaGestEtic(1));
    EXPECT_NE(window_, nullptr);
    grid_ = window_->findChild<TQuovGrid*>("GridEtic");
    while (grid_->model()->canFetchMore(QModelIndex())) grid_->model()->fetchMore(QModelIndex());
    return *window_;
  }
  void select(int count) {
    for (int row = count - 1; row >= 0; --row) {  // against the database's order
      grid_->setCurrentIndex(grid_->model()->index(row, 1));
      QTest::keyClick(grid_, Qt::Key_F3);
    }
  }
  void launch(const QString& description = "Termica") {
    prompter_.script([description](QDialog& dialog) {
      typeInto(dialog, "Edit1", description);
      return clickButton(dialog, "BitBtn1");
    });
    window_->findChild<QPushButton*>("ButtonLancio")->click();
  }
  // What the test template gives for the labels, in the database's order.
  QList<QByteArray> expectedJobs(const QStringList& ids) {
    db::Transaction transaction(archive());
    transaction.start();
    db::Query query(archive(), transaction);
    query.sql << "SELECT CODICE,DATIPRODOTTO FROM ETICHETTE WHERE ID IN (" + ids.join(',') + ")";
    query.open();
    QList<QByteArray> jobs;
    for (; !query.isEof(); query.next())
      jobs << ("^XA\r\n" + query.text("CODICE") + "|" + query.text("DATIPRODOTTO") + "\r\n^XZ")
                  .toLatin1();
    return jobs;
  }
  QString launches() { return readOne(archive(), "SELECT COUNT(*) FROM LANCISTAMPA"); }
  db::Database& archive() {
    if (!archive_.isConnected()) host_.openArchive(archive_);
    return archive_;
  }

  static inline const QString kOffice = "Ufficio,Generic,lpd://ufficio";
  HostInstallation host_;
  ScriptedPrompter prompter_;
  ScopedPrompter guard_;
  SocketPrinter thermal_, office_;
  std::unique_ptr<PrivateCups> cups_;
  QString thermalEntry_;
  TGestEticForm* window_ = nullptr;
  TQuovGrid* grid_ = nullptr;
  db::Database archive_;
};

}  // namespace

TEST_F(ThermalLaunch, FiveLabelsGiveFiveJobsInTheDatabaseOrderOnTheThermalPrinter) {
  TGestEticForm& window = open();
  EXPECT_FALSE(window.findChild<QCheckBox*>("CheckEdita")->isVisible());
  select(5);
  const QStringList chosen = window.Selezionati();
  ASSERT_EQ(chosen.size(), 5);
  const QList<QByteArray> expected = expectedJobs(chosen);
  ASSERT_EQ(expected.size(), 5);

  launch();
  EXPECT_EQ(prompter_.texts(), QStringList{"Stampa effettuata"});
  EXPECT_EQ(thermal_.waitForJobs(5), expected) << cups_->log().toStdString();
  EXPECT_TRUE(office_.jobs().isEmpty()) << "the jobs went to the thermal printer";
  EXPECT_EQ(platform::printing::defaultPrinterEntry(), kOffice) << "default printer restored";
  for (const QString& id : chosen)
    EXPECT_EQ(readOne(archive(), "SELECT IDLANCIOSTAMPA FROM ETICHETTE WHERE ID=" + id),
              window.IdLancio());
  EXPECT_TRUE(window.Selezionati().isEmpty());
}

TEST_F(ThermalLaunch, WithEanAndWithoutSerialTheEanTemplateGetsTheCutCode) {
  QFile file(host_.native("bin/Report/ETICHETTA_EAN.TXT"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write("EAN <Codice_EAN>|<CodiceBarre>\r\n");
  file.close();
  TGestEticForm& window = open();
  select(1);
  ASSERT_EQ(window.Selezionati().size(), 1);
  const QString id = window.Selezionati().first();
  runStatement(archive(),
               "UPDATE ETICHETTE SET CODICE='SERIALE0123456789XYZ',"
               "CODICE_EAN='8001234567890' WHERE ID=" +
                   id);
  window.findChild<QCheckBox*>("CheckEscludiSeriale")->setChecked(true);
  window.findChild<TRadioGroup*>("RadioTipoStampa")->setItemIndex(1);
  prompter_.script([](QDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("Nuovo lancio (con esclusione N° seriale)"));
    typeInto(dialog, "Edit1", "EAN");
    return clickButton(dialog, "BitBtn1");
  });
  window.findChild<QPushButton*>("ButtonLancio")->click();
  EXPECT_EQ(prompter_.texts(), QStringList{"Stampa effettuata"});
  EXPECT_EQ(thermal_.waitForJobs(1), QList<QByteArray>{"EAN 8001234567890|SERIALE012345678"});
  EXPECT_EQ(readOne(archive(), "SELECT IDLANCIOSTAMPA FROM ETICHETTE WHERE ID=" + id),
            window.IdLancio());
}

TEST_F(ThermalLaunch, NoPrinterOrAQueueRefusingRawUndoesTheLaunch) {
  const QString before = launches();
  runStatement(archive(), "UPDATE TABX SET TESTO=NULL WHERE NOME='StampanteTermica'");
  TGestEticForm& window = open();
  select(2);
  launch("senza stampante");
  EXPECT_EQ(prompter_.texts(),
            QStringList{QString::fromUtf8("Non è stata installata nessuna stampante solo testo")});

  prompter_.reset();
  window.ambiente().SetV("StampanteTermica", thermalEntry_);
  ASSERT_TRUE(cups_->rejectJobs("Termica")) << cups_->error().toStdString();
  launch("rifiutata");
  EXPECT_EQ(prompter_.texts(),
            QStringList{"La stampante definita come Text Only non supporta i comandi Escape"});
  EXPECT_EQ(platform::printing::defaultPrinterEntry(), kOffice);

  // A later launch commits only its own row.
  prompter_.reset();
  ASSERT_TRUE(cups_->run("cupsaccept", {"Termica"})) << cups_->error().toStdString();
  launch("buona");
  EXPECT_EQ(prompter_.texts(), QStringList{"Stampa effettuata"});
  EXPECT_EQ(launches().toInt(), before.toInt() + 1);
  EXPECT_EQ(readOne(archive(), "SELECT NOTE FROM LANCISTAMPA WHERE ID=" + window.IdLancio()),
            "buona");
  EXPECT_EQ(thermal_.waitForJobs(2).size(), 2);
}

TEST_F(ThermalLaunch, AJobRefusedPartWayKeepsTheLabelsSentAndSaysHowMany) {
  TGestEticForm& window = open();
  select(5);
  const QStringList chosen = window.Selezionati();
  const QList<QByteArray> expected = expectedJobs(chosen);
  TTabXForm& env = window.ambiente();
  db::Transaction transaction(env.IBDatabase1, {"isc_tpb_concurrency", "isc_tpb_nowait"});
  transaction.start();
  PrintLaunch launch(env, transaction, chosen, {});
  ASSERT_TRUE(launch.apriLancio("a metà"));

  const ThermalResult result =
      stampaTermica(env, transaction, launch, chosen, {}, [&](int sent, int) {
        if (sent == 2) cups_->rejectJobs("Termica");
      });
  EXPECT_EQ(result.outcome, ThermalResult::Outcome::Printed);
  EXPECT_EQ(result.printed, 2);
  ASSERT_EQ(result.messages.size(), 1);
  EXPECT_TRUE(result.messages[0].text.startsWith(
      "Stampa interrotta: stampate 2 etichette su 5. Le altre restano da stampare."))
      << result.messages[0].text.toStdString();
  EXPECT_EQ(thermal_.waitForJobs(2), expected.mid(0, 2));
  EXPECT_EQ(platform::printing::defaultPrinterEntry(), kOffice);
  EXPECT_EQ(readOne(archive(),
                    "SELECT COUNT(*) FROM ETICHETTE WHERE IDLANCIOSTAMPA=" + launch.IdLancio()),
            "2");
  EXPECT_EQ(readOne(archive(), "SELECT COUNT(*) FROM LANCISTAMPA WHERE ID=" + launch.IdLancio()),
            "1");
}
