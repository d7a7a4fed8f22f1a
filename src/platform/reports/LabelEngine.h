#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

#include "platform/reports/LabelProject.h"
#include "platform/reports/PrintSettings.h"

class QWidget;

// The label engine: prints and designs label projects with variables that a
// window defines record by record through its define-variables callback.
namespace platform::reports {

enum class ProjectType { Label = 1 };

// The box shown while printing.
enum class BoxType { None = 0, Waiting = 2 };

// Print option: the destination is chosen by the user in the options dialog.
inline constexpr int kDestinationChosenByUser = 2048;

// What the callback answers for the record whose variables it just defined.
enum EventResult : int {
  PrintRecord = 0,  // print the label
  SkipRecord = 1,   // do not print this record; go on unless it was the last
  StopPrinting = 2  // end the print here, without this record
};

// The define-variables callback's arguments and results. The callback
// defines the label's variables with defineVariable() and, outside design
// mode, reports the progress (0 to 100) and sets lastRecord on the last one.
// It must not throw: a failure it meets ends the print with StopPrinting.
struct DefineVariablesEvent {
  int userData = 0;
  bool designMode = false;
  int progress = 0;
  bool lastRecord = false;
  int eventResult = PrintRecord;
};
using DefineVariablesHandler = std::function<void(DefineVariablesEvent&)>;

// Results of design() and print(). Callers that do not care may ignore them:
// a cancelled options dialog ends the run like a completed one, with no
// callback raised.
enum RunResult : int {
  Completed = 0,
  Cancelled = -1,     // file selection or options dialog cancelled: nothing printed
  Stopped = -2,       // stopped by the user or the callback after labelsPrinted() labels
  ProjectError = -3,  // the project file is missing or not valid
  OutputError = -4,   // the printer or the PDF file failed: nothing printed
  Interrupted = -5    // a termination signal arrived: abandoned, nothing printed
};

// The warning that lists what a print could not draw (lastProblems()): the
// first ten problems, then how many more there were.
QString problemsMessage(const QStringList& problems);

// The printer the labels go to when nobody chose one (printing without the
// options dialog, the preview, the dialog's first choice): the one the
// system profile names as the default printer, which the label windows
// switch for the length of a print, else the CUPS default. Empty when there
// is neither.
QString defaultLabelPrinter();

// One engine per window. Variables keep their value until defined again.
class LabelEngine : public QObject {
  Q_OBJECT

 public:
  explicit LabelEngine(QObject* parent = nullptr);
  ~LabelEngine() override;

  // The window's define-variables callback.
  void setDefineVariablesHandler(DefineVariablesHandler handler);

  // Defines a text variable for the labels printed from now on.
  void defineVariable(const QString& name, const QString& value);
  const Variables& variables() const { return variables_; }

  // Opens the designer on a project: first the file-selection dialog when
  // `selectFile` (a new file name is allowed), then one define-variables
  // callback in design mode, then the designer, which saves the project.
  // Paths are stored (Windows-form) or native paths.
  int design(int userData, QWidget* parent, const QString& title, ProjectType type,
             const QString& projectFile, bool selectFile);

  // Prints a project: the options dialog (printer, copies, preview, PDF
  // file) when `optionsDialog`, else the last settings on the default
  // printer; then one define-variables callback per label until the last
  // record, each label printed as many times as the copies chosen, with the
  // waiting box showing the progress the callback reports. Failures are
  // shown to the user; barcodes that could not be encoded are listed at the
  // end. `printOptions` may only be kDestinationChosenByUser; `tempPath` is
  // not used: previews are kept in memory.
  //
  // A preview prints only when the user prints from it (its print command,
  // on the printer of the options dialog, or on a PDF file asked for when
  // there is no printer); closed without that, nothing was printed and
  // labelsPrinted() is 0. A termination signal (SIGTERM, SIGINT) stops the
  // run before the next label: Interrupted, nothing printed.
  int print(int userData, ProjectType type, const QString& projectFile, bool selectFile,
            int printOptions, BoxType box, QWidget* parent, const QString& title,
            bool optionsDialog = true, const QString& tempPath = {});

  // Prints to a PDF file with no dialog, box or message, for batch use: the
  // same callbacks, `copies` pages per label. Failures are in lastError().
  int printToPdf(int userData, const QString& projectFile, const QString& pdfFile, int copies = 1);

  // Holding the output. A print's pages go first to a pending output: a PDF
  // in a temporary file beside the chosen one, or the document of a print
  // job not yet sent. Unless the output is held, a print that printed labels
  // delivers it at its end; held, it stays pending until deliverOutput() or
  // discardOutput(), so that the caller can first record what was printed
  // (and discard the output when it cannot). A print that failed or printed
  // nothing leaves nothing pending. A new print or the engine's end discards
  // what is still pending.
  void setHoldOutput(bool hold) { holdOutput_ = hold; }
  bool hasPendingOutput() const { return pending_ != nullptr; }
  // Renames the PDF over the chosen file or sends the job. True when there
  // was nothing pending; false with lastError() set when it failed, and then
  // nothing was delivered and labelsPrinted() is 0.
  bool deliverOutput();
  // Drops the pending output: no file is replaced, no job sent.
  void discardOutput();

  // Records printed by the last print (each once, whatever the copies).
  int labelsPrinted() const { return labelsPrinted_; }
  // Why the last design or print failed; empty when it did not.
  const QString& lastError() const { return lastError_; }
  // What the last print could not draw (barcodes that do not encode,
  // missing pictures).
  const QStringList& lastProblems() const { return lastProblems_; }

  // The settings the options dialog starts from: the last ones chosen.
  const PrintSettings& printSettings() const { return settings_; }
  void setPrintSettings(const PrintSettings& settings) { settings_ = settings; }

 private:
  struct Job;
  struct PendingOutput;
  using RecordSink = std::function<bool(const Variables&)>;
  void startRun();
  bool loadProject(const QString& path, LabelProject& project);
  // Raises the callback record by record until the last record, handing
  // each record's variables to `output`; returns a RunResult.
  int runRecords(const Job& job, const RecordSink& output);
  int printTo(const Job& job, const PrintSettings& settings);
  // Prints the records `records` hands to its sink (returning a RunResult)
  // into a new pending output, delivered at the end unless held.
  int render(const Job& job, const PrintSettings& settings,
             const std::function<int(const RecordSink&)>& records);
  int preview(const Job& job, const PrintSettings& settings, QWidget* parent);

  DefineVariablesHandler handler_;
  Variables variables_;
  PrintSettings settings_;
  bool holdOutput_ = false;
  std::unique_ptr<PendingOutput> pending_;
  int labelsPrinted_ = 0;
  QString lastError_;
  QStringList lastProblems_;
};

}  // namespace platform::reports

// The label engine component as the label windows name its class.
using TL11_ = platform::reports::LabelEngine;
