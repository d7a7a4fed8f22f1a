#include <cups/cups.h>
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include "db/Query.h"
#include "db/Transaction.h"
#include "entry/Launch.h"
#include "grid/QuovGrid.h"
#include "grid/RadioGroup.h"
#include "labels/GestEticForm.h"
#include "query/designer/IBLQueryForm.h"
#include "support/FirebirdFixture.h"
#include "support/HostInstallation.h"
#include "support/ScriptedUi.h"
#include "support/TestFiles.h"

namespace {

using testfiles::contents;
using testfiles::writeFile;

class GestEticFormTest : public ::testing::Test {
 protected:
  GestEticFormTest() : guard_(prompter_) {}
  ~GestEticFormTest() override {
    if (window_) window_->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  TGestEticForm& open() {
    window_ = qobject_cast<TGestEticForm*>(entry::LanciaGestEtic(1));
    EXPECT_NE(window_, nullptr);
    grid_ = window_->findChild<TQuovGrid*>("GridEtic");
    fetchAll();
    return *window_;
  }
  void fetchAll() {
    while (grid_->model()->canFetchMore(QModelIndex())) grid_->model()->fetchMore(QModelIndex());
  }
  // F3 on a row of the grid.
  void toggle(int row) {
    grid_->setCurrentIndex(grid_->model()->index(row, 1));
    QTest::keyClick(grid_, Qt::Key_F3);
  }
  QString idAt(int row) { return grid_->model()->index(row, 0).data().toString(); }
  void click(const char* name) { window_->findChild<QPushButton*>(name)->click(); }
  db::Database& archive() {
    if (!archive_.isConnected()) host_.openArchive(archive_);
    return archive_;
  }

  HostInstallation host_;
  ScriptedPrompter prompter_;
  ScopedPrompter guard_;
  TGestEticForm* window_ = nullptr;
  TQuovGrid* grid_ = nullptr;
  db::Database archive_;
};

TEST_F(GestEticFormTest, OpensOnTheUnprintedLabelsWithItsControls) {
  TGestEticForm& window = open();
  EXPECT_EQ(window.windowTitle(), "Gestione etichette - Ditta: DEMO SRL");
  EXPECT_EQ(grid_->SQLIniziale,
            QStringList{"SELECT * FROM ETICHETTE WHERE IDLANCIOSTAMPA IS NULL"});
  EXPECT_EQ(grid_->CodiceProgetto, 123);
  EXPECT_EQ(grid_->Situazione, 1);
  EXPECT_EQ(grid_->TabellaBase, "ETICHETTE");
  EXPECT_TRUE(grid_->TabellaPiccola);
  EXPECT_EQ(grid_->SezioneIni, "DEMO SRL");
  EXPECT_EQ(grid_->model()->rowCount(), 60) << "the demo has sixty labels to print";
  for (const char* name :
       {"ButtonCarica", "ButtonHelp", "ButtonSel", "ButtonDesel", "ButtonLancio", "ButtonChiudi"})
    EXPECT_NE(window.findChild<QPushButton*>(name), nullptr) << name;
  EXPECT_EQ(window.findChild<QPushButton*>("ButtonLancio")->text(), "Lancio &Stampa");
  EXPECT_TRUE(window.findChild<QCheckBox*>("CheckEdita")->isVisible());
  EXPECT_FALSE(window.findChild<QCheckBox*>("CheckEscludiSeriale")->isChecked());
  window.show();
  const QPoint middle = window.screen()->availableGeometry().center();
  EXPECT_LE((window.frameGeometry().center() - middle).manhattanLength(), 40)
      << "opens in the middle of the screen";

  click("ButtonHelp");
  ASSERT_EQ(prompter_.texts().size(), 1);
  EXPECT_TRUE(prompter_.texts()[0].startsWith("TIPI FILE ACQUISIBILI.\r\rFILE CON 3 CAMPI:"));
}

TEST_F(GestEticFormTest, SelectionFollowsTheClicksAndSelectAllTheList) {
  TGestEticForm& window = open();
  toggle(3);
  toggle(1);
  toggle(5);
  EXPECT_EQ(window.Selezionati(), (QStringList{idAt(3), idAt(1), idAt(5)}));
  EXPECT_TRUE(window.isSelected(1));
  toggle(1);
  EXPECT_EQ(window.Selezionati(), (QStringList{idAt(3), idAt(5)})) << "twice deselects";
  EXPECT_FALSE(window.isSelected(1));

  grid_->setCurrentIndex(grid_->model()->index(7, 2));
  click("ButtonSel");
  EXPECT_EQ(window.Selezionati().size(), 60);
  EXPECT_EQ(window.Selezionati().first(), idAt(0));
  EXPECT_EQ(grid_->currentIndex().row(), 0) << "back on the first row";
  click("ButtonDesel");
  EXPECT_TRUE(window.Selezionati().isEmpty());

  window.close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  runStatement(archive(), "UPDATE ETICHETTE SET IDLANCIOSTAMPA=1");
  TGestEticForm& empty = open();
  toggle(0);
  click("ButtonSel");
  EXPECT_TRUE(empty.Selezionati().isEmpty()) << "an empty list selects nothing";
  click("ButtonLancio");
  EXPECT_EQ(prompter_.texts(), QStringList{QString::fromUtf8("La tabella è vuota")});
}

TEST_F(GestEticFormTest, ALaunchPrintsTheSelectionAndTheLabelsLeaveTheList) {
  TGestEticForm& window = open();
  click("ButtonLancio");
  EXPECT_EQ(prompter_.texts(), QStringList{"Selezionare almeno un record"});
  toggle(2);
  toggle(0);
  const QStringList chosen = window.Selezionati();

  // Cancelling the description ends the run silently.
  prompter_.reset();
  prompter_.script([](QDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "Nuovo lancio");
    return clickButton(dialog, "BitBtn2");
  });
  click("ButtonLancio");
  EXPECT_TRUE(prompter_.texts().isEmpty());
  EXPECT_EQ(readOne(archive(), "SELECT COUNT(*) FROM LANCISTAMPA"), "1");

  QTemporaryDir dir;
  prompter_.script([](QDialog& dialog) {
    EXPECT_EQ(control<QLineEdit>(dialog, "Edit1")->maxLength(), 64);
    typeInto(dialog, "Edit1", "Saldi d'inverno");
    return clickButton(dialog, "BitBtn1");
  });
  prompter_.script([&](QDialog& dialog) {
    control<QRadioButton>(dialog, "PdfButton")->setChecked(true);
    typeInto(dialog, "PdfFileEdit", dir.filePath("lancio.pdf"));
    return clickButton(dialog, "OkButton");
  });
  click("ButtonLancio");
  EXPECT_EQ(prompter_.texts(), QStringList{"Stampa effettuata"});
  EXPECT_TRUE(QFile::exists(dir.filePath("lancio.pdf")));
  EXPECT_TRUE(window.Selezionati().isEmpty());
  for (const QString& id : chosen)
    EXPECT_EQ(readOne(archive(), "SELECT IDLANCIOSTAMPA FROM ETICHETTE WHERE ID=" + id),
              window.IdLancio());
  fetchAll();
  EXPECT_EQ(grid_->model()->rowCount(), 58);

  // Cancelling the print options prints nothing and writes nothing.
  toggle(0);
  prompter_.reset();
  prompter_.script([](QDialog& dialog) { return clickButton(dialog, "BitBtn1"); });
  prompter_.script([](QDialog& dialog) { return clickButton(dialog, "CancelButton"); });
  click("ButtonLancio");
  EXPECT_TRUE(prompter_.texts().isEmpty()) << prompter_.texts().join('\n').toStdString();
  EXPECT_EQ(readOne(archive(), "SELECT COUNT(*) FROM LANCISTAMPA"), "2");
  EXPECT_EQ(window.Selezionati().size(), 1) << "the selection stays for another try";
}

TEST_F(GestEticFormTest, WithEanAndWithoutSerialTheEanProjectPrintsTheCutCode) {
  const QString id = readOne(archive(),
                             "SELECT FIRST 1 ID FROM ETICHETTE WHERE CODICE_EAN IS NOT NULL AND "
                             "IDLANCIOSTAMPA IS NULL ORDER BY ID");
  ASSERT_FALSE(id.isEmpty());
  runStatement(archive(), "UPDATE ETICHETTE SET CODICE='SERIALE0123456789XYZ' WHERE ID=" + id);
  const QString ean = readOne(archive(), "SELECT CODICE_EAN FROM ETICHETTE WHERE ID=" + id);
  TGestEticForm& window = open();
  for (int row = 0; row < grid_->model()->rowCount(); ++row)
    if (idAt(row) == id) toggle(row);
  ASSERT_EQ(window.Selezionati(), QStringList{id});
  window.findChild<QCheckBox*>("CheckEscludiSeriale")->setChecked(true);
  window.findChild<TRadioGroup*>("RadioTipoStampa")->setItemIndex(1);

  QTemporaryDir dir;
  const QString pdf = dir.filePath("ean.pdf");
  prompter_.script([](QDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("Nuovo lancio (con esclusione N° seriale)"));
    typeInto(dialog, "Edit1", "Con EAN");
    return clickButton(dialog, "BitBtn1");
  });
  prompter_.script([&](QDialog& dialog) {
    control<QRadioButton>(dialog, "PdfButton")->setChecked(true);
    typeInto(dialog, "PdfFileEdit", pdf);
    return clickButton(dialog, "OkButton");
  });
  click("ButtonLancio");
  EXPECT_EQ(prompter_.texts(), QStringList{"Stampa effettuata"});
  QProcess text;
  text.start("pdftotext", {"-layout", pdf, "-"});
  ASSERT_TRUE(text.waitForFinished(30000));
  const QString printed = QString::fromUtf8(text.readAllStandardOutput());
  EXPECT_TRUE(printed.contains("SERIALE012345678")) << printed.toStdString();
  EXPECT_FALSE(printed.contains("SERIALE0123456789")) << "the serial number is left out";
  EXPECT_TRUE(printed.contains(ean.mid(7, 6)))  // the last group of the readable EAN
      << "the EAN project, with the EAN code " << ean.toStdString() << "\n"
      << printed.toStdString();
  EXPECT_EQ(readOne(archive(), "SELECT IDLANCIOSTAMPA FROM ETICHETTE WHERE ID=" + id),
            window.IdLancio());
}

TEST_F(GestEticFormTest, ThermalModeHidesTheDesignChoice) {
  runStatement(archive(), "UPDATE TABX SET TESTO='T' WHERE NOME='ModoStampa'");
  archive_.detach();
  TGestEticForm& window = open();
  window.show();
  EXPECT_FALSE(window.findChild<QCheckBox*>("CheckEdita")->isVisible());
}

// The description dialog answered, then the print options with `destination`.
void scriptLaunch(ScriptedPrompter& prompter, const char* destination, const QString& pdf = {}) {
  prompter.script([](QDialog& dialog) {
    typeInto(dialog, "Edit1", "Lancio di prova");
    return clickButton(dialog, "BitBtn1");
  });
  prompter.script([destination, pdf](QDialog& dialog) {
    control<QRadioButton>(dialog, destination)->setChecked(true);
    if (!pdf.isEmpty()) typeInto(dialog, "PdfFileEdit", pdf);
    return clickButton(dialog, "OkButton");
  });
}

TEST_F(GestEticFormTest, ALaunchMeetingAnotherUsersLockLeavesNoPagesOfUnstampedLabels) {
  TGestEticForm& window = open();
  toggle(0);
  toggle(1);
  toggle(2);
  const QStringList chosen = window.Selezionati();
  // Another user (a second attachment) holds the second label.
  db::Transaction other(archive(), {"isc_tpb_concurrency", "isc_tpb_nowait"});
  other.start();
  db::Query hold(archive(), other);
  hold.sql << "UPDATE ETICHETTE SET DESCRIZIONE=DESCRIZIONE WHERE ID=" + chosen[1];
  hold.execSql();

  QTemporaryDir dir;
  const QString pdf = dir.filePath("lancio.pdf");
  writeFile(pdf, "vecchio");
  scriptLaunch(prompter_, "PdfButton", pdf);
  click("ButtonLancio");
  EXPECT_EQ(prompter_.texts(),
            QStringList{QString::fromUtf8("Altri utenti stanno stampando alcune delle etichette "
                                          "selezionate: il lancio è stato annullato. Riprovare "
                                          "più tardi.")});
  other.rollback();
  EXPECT_EQ(contents(pdf), "vecchio") << "the first label's page never came out";
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"lancio.pdf"});
  for (const QString& id : chosen)
    EXPECT_EQ(readOne(archive(),
                      "SELECT COUNT(*) FROM ETICHETTE WHERE IDLANCIOSTAMPA IS NULL "
                      "AND ID=" +
                          id),
              "1");
  EXPECT_EQ(readOne(archive(), "SELECT COUNT(*) FROM LANCISTAMPA"), "1");
  EXPECT_EQ(window.Selezionati(), chosen) << "the selection stays for another try";
}

TEST_F(GestEticFormTest, APreviewClosedPrintsNothingAndPrintingFromItIsALaunch) {
  // No printer anywhere: printing from the preview asks for a PDF file.
  qputenv("CUPS_SERVER", QDir::temp().filePath("orbelan-no-cups.sock").toLocal8Bit());
  cupsSetServer(nullptr);
  TGestEticForm& window = open();
  toggle(4);
  toggle(3);
  const QStringList chosen = window.Selezionati();

  int pages = 0;
  scriptLaunch(prompter_, "PreviewButton");
  prompter_.script([&](QDialog& preview) {
    auto* widget = preview.findChild<QPrintPreviewWidget*>();
    widget->updatePreview();
    pages = widget->pageCount();
    preview.reject();  // closed with its close box
    return preview.result();
  });
  click("ButtonLancio");
  EXPECT_EQ(pages, 2);
  EXPECT_TRUE(prompter_.texts().isEmpty()) << prompter_.texts().join('\n').toStdString();
  EXPECT_EQ(readOne(archive(), "SELECT COUNT(*) FROM LANCISTAMPA"), "1") << "no launch written";
  for (const QString& id : chosen)
    EXPECT_EQ(readOne(archive(), "SELECT COALESCE(IDLANCIOSTAMPA,0) FROM ETICHETTE WHERE ID=" + id),
              "0");
  EXPECT_EQ(window.Selezionati(), chosen);

  QTemporaryDir dir;
  const QString pdf = dir.filePath("da-anteprima.pdf");
  scriptLaunch(prompter_, "PreviewButton");
  prompter_.script([](QDialog& preview) {
    control<QAction>(preview, "PrintAction")->trigger();
    return preview.result();
  });
  prompter_.saveFile(pdf);
  click("ButtonLancio");
  EXPECT_EQ(prompter_.texts(), QStringList{"Stampa effettuata"});
  EXPECT_TRUE(contents(pdf).trimmed().endsWith("%%EOF"));
  for (const QString& id : chosen)
    EXPECT_EQ(readOne(archive(), "SELECT IDLANCIOSTAMPA FROM ETICHETTE WHERE ID=" + id),
              window.IdLancio());
  EXPECT_EQ(readOne(archive(), "SELECT COUNT(*) FROM LANCISTAMPA"), "2");
  EXPECT_TRUE(window.Selezionati().isEmpty());
  qunsetenv("CUPS_SERVER");
  cupsSetServer(nullptr);
}

}  // namespace

TEST_F(GestEticFormTest, F8OpensTheQueryDesignerOnTheLabelsAndComesBack) {
  open();
  const int shown = grid_->model()->rowCount();
  QString caption;
  int answerRows = -1;
  prompter_.script([&](QDialog& dialog) {
    caption = dialog.windowTitle();
    auto& designer = static_cast<TIBLQueryForm&>(dialog);
    EXPECT_EQ(designer.TabIntTmp().at(0).nome, "ID");
    designer.TabIntTmp().setCondizione(designer.TabIntTmp().indexOf("IDLANCIOSTAMPA"),
                                       "(IDLANCIOSTAMPA IS NULL)");
    clickButton(dialog, "ButtonEsegui");
    designer.TabRispTmp().recordCount();
    answerRows = designer.TabRispTmp().rowCount();
    return 0;
  });
  window_->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window_));
  grid_->setFocus();
  QTest::keyClick(grid_, Qt::Key_F8);
  EXPECT_EQ(caption, "Query - Ditta: DEMO SRL");
  EXPECT_EQ(answerRows, shown) << prompter_.texts().join('\n').toStdString();
  EXPECT_EQ(prompter_.dialogs().size(), 1u);
  EXPECT_TRUE(grid_->isVisible());
  EXPECT_EQ(grid_->model()->rowCount(), shown);
}
