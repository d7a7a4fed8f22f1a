#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include "entry/Launch.h"
#include "labels/ReprintList.h"
#include "labels/RistampaBarcodeForm.h"
#include "platform/reports/LabelEngine.h"
#include "support/HostInstallation.h"
#include "support/ScriptedUi.h"

namespace {

// Runs the list's callback as the engine does, record by record until the
// last one; returns the barcodes and progress figures it gave.
struct Walk {
  QStringList barcodes;
  QList<int> progress;
};
Walk walk(labels::ReprintList& list, int start) {
  platform::reports::LabelEngine engine;
  Walk result;
  list.startAt(start);
  for (int guard = 0; guard < 100; ++guard) {
    platform::reports::DefineVariablesEvent event;
    list.defineVariables(engine, event, "DATI", "DESCR");
    result.barcodes << engine.variables().value("CodiceBarre");
    result.progress << event.progress;
    EXPECT_EQ(engine.variables().value("DatiProdotto"), "DATI");
    EXPECT_EQ(engine.variables().value("Descrizione"), "DESCR");
    EXPECT_TRUE(engine.variables().contains("Ordine"));
    if (event.lastRecord) break;
  }
  return result;
}

TEST(ReprintListTest, PrintingWalksFromTheStartRowToTheEnd) {
  labels::ReprintList list;
  list.add("A1");
  list.add("B2");
  Walk all = walk(list, 0);
  EXPECT_EQ(all.barcodes, (QStringList{"A1", "B2"}));
  EXPECT_EQ(all.progress, (QList<int>{50, 100}));

  Walk last = walk(list, 1);
  EXPECT_EQ(last.barcodes, QStringList{"B2"}) << "a start at the last row prints one label";
  EXPECT_EQ(last.progress, QList<int>{100});

  list.add("C3");
  EXPECT_EQ(walk(list, 1).progress, (QList<int>{67, 100}));
  list.removeAt(0);
  list.add("D4");
  EXPECT_EQ(list.table().value(2, 0).toInt(), 4) << "rows keep their order of entry";
}

class RistampaBarcodeFormTest : public ::testing::Test {
 protected:
  RistampaBarcodeFormTest() : host_(false), guard_(prompter_) {
    window_ = qobject_cast<TRistampaBarcodeForm*>(entry::LanciaRistampaBarcode(1, 7));
    EXPECT_NE(window_, nullptr);
    grid_ = window_->findChild<QTableView*>("GridRistampa");
  }
  ~RistampaBarcodeFormTest() override {
    if (window_) window_->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  QLineEdit* box(const char* name) { return window_->findChild<QLineEdit*>(name); }
  void scan(const QString& barcode) {
    QTest::keyClicks(box("EditBarcode"), barcode);
    QTest::keyClick(box("EditBarcode"), Qt::Key_Return);
  }
  QStringList listed() {
    QStringList barcodes;
    for (int row = 0; row < grid_->model()->rowCount(); ++row)
      barcodes << grid_->model()->index(row, 1).data().toString();
    return barcodes;
  }
  void click(const char* name) { window_->findChild<QPushButton*>(name)->click(); }

  HostInstallation host_;
  ScriptedPrompter prompter_;
  ScopedPrompter guard_;
  TRistampaBarcodeForm* window_ = nullptr;
  QTableView* grid_ = nullptr;
};

TEST_F(RistampaBarcodeFormTest, ScanningABarcodeAgainOffersToRemoveIt) {
  EXPECT_EQ(window_->windowTitle(), "Ristampa barcode - Ditta: DEMO SRL");
  EXPECT_EQ(box("EditBarcodeInizio")->maxLength(), 40);
  scan("A");
  scan("B");
  prompter_.answer(ui::No);
  scan("A");
  EXPECT_EQ(listed(), (QStringList{"A", "B"}));
  EXPECT_TRUE(box("EditBarcode")->text().isEmpty());
  prompter_.answer(ui::Yes);
  scan("A");
  EXPECT_EQ(listed(), QStringList{"B"});
  EXPECT_TRUE(box("EditBarcode")->text().isEmpty());
  EXPECT_EQ(prompter_.texts(), (QStringList{"Eliminare dalla lista di stampa il barcode A?",
                                            "Eliminare dalla lista di stampa il barcode A?"}));

  prompter_.reset();
  scan("");
  EXPECT_EQ(listed(), QStringList{"B"}) << "an empty box adds nothing";
  scan("b");
  EXPECT_EQ(listed(), (QStringList{"B", "b"})) << "letter case makes another barcode";
  EXPECT_TRUE(prompter_.texts().isEmpty());

  // Delete on the grid asks for the current row; double click copies it.
  grid_->setCurrentIndex(grid_->model()->index(1, 1));
  emit grid_->doubleClicked(grid_->currentIndex());
  EXPECT_EQ(box("EditBarcodeInizio")->text(), "b");
  prompter_.answer(ui::No);
  QTest::keyClick(grid_, Qt::Key_Delete);
  EXPECT_EQ(listed(), (QStringList{"B", "b"}));
  prompter_.answer(ui::Yes);
  QTest::keyClick(grid_, Qt::Key_Delete);
  EXPECT_EQ(listed(), QStringList{"B"});
  EXPECT_EQ(prompter_.texts(), (QStringList{"Eliminare dalla lista di stampa il barcode b?",
                                            "Eliminare dalla lista di stampa il barcode b?"}));
}

TEST_F(RistampaBarcodeFormTest, TheIconComesFromTheHostGraphicsFolderWhenThere) {
  EXPECT_TRUE(window_->windowIcon().isNull());
  QImage picture(16, 16, QImage::Format_ARGB32);
  picture.fill(Qt::red);
  ASSERT_TRUE(picture.save(host_.native("Grafica/ZELMINA7.ICO"), "PNG"));
  QWidget* second = entry::LanciaRistampaBarcode(1, 8);
  ASSERT_NE(second, nullptr);
  EXPECT_FALSE(second->windowIcon().isNull());
  second->close();
}

TEST_F(RistampaBarcodeFormTest, PrintingStartsFromTheChosenBarcode) {
  click("ButtonStampa");
  EXPECT_EQ(prompter_.texts(), QStringList{"Nessun barcode da stampare"});

  scan("8001234567890");
  scan("8001234567891");
  typeInto(*window_, "EditDatiProdotto", "MOD.1 VAR.2");
  typeInto(*window_, "EditBarcodeInizio", "NONCE");
  prompter_.reset();
  prompter_.answer(ui::Ok);
  prompter_.answer(ui::No);
  click("ButtonStampa");
  EXPECT_EQ(prompter_.texts(),
            (QStringList{QString::fromUtf8("Non trovato il barcode di partenza per la stampa "
                                           "della lista: verrà stampata per intero"),
                         "Avviare la stampa?"}));
  EXPECT_EQ(window_->motore().labelsPrinted(), 0);

  QTemporaryDir dir;
  typeInto(*window_, "EditBarcodeInizio", "8001234567891");
  prompter_.reset();
  prompter_.script([&](QDialog& dialog) {
    control<QRadioButton>(dialog, "PdfButton")->setChecked(true);
    typeInto(dialog, "PdfFileEdit", dir.filePath("ristampa.pdf"));
    return clickButton(dialog, "OkButton");
  });
  click("ButtonStampa");
  EXPECT_EQ(prompter_.texts(), QStringList{"Avviare la stampa?"});
  EXPECT_TRUE(QFile::exists(dir.filePath("ristampa.pdf")));
  EXPECT_EQ(window_->motore().labelsPrinted(), 1);
  EXPECT_EQ(window_->motore().variables().value("CodiceBarre"), "8001234567891");
  EXPECT_EQ(window_->motore().variables().value("DatiProdotto"), "MOD.1 VAR.2");
  EXPECT_EQ(window_->lista().size(), 2) << "printing keeps the list";
}

}  // namespace
