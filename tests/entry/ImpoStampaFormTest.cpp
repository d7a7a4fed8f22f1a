#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "db/Query.h"
#include "db/Transaction.h"
#include "entry/Ambiente.h"
#include "env/TabX.h"
#include "grid/RadioGroup.h"
#include "labels/ImpoStampaForm.h"
#include "platform/printing/PrinterList.h"
#include "support/FirebirdFixture.h"
#include "support/HostInstallation.h"
#include "support/PrivateCups.h"
#include "support/ScriptedUi.h"

namespace {

class ImpoStampaFormTest : public ::testing::Test {
 protected:
  ImpoStampaFormTest() : guard_(prompter_) {}
  void SetUp() override {
    REQUIRE_CUPSD();
    cups_ = std::make_unique<PrivateCups>();
    ASSERT_TRUE(cups_->isRunning()) << cups_->error().toStdString();
    ASSERT_TRUE(cups_->addRawQueue("Termica", 9100)) << cups_->error().toStdString();
    ASSERT_TRUE(cups_->addRawQueue("Zebra", 9101)) << cups_->error().toStdString();
  }
  void TearDown() override {
    if (window_) window_->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  TImpoStampaForm& open() {
    auto ambiente = entry::creaAmbiente(1);
    entry::caricaBinDir(*ambiente, 1);
    entry::caricaArchivio(*ambiente, 1);
    entry::caricaLbl(*ambiente, 1, "ETICHETTATXT", "Report\\ETICHETTA.TXT");
    entry::caricaLbl(*ambiente, 1, "ETICHETTAEANTXT", "Report\\ETICHETTA_EAN.TXT");
    EXPECT_TRUE(entry::connettiArchivio(*ambiente));
    window_ = new TImpoStampaForm(nullptr, std::move(ambiente));
    window_->show();
    combo_ = window_->findChild<QComboBox*>("ComboStampante");
    radio_ = window_->findChild<TRadioGroup*>("RadioModoStampa");
    return *window_;
  }
  void click(const char* name) { window_->findChild<QPushButton*>(name)->click(); }
  QString tabx(const QString& name, int user) {
    return readOne(archive(), "SELECT TESTO FROM TABX WHERE NOME='" + name +
                                  "' AND UTENTE=" + QString::number(user));
  }
  db::Database& archive() {
    if (!archive_.isConnected()) host_.openArchive(archive_);
    return archive_;
  }

  HostInstallation host_;
  ScriptedPrompter prompter_;
  ScopedPrompter guard_;
  std::unique_ptr<PrivateCups> cups_;
  TImpoStampaForm* window_ = nullptr;
  QComboBox* combo_ = nullptr;
  TRadioGroup* radio_ = nullptr;
  db::Database archive_;
};

}  // namespace

TEST_F(ImpoStampaFormTest, ListsThePrintersAndRestoresTheStoredChoice) {
  const QStringList entries = platform::printing::printerEntries();
  ASSERT_EQ(entries.size(), 2);
  runStatement(archive(),
               "UPDATE TABX SET TESTO='" + entries[1] + "' WHERE NOME='StampanteTermica'");
  runStatement(archive(), "UPDATE TABX SET TESTO='T' WHERE NOME='ModoStampa'");
  TImpoStampaForm& window = open();
  EXPECT_EQ(window.windowTitle(), "Impostazioni stampa - Ditta: DEMO SRL");
  ASSERT_EQ(combo_->count(), 3);
  EXPECT_EQ(combo_->itemText(0), "");
  EXPECT_TRUE(combo_->itemText(1).startsWith("Termica,")) << combo_->itemText(1).toStdString();
  EXPECT_EQ(combo_->currentText(), entries[1]);
  EXPECT_EQ(radio_->ItemIndex(), 1);

  radio_->button(0)->click();
  EXPECT_FALSE(combo_->isEnabled());
  EXPECT_FALSE(window.findChild<QPushButton*>("ButtonStampante")->isEnabled());
  radio_->button(1)->click();
  EXPECT_TRUE(combo_->isEnabled());
  click("ButtonCancel");
  EXPECT_EQ(tabx("ModoStampa", 1), "T") << "Cancel writes nothing";
}

TEST_F(ImpoStampaFormTest, OkStoresLaserForEveryRowAndTheTypedPrinterAsTyped) {
  runStatement(archive(),
               "INSERT INTO TABX (CODICE,NOME,TESTO,UTENTE) VALUES("
               "GEN_ID(CODICETABXCOUNTER,1),'ModoStampa','T',2)");
  runStatement(archive(), "UPDATE TABX SET TESTO='Sparita,,usb://x' WHERE NOME='StampanteTermica'");
  open();
  EXPECT_EQ(combo_->currentText(), "") << "a stored printer no longer installed is not shown";
  EXPECT_EQ(radio_->ItemIndex(), 0);
  combo_->setEditText("Zebra ZD420,ZPL,socket://10.0.0.9:9100");
  click("ButtonOk");
  EXPECT_EQ(readOne(archive(), "SELECT COUNT(*) FROM TABX WHERE NOME='ModoStampa' AND TESTO='L'"),
            "2");
  EXPECT_EQ(readOne(archive(), "SELECT COUNT(*) FROM TABX WHERE NOME='ModoStampa'"), "2");
  EXPECT_EQ(tabx("StampanteTermica", 1), "Zebra ZD420,ZPL,socket://10.0.0.9:9100");
}

TEST_F(ImpoStampaFormTest, AFailedWriteIsToldAndKeepsTheWindowAndEnterPressesOk) {
  TImpoStampaForm& window = open();
  // Another user's uncommitted change holds the rows the window writes.
  db::Transaction other(archive(), {"isc_tpb_concurrency", "isc_tpb_nowait"});
  other.start();
  db::Query lock(archive(), other);
  lock.sql << "UPDATE TABX SET TESTO='T' WHERE NOME='ModoStampa'";
  lock.execSql();

  radio_->button(1)->click();
  combo_->setEditText("Zebra,,socket://10.0.0.9:9100");
  QTest::keyClick(combo_->lineEdit(), Qt::Key_Return);
  EXPECT_EQ(
      prompter_.texts(),
      QStringList{"Impostazioni di stampa non salvate: errore di scrittura nella tabella TABX"});
  ASSERT_FALSE(prompter_.messages().empty());
  EXPECT_EQ(prompter_.messages()[0].kind, ui::MessageKind::Error);
  EXPECT_TRUE(window.isVisible()) << "the window stays open for another try";

  other.rollback();
  prompter_.reset();
  QTest::keyClick(combo_->lineEdit(), Qt::Key_Return);
  EXPECT_TRUE(prompter_.texts().isEmpty()) << prompter_.texts().join('\n').toStdString();
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(tabx("StampanteTermica", 1), "Zebra,,socket://10.0.0.9:9100");
}

TEST_F(ImpoStampaFormTest, PreviewShowsTheFirstUnprintedLabelAsTheBytesSent) {
  const QString code = readOne(archive(),
                               "SELECT FIRST 1 CODICE FROM ETICHETTE WHERE "
                               "IDLANCIOSTAMPA IS NULL");
  open();
  QString shown;
  prompter_.script([&](QDialog& dialog) {
    auto* memo = control<QPlainTextEdit>(dialog, "MemoAnteprima");
    EXPECT_TRUE(memo->isReadOnly());
    shown = memo->toPlainText();
    return clickButton(dialog, "ButtonChiudi");
  });
  click("ButtonAnteprima");
  EXPECT_TRUE(shown.startsWith("^XA<CR><LF>\n")) << shown.toStdString();
  EXPECT_TRUE(shown.contains("^FD" + code + "^FS")) << shown.toStdString();
  EXPECT_FALSE(shown.contains("<<CodiceBarre>")) << "every tag replaced";

  QFile::remove(host_.native("bin/Report/ETICHETTA.TXT"));
  click("ButtonAnteprima");
  ASSERT_EQ(prompter_.texts().size(), 1);
  EXPECT_TRUE(prompter_.texts()[0].contains("ETICHETTA.TXT")) << prompter_.texts()[0].toStdString();
}
