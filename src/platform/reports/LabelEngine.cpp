#include "platform/reports/LabelEngine.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <memory>

#include "core/Paths.h"
#include "platform/printing/DefaultPrinter.h"
#include "platform/reports/LabelDesigner.h"
#include "platform/reports/LabelPageWriter.h"
#include "platform/reports/LabelProjectFile.h"
#include "platform/reports/PrintOptionsDialog.h"
#include "platform/reports/PrintWaitBox.h"
#include "ui/Prompter.h"

namespace reports {

namespace {

const QString kProjectFilter = QStringLiteral("Progetti etichetta (*.LBL *.lbl);;Tutti i file (*)");
// Problems listed in the message at the end of a print; the rest are counted.
constexpr int kProblemsShown = 10;

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

struct LabelEngine::Job {
  const LabelProject& project;
  QString projectDir;
  int userData;
  PrintWaitBox* box;
  QString title;
};

LabelEngine::LabelEngine(QObject* parent) : QObject(parent) {}

LabelEngine::~LabelEngine() = default;

void LabelEngine::setDefineVariablesHandler(DefineVariablesHandler handler) {
  handler_ = std::move(handler);
}

void LabelEngine::defineVariable(const QString& name, const QString& value) {
  variables_.insert(name, value);
}

void LabelEngine::startRun() {
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
  if (!lastProblems_.isEmpty()) ui::warning(problemsMessage(lastProblems_));
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

int LabelEngine::runRecords(const Job& job, const std::function<bool(const Variables&)>& output) {
  for (;;) {
    // A stop asked for while a label was being printed ends the run before
    // the next callback, so every label whose variables were defined is
    // printed.
    if (job.box) {
      QCoreApplication::processEvents();
      if (job.box->stopRequested()) return Stopped;
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
  QPrinter printer(QPrinter::HighResolution);
  const bool toPdf = settings.destination == Destination::PdfFile;
  if (toPdf) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(settings.pdfFile);
  } else {
    printer.setPrinterName(settings.printer);
  }
  printer.setDocName(job.title);
  printer.setCreator(QStringLiteral("Orbelan"));
  setUpLabelPrinter(printer, job.project);

  LabelPageWriter writer(printer, job.project, job.projectDir);
  if (!writer.begin(lastError_)) return OutputError;
  int result = runRecords(
      job, [&](const Variables& variables) { return writer.write(variables, settings.copies); });
  lastProblems_ = writer.takeProblems();
  if (!writer.end() && result != OutputError) result = OutputError;
  if (result == OutputError) {
    // A job that failed part-way is not a print: nothing counts as printed
    // and no broken file is left behind.
    if (lastError_.isEmpty())
      lastError_ =
          toPdf
              ? QStringLiteral("Errore durante la scrittura del file PDF %1").arg(settings.pdfFile)
              : QStringLiteral("Errore durante la stampa sulla stampante %1").arg(settings.printer);
    labelsPrinted_ = 0;
    if (toPdf) QFile::remove(settings.pdfFile);
  } else if (toPdf && labelsPrinted_ == 0) {
    QFile::remove(settings.pdfFile);
  }
  return result;
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
  if (records.isEmpty()) return result;

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
  ui::runDialog(dialog);
  return result;
}

}  // namespace reports
