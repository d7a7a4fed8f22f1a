#include "platform/reports/LabelEngine.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTemporaryFile>
#include <memory>

#include "core/OutputFile.h"
#include "core/Paths.h"
#include "core/TerminationSignals.h"
#include "platform/printing/DefaultPrinter.h"
#include "platform/printing/DocumentJob.h"
#include "platform/reports/LabelDesigner.h"
#include "platform/reports/LabelPageWriter.h"
#include "platform/reports/LabelProjectFile.h"
#include "platform/reports/PdfCheck.h"
#include "platform/reports/PrintOptionsDialog.h"
#include "platform/reports/PrintWaitBox.h"
#include "ui/Prompter.h"

namespace platform::reports {

namespace {

const QString kProjectFilter = QStringLiteral("Progetti etichetta (*.LBL *.lbl);;Tutti i file (*)");
// Problems listed in the message at the end of a print; the rest are counted.
constexpr int kProblemsShown = 10;

// Printing from the preview ends the preview as accepted, instead of
// printing there and then: the engine prints the labels afterwards like any
// print, into an output the caller can hold.
QAction* takeOverPrintCommand(QPrintPreviewDialog& dialog) {
  const QString text = QCoreApplication::translate("QPrintPreviewDialog", "Print");
  for (QAction* action : dialog.findChildren<QAction*>()) {
    if (action->text() != text) continue;
    QObject::disconnect(action, &QAction::triggered, &dialog, nullptr);
    action->setObjectName(QStringLiteral("PrintAction"));
    return action;
  }
  return nullptr;
}

}  // namespace

QString problemsMessage(const QStringList& problems) {
  QStringList shown = problems.mid(0, kProblemsShown);
  if (problems.size() > kProblemsShown)
    shown << QStringLiteral("... e altri %1").arg(problems.size() - kProblemsShown);
  return QStringLiteral("Alcuni codici a barre o immagini non sono stati stampati:\n") +
         shown.join('\n');
}

QString defaultLabelPrinter() {
  return platform::printing::defaultPrinterName();
}

// What a print produced, until it is delivered or dropped.
struct LabelEngine::PendingOutput {
  Destination destination = Destination::PdfFile;
  QString target;  // the chosen PDF file, or the printer
  QString title;
  std::unique_ptr<core::OutputFile> pdf;  // beside the chosen PDF file
  std::unique_ptr<QTemporaryFile> job;    // the document of a print job
  platform::printing::JobOptions options;

  QString file() const { return pdf ? pdf->temporaryPath() : job->fileName(); }
};

struct LabelEngine::Job {
  const LabelProject& project;
  QString projectDir;
  int userData;
  PrintWaitBox* box;
  QString title;
};

LabelEngine::LabelEngine(QObject* parent) : QObject(parent) {}

LabelEngine::~LabelEngine() {
  discardOutput();
}

void LabelEngine::setDefineVariablesHandler(DefineVariablesHandler handler) {
  handler_ = std::move(handler);
}

void LabelEngine::defineVariable(const QString& name, const QString& value) {
  variables_.insert(name, value);
}

void LabelEngine::startRun() {
  discardOutput();
  labelsPrinted_ = 0;
  lastError_.clear();
  lastProblems_.clear();
}

bool LabelEngine::loadProject(const QString& path, LabelProject& project) {
  if (!QFileInfo::exists(path)) {
    lastError_ = QStringLiteral("Progetto etichetta non trovato: %1").arg(path);
    return false;
  }
  return loadLabelProject(path, project, lastError_);
}

int LabelEngine::design(int userData, QWidget* parent, const QString& title, ProjectType,
                        const QString& projectFile, bool selectFile) {
  startRun();
  QString path = core::nativePath(projectFile);
  if (selectFile) {
    path = ui::prompter().chooseOpenOrNewFile(parent, title, path, kProjectFilter);
    if (path.isEmpty()) return Cancelled;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".LBL");
  }
  // A file that does not exist yet is a new project.
  LabelProject project;
  if (QFileInfo::exists(path) && !loadProject(path, project)) {
    ui::error(lastError_);
    return ProjectError;
  }
  DefineVariablesEvent event;
  event.userData = userData;
  event.designMode = true;
  if (handler_) handler_(event);
  LabelDesigner designer(parent, title, path, project, variables_);
  ui::runDialog(designer);
  return Completed;
}

int LabelEngine::print(int userData, ProjectType, const QString& projectFile, bool selectFile, int,
                       BoxType box, QWidget* parent, const QString& title, bool optionsDialog,
                       const QString&) {
  startRun();
  QString path = core::nativePath(projectFile);
  if (selectFile) {
    path = ui::prompter().chooseOpenFile(parent, title, path, kProjectFilter);
    if (path.isEmpty()) return Cancelled;
  }
  LabelProject project;
  if (!loadProject(path, project)) {
    ui::error(lastError_);
    return ProjectError;
  }

  PrintSettings chosen = settings_;
  chosen.copies = 1;
  if (optionsDialog) {
    PrintOptionsDialog dialog(parent, title, chosen);
    if (ui::runDialog(dialog) != QDialog::Accepted) return Cancelled;
    chosen = dialog.settings();
    settings_ = chosen;
  } else if (chosen.destination == Destination::Printer && chosen.printer.isEmpty()) {
    chosen.printer = defaultLabelPrinter();
    if (chosen.printer.isEmpty()) {
      lastError_ = QStringLiteral("Nessuna stampante disponibile");
      ui::error(lastError_);
      return OutputError;
    }
  }

  std::unique_ptr<PrintWaitBox> waitBox;
  if (box != BoxType::None) {
    waitBox = std::make_unique<PrintWaitBox>(parent, title);
    waitBox->show();
  }
  const Job job{project, QFileInfo(path).absolutePath(), userData, waitBox.get(), title};
  const int result = chosen.destination == Destination::Preview ? preview(job, chosen, parent)
                                                                : printTo(job, chosen);
  waitBox.reset();
  if (result == OutputError) ui::error(lastError_);
  if (!lastProblems_.isEmpty() && result != Interrupted)
    ui::warning(problemsMessage(lastProblems_));
  return result;
}

int LabelEngine::printToPdf(int userData, const QString& projectFile, const QString& pdfFile,
                            int copies) {
  startRun();
  LabelProject project;
  const QString path = core::nativePath(projectFile);
  if (!loadProject(path, project)) return ProjectError;
  PrintSettings settings;
  settings.destination = Destination::PdfFile;
  settings.pdfFile = core::nativePath(pdfFile);
  settings.copies = qMax(1, copies);
  const Job job{project, QFileInfo(path).absolutePath(), userData, nullptr,
                QFileInfo(path).completeBaseName()};
  return printTo(job, settings);
}

int LabelEngine::runRecords(const Job& job, const RecordSink& output) {
  for (;;) {
    // A stop asked for while a label was being printed ends the run before
    // the next callback, so every label whose variables were defined is
    // printed. The box gets its paint and its click; the program's
    // termination handlers wait until the run is over (socket notifiers
    // excluded), and the run itself ends at the next label when a
    // termination signal has arrived.
    if (core::terminationRequested()) return Interrupted;
    if (job.box) {
      QCoreApplication::processEvents(QEventLoop::ExcludeSocketNotifiers);
      if (job.box->stopRequested()) return Stopped;
      if (core::terminationRequested()) return Interrupted;
    }
    DefineVariablesEvent event;
    event.userData = job.userData;
    if (handler_)
      handler_(event);
    else
      event.lastRecord = true;
    if (job.box) job.box->setProgress(event.progress);
    if (event.eventResult == StopPrinting) return Stopped;
    if (event.eventResult != SkipRecord) {
      if (!output(variables_)) return OutputError;
      ++labelsPrinted_;
      if (job.box) job.box->setLabelsDone(labelsPrinted_);
    }
    if (event.lastRecord) return Completed;
  }
}

int LabelEngine::printTo(const Job& job, const PrintSettings& settings) {
  return render(job, settings, [&](const RecordSink& sink) { return runRecords(job, sink); });
}

int LabelEngine::render(const Job& job, const PrintSettings& settings,
                        const std::function<int(const RecordSink&)>& records) {
  discardOutput();
  const bool toPdf = settings.destination == Destination::PdfFile;
  auto output = std::make_unique<PendingOutput>();
  output->destination = settings.destination;
  output->target = toPdf ? settings.pdfFile : settings.printer;
  output->title = job.title;
  QPrinter printer(QPrinter::HighResolution);
  if (toPdf) {
    output->pdf = std::make_unique<core::OutputFile>(settings.pdfFile);
    if (!output->pdf->open()) {
      lastError_ = QStringLiteral("Impossibile scrivere il file PDF %1").arg(settings.pdfFile);
      return OutputError;
    }
    printer.setOutputFormat(QPrinter::PdfFormat);
  } else {
    // The printer's own engine, writing its job to a file of ours (a name
    // without ".pdf" keeps it that engine) instead of sending it at its end.
    output->job =
        std::make_unique<QTemporaryFile>(QDir::tempPath() + QStringLiteral("/orbelan-job-XXXXXX"));
    if (!output->job->open()) {
      lastError_ =
          QStringLiteral("Impossibile preparare la stampa: %1").arg(output->job->errorString());
      return OutputError;
    }
    printer.setPrinterName(settings.printer);
  }
  printer.setOutputFileName(output->file());
  printer.setDocName(job.title);
  printer.setCreator(QStringLiteral("Orbelan"));
  setUpLabelPrinter(printer, job.project);

  LabelPageWriter writer(printer, job.project, job.projectDir);
  if (!writer.begin(lastError_)) {
    if (toPdf)
      lastError_ = QStringLiteral("Impossibile scrivere il file PDF %1").arg(settings.pdfFile);
    return OutputError;
  }
  int result =
      records([&](const Variables& variables) { return writer.write(variables, settings.copies); });
  lastProblems_ = writer.takeProblems();
  if (!writer.end() && result != OutputError) result = OutputError;
  if (result != OutputError && result != Interrupted && labelsPrinted_ > 0 &&
      !pdfIsWhole(output->file()))
    result = OutputError;
  if (result == OutputError) {
    // A job that failed part-way is not a print: nothing counts as printed
    // and nothing of it is delivered.
    if (lastError_.isEmpty())
      lastError_ =
          toPdf
              ? QStringLiteral("Errore durante la scrittura del file PDF %1").arg(settings.pdfFile)
              : QStringLiteral("Errore durante la stampa sulla stampante %1").arg(settings.printer);
    labelsPrinted_ = 0;
    return OutputError;
  }
  if (result == Interrupted) labelsPrinted_ = 0;
  // Nothing printed: nothing delivered, an older file of the name untouched.
  if (labelsPrinted_ == 0) return result;

  if (!toPdf) {
    // What the printer's engine would have sent with its job.
    output->options = {{"media", printer.pageLayout().pageSize().key().toUtf8()},
                       {"sides", "one-sided"}};
  }
  pending_ = std::move(output);
  if (!holdOutput_ && !deliverOutput()) return OutputError;
  return result;
}

bool LabelEngine::deliverOutput() {
  if (!pending_) return true;
  const std::unique_ptr<PendingOutput> output = std::move(pending_);
  if (output->pdf) {
    if (output->pdf->commit()) return true;
    lastError_ = QStringLiteral("Impossibile scrivere il file PDF %1: %2")
                     .arg(output->target, output->pdf->error());
  } else {
    QString error;
    if (platform::printing::printDocumentFile(output->target, output->title, output->file(),
                                              output->options, &error) > 0)
      return true;
    lastError_ = error;
  }
  labelsPrinted_ = 0;
  return false;
}

void LabelEngine::discardOutput() {
  pending_.reset();
}

int LabelEngine::preview(const Job& job, const PrintSettings& settings, QWidget* parent) {
  // The callbacks run once, while the waiting box shows their progress; the
  // preview then draws (and redraws) the labels from their variables.
  QList<Variables> records;
  const int result = runRecords(job, [&](const Variables& variables) {
    records.append(variables);
    return true;
  });
  if (job.box) job.box->hide();
  // Nothing is printed unless the user prints from the preview.
  labelsPrinted_ = 0;
  if (records.isEmpty() || result == Interrupted) return result;

  QPrinter printer(QPrinter::HighResolution);
  const QString printerName = settings.printer.isEmpty() ? defaultLabelPrinter() : settings.printer;
  if (printerName.isEmpty())
    printer.setOutputFormat(QPrinter::PdfFormat);
  else
    printer.setPrinterName(printerName);
  printer.setDocName(job.title);
  setUpLabelPrinter(printer, job.project);
  QPrintPreviewDialog dialog(&printer, parent);
  dialog.setObjectName(QStringLiteral("PrintPreviewDialog"));
  dialog.setWindowTitle(job.title);
  connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&](QPrinter* target) {
    LabelPageWriter writer(*target, job.project, job.projectDir);
    QString error;
    if (!writer.begin(error)) return;
    for (const Variables& variables : records)
      if (!writer.write(variables, settings.copies)) break;
    writer.end();
    lastProblems_ = writer.takeProblems();
  });

  PrintSettings target = settings;
  target.destination = Destination::Printer;
  target.printer = printerName;
  bool printChosen = false;
  if (QAction* print = takeOverPrintCommand(dialog)) {
    connect(print, &QAction::triggered, &dialog, [&] {
      if (printerName.isEmpty()) {
        // No printer: the labels go to a PDF file, as the preview offers.
        const QString file =
            ui::prompter().chooseSaveFile(&dialog, QStringLiteral("Stampa su file PDF"),
                                          settings.pdfFile, QStringLiteral("File PDF (*.pdf)"));
        if (file.isEmpty()) return;
        target.destination = Destination::PdfFile;
        target.pdfFile = file;
      }
      printChosen = true;
      dialog.accept();
    });
  }
  ui::runDialog(dialog);
  if (!printChosen) return result;

  const Job printJob{job.project, job.projectDir, job.userData, nullptr, job.title};
  return render(printJob, target, [&](const RecordSink& sink) {
    for (const Variables& variables : records) {
      if (!sink(variables)) return static_cast<int>(OutputError);
      ++labelsPrinted_;
    }
    return result;
  });
}

}  // namespace platform::reports
