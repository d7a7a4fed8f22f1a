#pragma once

#include <QPainter>
#include <QString>
#include <QStringList>

#include "platform/reports/LabelProject.h"
#include "platform/reports/LabelRenderer.h"

class QPrinter;

namespace platform::reports {

// Sets a printer (a real one, a PDF file or a preview) up for the project's
// labels: the page is the label, without margins.
void setUpLabelPrinter(QPrinter& printer, const LabelProject& project);

// Prints labels one per page, each as many times as asked.
class LabelPageWriter {
 public:
  LabelPageWriter(QPrinter& printer, const LabelProject& project, const QString& projectDir);

  // Starts the document; false with `error` set when the printer or the
  // file cannot be opened.
  bool begin(QString& error);
  // Adds `copies` pages of the label with these variables; false when the
  // printer fails.
  bool write(const Variables& variables, int copies);
  // Finishes the document (the job is sent, the file is closed).
  bool end();

  int pagesWritten() const { return pages_; }
  QStringList takeProblems() { return renderer_.takeProblems(); }

 private:
  QPrinter& printer_;
  const LabelProject& project_;
  LabelRenderer renderer_;
  QPainter painter_;
  int pages_ = 0;
};

}  // namespace platform::reports
