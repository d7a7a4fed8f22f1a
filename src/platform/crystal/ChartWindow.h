#pragma once

#include <QWidget>

#include "platform/crystal/ChartDrawing.h"

class QChartView;
class QPushButton;

namespace platform::crystal {

// The window a chart report is shown in: the chart, drawn again at the
// window's size, and the commands to print it ("&Stampa", through the print
// dialog) and to save it as a PNG image or a PDF document ("&Salva...").
// It frees itself when closed.
class ChartWindow : public QWidget {
  Q_OBJECT

 public:
  ChartWindow(const ChartContent& content, const QString& title, QWidget* parent = nullptr);

  const ChartContent& content() const { return content_; }
  QChartView* view() const { return view_; }

  // The commands of the buttons. save() writes `path` when given, else asks
  // for a file; failures are shown in a message box.
  void print();
  bool save(const QString& path = {});

 private:
  ChartContent content_;
  QChartView* view_;
};

}  // namespace platform::crystal
