#pragma once

#include <QHash>
#include <QImage>
#include <QString>
#include <QStringList>

#include "platform/reports/LabelProject.h"

class QPainter;

namespace platform::reports {

// Paints labels with any QPainter (printer, PDF, preview, image, designer).
// The painter's units must be millimetres with the label's top-left corner
// at the origin; texts are laid out at the size they will have on the device.
class LabelRenderer {
 public:
  // Image objects with a relative file name are looked up in `projectDir`.
  explicit LabelRenderer(QString projectDir = {});

  void paintLabel(QPainter& painter, const LabelProject& project, const Variables& variables);
  void paintObject(QPainter& painter, const LabelObject& object, const Variables& variables);

  // What could not be drawn since the last call of takeProblems(): values a
  // barcode cannot encode, images that cannot be read. Each problem once.
  QStringList takeProblems();

 private:
  void paintText(QPainter& painter, const LabelObject& object, const QString& value);
  void paintBarcode(QPainter& painter, const LabelObject& object, const QString& value);
  void paintImage(QPainter& painter, const LabelObject& object);
  void problem(const QString& text);

  QString projectDir_;
  QHash<QString, QImage> images_;
  QStringList problems_;
};

}  // namespace platform::reports
