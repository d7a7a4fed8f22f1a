#pragma once

#include <QList>
#include <QMap>
#include <QPointer>
#include <QString>
#include <map>

#include "platform/crystal/ReportFile.h"

class QWidget;

// The report engine: report files opened as print jobs, their tables and
// formulas set, their output sent to a window or a file. The calls mirror
// those of the print engine the windows were written for (open print job,
// set nth table location, set formula, output to window, start, close).
namespace platform::crystal {

class ChartWindow;
class TextReportWindow;

// The position and size of an output window left to the engine.
inline constexpr int kDefaultPlace = -2147483647 - 1;

class PrintEngine {
 public:
  PrintEngine() = default;
  ~PrintEngine();
  PrintEngine(const PrintEngine&) = delete;
  PrintEngine& operator=(const PrintEngine&) = delete;

  // Opens a report file (stored or native path) as a new job and returns its
  // number; 0 when the file is missing or not a valid report, with
  // lastError() and reportMissing() saying which.
  int openPrintJob(const QString& reportPath);
  // Where the report reads table `index`: the table's directory, a
  // backslash and its file name (stored form), at most 255 characters.
  bool setNthTableLocation(int job, int index, const QString& location);
  // Replaces the text of a formula the report defines.
  bool setFormula(int job, const QString& name, const QString& text);
  // The output goes to a window of its own with that title and place
  // (kDefaultPlace for the engine's), a child window of `parent` when given.
  bool outputToWindow(int job, const QString& title, int left, int top, int width, int height,
                      int style, QWidget* parent);
  // The output goes to a file (native path) for batch use: a chart as a PNG
  // image or a PDF document by the extension, a text report as a PDF.
  bool outputToFile(int job, const QString& path);
  // Reads the tables and produces the output. A window is shown and, with
  // `waitUntilDone`, the call returns when it has been closed.
  bool startPrintJob(int job, bool waitUntilDone);
  bool closePrintJob(int job);

  const QString& lastError() const { return error_; }
  bool reportMissing() const { return missing_; }
  // The windows the jobs opened that are still open, oldest first.
  QList<ChartWindow*> windows() const;
  QList<TextReportWindow*> textWindows() const;

 private:
  enum class Destination { None, Window, File };
  struct Job {
    QString path;
    ReportDefinition report;
    QMap<int, QString> tables;
    QMap<QString, QString> formulas;  // by the report's own spelling of the name
    Destination destination = Destination::None;
    QString title;
    int left = kDefaultPlace;
    int top = kDefaultPlace;
    int width = kDefaultPlace;
    int height = kDefaultPlace;
    QPointer<QWidget> parent;
    QString file;
  };

  Job* find(int job);
  bool fail(const QString& message);
  bool startChart(Job& job, bool waitUntilDone);
  bool startText(Job& job, bool waitUntilDone);
  void showWindow(QWidget* window, const Job& job, bool waitUntilDone);

  std::map<int, Job> jobs_;
  int lastJob_ = 0;
  QList<QPointer<ChartWindow>> windows_;
  QList<QPointer<TextReportWindow>> textWindows_;
  QString error_;
  bool missing_ = false;
};

}  // namespace platform::crystal
