#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPrintPreviewWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <memory>

#include "DemoLabels.h"
#include "LabelRecords.h"
#include "PdfTools.h"
#include "core/Paths.h"
#include "platform/reports/LabelDesigner.h"
#include "platform/reports/LabelEngine.h"
#include "platform/reports/PrintWaitBox.h"
#include "support/PrivateCups.h"
#include "support/ScriptedUi.h"
#include "support/SocketPrinter.h"
#include "support/TestFiles.h"

using namespace platform::reports;

namespace {

using testfiles::contents;
using testfiles::FileSizeLimit;
using testfiles::writeFile;

class LabelEngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host::installDemoLabelProjects(dir_.filePath("Report"));
    feed_.attach(engine_);
  }
  QString project(const QString& name = "ETICHETTA.LBL") const {
    return dir_.filePath("Report/" + name);
  }
  QString file(const QString& name) const { return dir_.filePath(name); }
  // The folder's entries, hidden ones included (the temporary files).
  QStringList files() const { return QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden); }

  // Prints as the label windows do: options dialog, waiting box, the stored
  // (Windows-form) path of the project.
  int print() {
    return engine_.print(0, ProjectType::Label, core::storedPath(project()), false,
                         kDestinationChosenByUser, BoxType::Waiting, nullptr, "Stampa Etichette");
  }

  // A script for the options dialog: PDF file and copies.
  ScriptedPrompter::DialogScript toPdf(const QString& pdf, int copies) {
    return [pdf, copies](QDialog& dialog) {
      control<QRadioButton>(dialog, "PdfButton")->setChecked(true);
      typeInto(dialog, "PdfFileEdit", pdf);
      control<QSpinBox>(dialog, "CopiesBox")->setValue(copies);
      return clickButton(dialog, "OkButton");
    };
  }

  static PrintWaitBox* waitBox() {
    for (QWidget* window : QApplication::topLevelWidgets())
      if (auto* box = qobject_cast<PrintWaitBox*>(window); box && box->isVisible()) return box;
    return nullptr;
  }

  QTemporaryDir dir_;
  LabelEngine engine_;
  LabelRecords feed_;
  ScriptedPrompter prompter_;
  ScopedPrompter scoped_{prompter_};
};

TEST_F(LabelEngineTest, OneCallbackPerLabelUntilTheLastEachPrintedAsManyTimesAsTheCopies) {
  feed_.records = {demoLabel("A0000000000000000001"), demoLabel("B0000000000000000002"),
                   demoLabel("C0000000000000000003")};
  // What the waiting box shows when each callback starts: the progress the
  // one before reported.
  QList<int> shown;
  feed_.also = [&](DefineVariablesEvent&) {
    PrintWaitBox* box = waitBox();
    shown << (box ? box->progress() : -1);
  };
  prompter_.script(toPdf(file("three.pdf"), 2));
  EXPECT_EQ(print(), Completed);

  ASSERT_EQ(feed_.calls.size(), 3u);
  QList<int> progress;
  for (const DefineVariablesEvent& call : feed_.calls) {
    EXPECT_FALSE(call.designMode);
    progress << call.progress;
  }
  EXPECT_EQ(progress, (QList<int>{0, 33, 67}));
  EXPECT_EQ(shown, (QList<int>{0, 0, 33}));
  EXPECT_EQ(prompter_.dialogs(), QStringList{"Stampa Etichette"});
  EXPECT_TRUE(prompter_.texts().isEmpty()) << prompter_.texts().join('\n').toStdString();
  EXPECT_EQ(waitBox(), nullptr) << "the waiting box closes at the end";
  EXPECT_EQ(engine_.labelsPrinted(), 3);

  // Labels in order, each twice in a row.
  ASSERT_EQ(pdftools::pages(file("three.pdf")), 6);
  const QStringList expected = {"A0000000000000000001", "A0000000000000000001",
                                "B0000000000000000002", "B0000000000000000002",
                                "C0000000000000000003", "C0000000000000000003"};
  for (int page = 1; page <= 6; ++page)
    EXPECT_EQ(pdftools::barcodes(file("three.pdf"), page), QStringList{expected.at(page - 1)});

  // The next print starts from the settings chosen, copies back to one.
  EXPECT_EQ(engine_.printSettings().destination, Destination::PdfFile);
  prompter_.script([&](QDialog& dialog) {
    EXPECT_TRUE(control<QRadioButton>(dialog, "PdfButton")->isChecked());
    EXPECT_EQ(control<QLineEdit>(dialog, "PdfFileEdit")->text(), file("three.pdf"));
    EXPECT_EQ(control<QSpinBox>(dialog, "CopiesBox")->value(), 1);
    return clickButton(dialog, "OkButton");
  });
  feed_.index = 0;
  feed_.records = {demoLabel("D1")};
  EXPECT_EQ(print(), Completed);
  EXPECT_EQ(pdftools::pages(file("three.pdf")), 1);
}

TEST_F(LabelEngineTest, CancellingTheOptionsDialogEndsTheRunWithoutACallback) {
  feed_.records = {demoLabel("A1")};
  prompter_.script([](QDialog& dialog) { return clickButton(dialog, "CancelButton"); });
  EXPECT_EQ(print(), Cancelled);
  EXPECT_TRUE(feed_.calls.empty());
  EXPECT_EQ(engine_.labelsPrinted(), 0);
  EXPECT_TRUE(prompter_.texts().isEmpty());

  // A PDF destination without a file is refused in the dialog itself.
  prompter_.script([&](QDialog& dialog) {
    control<QRadioButton>(dialog, "PdfButton")->setChecked(true);
    clickButton(dialog, "OkButton");
    EXPECT_TRUE(dialog.isVisible());
    return clickButton(dialog, "CancelButton");
  });
  EXPECT_EQ(print(), Cancelled);
  EXPECT_EQ(prompter_.texts(), QStringList{"Indicare il file PDF in cui stampare"});
}

TEST_F(LabelEngineTest, StoppingPartWayKeepsTheLabelsWhoseVariablesWereDefined) {
  for (int i = 1; i <= 5; ++i) feed_.records << demoLabel(QString("L%1").arg(i));
  // The user presses "Interrompi" while the second label is prepared.
  feed_.also = [&](DefineVariablesEvent&) {
    if (feed_.calls.size() == 1) waitBox()->findChild<QPushButton*>("StopButton")->click();
  };
  prompter_.script(toPdf(file("stopped.pdf"), 1));
  EXPECT_EQ(print(), Stopped);
  EXPECT_EQ(feed_.calls.size(), 2u);
  EXPECT_EQ(engine_.labelsPrinted(), 2);
  EXPECT_EQ(pdftools::pages(file("stopped.pdf")), 2);

  // The callback skips a record (printed meanwhile elsewhere) and stops on
  // another: only the records it let through are printed.
  feed_.calls.clear();
  feed_.index = 0;
  feed_.also = [&](DefineVariablesEvent& event) {
    if (feed_.calls.size() == 1) event.eventResult = SkipRecord;
    if (feed_.calls.size() == 3) event.eventResult = StopPrinting;
  };
  EXPECT_EQ(engine_.printToPdf(0, project(), file("skipped.pdf")), Stopped);
  EXPECT_EQ(engine_.labelsPrinted(), 2);
  EXPECT_EQ(pdftools::barcodes(file("skipped.pdf"), 1), QStringList{"L1"});
  EXPECT_EQ(pdftools::barcodes(file("skipped.pdf"), 2), QStringList{"L3"});

  // Stopped before any label: no file is left.
  feed_.calls.clear();
  feed_.index = 0;
  feed_.also = [](DefineVariablesEvent& event) { event.eventResult = StopPrinting; };
  EXPECT_EQ(engine_.printToPdf(0, project(), file("none.pdf")), Stopped);
  EXPECT_FALSE(QFileInfo::exists(file("none.pdf")));
}

TEST_F(LabelEngineTest, PreviewShowsEveryCopyOfEveryLabelAfterOneCallbackEach) {
  feed_.records = {demoLabel("P1"), demoLabel("P2")};
  prompter_.script([](QDialog& dialog) {
    control<QRadioButton>(dialog, "PreviewButton")->setChecked(true);
    control<QSpinBox>(dialog, "CopiesBox")->setValue(3);
    return clickButton(dialog, "OkButton");
  });
  int pages = -1;
  prompter_.script([&](QDialog& preview) {
    auto* widget = preview.findChild<QPrintPreviewWidget*>();
    widget->updatePreview();
    widget->updatePreview();
    pages = widget->pageCount();
    return 0;
  });
  EXPECT_EQ(print(), Completed);
  EXPECT_EQ(pages, 6);
  EXPECT_EQ(feed_.calls.size(), 2u) << "redrawing the preview raises no callback";
  EXPECT_EQ(prompter_.dialogs(), (QStringList{"Stampa Etichette", "Stampa Etichette"}));
}

TEST_F(LabelEngineTest, FailuresAreToldAndNothingIsPrinted) {
  feed_.records = {demoLabel("A1")};
  EXPECT_EQ(engine_.print(0, ProjectType::Label, file("Report/MANCA.LBL"), false,
                          kDestinationChosenByUser, BoxType::Waiting, nullptr, "Stampa Etichette"),
            ProjectError);
  EXPECT_EQ(prompter_.texts(),
            QStringList{"Progetto etichetta non trovato: " + file("Report/MANCA.LBL")});

  prompter_.reset();
  prompter_.script(toPdf(file("no/such/dir/out.pdf"), 1));
  EXPECT_EQ(print(), OutputError);
  EXPECT_EQ(prompter_.texts(),
            QStringList{"Impossibile scrivere il file PDF " + file("no/such/dir/out.pdf")});
  EXPECT_TRUE(feed_.calls.empty());
  EXPECT_EQ(engine_.printToPdf(0, project(), file("no/such/dir/out.pdf")), OutputError);
  EXPECT_FALSE(engine_.lastError().isEmpty());
}

TEST_F(LabelEngineTest, DesignAsksForTheFileThenCallsBackOnceInDesignMode) {
  feed_.records = {demoLabel("D0000000000000000001"), demoLabel("D2")};
  // Cancelling the file selection ends it before any callback.
  EXPECT_EQ(engine_.design(0, nullptr, "Edita Etichetta", ProjectType::Label, project(), true),
            Cancelled);
  EXPECT_TRUE(feed_.calls.empty());
  ASSERT_EQ(prompter_.choices().size(), 1u);
  EXPECT_EQ(prompter_.choices().front().dir, project());

  prompter_.saveFile(project());
  LabelProject shown;
  Variables seen;
  prompter_.script([&](QDialog& dialog) {
    auto& designer = dynamic_cast<LabelDesigner&>(dialog);
    shown = designer.project();
    EXPECT_EQ(dialog.windowTitle(), "Edita Etichetta - ETICHETTA.LBL");
    EXPECT_EQ(feed_.calls.size(), 1u) << "the callback came before the designer";
    return clickButton(dialog, "CloseButton");
  });
  EXPECT_EQ(engine_.design(0, nullptr, "Edita Etichetta", ProjectType::Label, project(), true),
            Completed);
  ASSERT_EQ(feed_.calls.size(), 1u);
  EXPECT_TRUE(feed_.calls.front().designMode);
  EXPECT_EQ(engine_.variables().value("CodiceBarre"), "D0000000000000000001");
  EXPECT_FALSE(shown.objects.isEmpty()) << "the designer opened the chosen project";

  // A new file name opens an empty project, saved with the project suffix.
  prompter_.saveFile(file("Report/NUOVA"));
  prompter_.script([](QDialog& dialog) {
    EXPECT_TRUE(dynamic_cast<LabelDesigner&>(dialog).project().objects.isEmpty());
    clickButton(dialog, "SaveButton");
    return clickButton(dialog, "CloseButton");
  });
  EXPECT_EQ(engine_.design(0, nullptr, "Edita Etichetta", ProjectType::Label, project(), true),
            Completed);
  EXPECT_TRUE(QFileInfo::exists(file("Report/NUOVA.LBL")));
}

TEST_F(LabelEngineTest, AHeldPdfTakesItsNameOnlyWhenDeliveredAndAnOlderFileSurvivesFailures) {
  const QString pdf = file("lancio.pdf");
  writeFile(pdf, "vecchio");
  feed_.records = {demoLabel("H1"), demoLabel("H2")};
  engine_.setHoldOutput(true);
  EXPECT_EQ(engine_.printToPdf(0, project(), pdf), Completed);
  EXPECT_EQ(engine_.labelsPrinted(), 2);
  EXPECT_TRUE(engine_.hasPendingOutput());
  EXPECT_EQ(contents(pdf), "vecchio") << "nothing in place before delivery";
  engine_.discardOutput();
  EXPECT_EQ(contents(pdf), "vecchio");
  EXPECT_EQ(files(), QStringList{"lancio.pdf"}) << "no temporary file left";

  feed_.index = 0;
  EXPECT_EQ(engine_.printToPdf(0, project(), pdf), Completed);
  EXPECT_TRUE(engine_.deliverOutput()) << engine_.lastError().toStdString();
  EXPECT_FALSE(engine_.hasPendingOutput());
  EXPECT_EQ(pdftools::pages(pdf), 2);
  EXPECT_EQ(pdftools::barcodes(pdf, 2), QStringList{"H2"});
  EXPECT_EQ(files(), QStringList{"lancio.pdf"});

  // Nothing printed: the file of that name stays as it was.
  writeFile(pdf, "vecchio");
  engine_.setHoldOutput(false);
  feed_.index = 0;
  feed_.also = [](DefineVariablesEvent& event) { event.eventResult = StopPrinting; };
  EXPECT_EQ(engine_.printToPdf(0, project(), pdf), Stopped);
  EXPECT_EQ(contents(pdf), "vecchio");

  // A disk that fills up part-way (here a file-size limit): the printer
  // does not say so, the engine finds the file cut short. Nothing counts as
  // printed and the older file is untouched.
  feed_.also = nullptr;
  feed_.index = 0;
  feed_.records.clear();
  for (int i = 0; i < 60; ++i) feed_.records << demoLabel(QString("F%1").arg(i, 4, 10, QChar('0')));
  {
    const FileSizeLimit limit(24 * 1024);
    EXPECT_EQ(engine_.printToPdf(0, project(), pdf), OutputError);
  }
  EXPECT_EQ(engine_.labelsPrinted(), 0);
  EXPECT_EQ(engine_.lastError(), "Errore durante la scrittura del file PDF " + pdf);
  EXPECT_EQ(contents(pdf), "vecchio");
  EXPECT_EQ(files(), QStringList{"lancio.pdf"});
}

// Printing on a printer queue of a private CUPS scheduler, whose raw queue
// hands every job to a socket printer played by the test.
TEST_F(LabelEngineTest, AHeldPrintJobIsSentOnlyWhenDelivered) {
  REQUIRE_CUPSD();
  PrivateCups cups;
  ASSERT_TRUE(cups.isRunning()) << cups.error().toStdString();
  SocketPrinter printer;
  ASSERT_TRUE(cups.addRawQueue("Laser", printer.port())) << cups.error().toStdString();
  const auto toLaser = [](QDialog& dialog) {
    control<QRadioButton>(dialog, "PrinterButton")->setChecked(true);
    auto* printers = control<QComboBox>(dialog, "PrinterBox");
    printers->setCurrentIndex(printers->findText("Laser"));
    return clickButton(dialog, "OkButton");
  };

  engine_.setHoldOutput(true);
  feed_.records = {demoLabel("SCARTATA")};
  prompter_.script(toLaser);
  EXPECT_EQ(print(), Completed);
  EXPECT_TRUE(engine_.hasPendingOutput());
  engine_.discardOutput();

  feed_.index = 0;
  feed_.records = {demoLabel("J1"), demoLabel("J2")};
  prompter_.script(toLaser);
  EXPECT_EQ(print(), Completed);
  EXPECT_TRUE(engine_.deliverOutput()) << engine_.lastError().toStdString();
  const QList<QByteArray> jobs = printer.waitForJobs(1);
  ASSERT_EQ(jobs.size(), 1) << cups.log().toStdString();
  writeFile(file("job.pdf"), jobs.first());
  EXPECT_EQ(pdftools::pages(file("job.pdf")), 2) << "the discarded print never went out";
  EXPECT_EQ(pdftools::barcodes(file("job.pdf"), 1), QStringList{"J1"});
  EXPECT_EQ(printer.waitForJobs(2, 1000).size(), 1);
}

}  // namespace
