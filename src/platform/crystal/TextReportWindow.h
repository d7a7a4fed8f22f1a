#pragma once

#include <QList>
#include <QWidget>

#include "platform/crystal/TextReport.h"

class QPrinter;
class QPrintPreviewWidget;

namespace platform::crystal {

// The window a text report is shown in: a preview of its pages and the
// commands to print them ("&Stampa", through the print dialog) and to save
// them as a PDF document ("&Salva PDF..."). It frees itself when closed.
class TextReportWindow : public QWidget {
  Q_OBJECT

 public:
  TextReportWindow(const TextDefinition& text, QList<TextPage> pages, const QString& title,
                   QWidget* parent = nullptr);
  ~TextReportWindow() override;

  const QList<TextPage>& pages() const { return pages_; }
  QPrintPreviewWidget* preview() const { return preview_; }

  // The commands of the buttons. save() writes `path` when given, else asks
  // for a file; failures are shown in a message box.
  void print();
  bool save(const QString& path = {});

 private:
  TextDefinition text_;
  QList<TextPage> pages_;
  QPrinter* printer_;
  QPrintPreviewWidget* preview_;
};

}  // namespace platform::crystal
