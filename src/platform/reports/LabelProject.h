#pragma once

#include <QList>
#include <QMap>
#include <QRectF>
#include <QSizeF>
#include <QString>

// A label project: the size of the label and the objects printed on it. All
// lengths are millimetres from the label's top-left corner. The file format
// is described in LabelProjectFile.h.
namespace platform::reports {

// The values of the variables a label is printed with, by name.
using Variables = QMap<QString, QString>;

enum class ObjectKind { Text, Barcode, Line, Box, Image };

enum class Alignment { Left, Center, Right };

enum class Symbology { Code128, Ean13 };

struct LabelFont {
  QString family = QStringLiteral("Arial");
  double points = 10;
  bool bold = false;
  bool italic = false;

  bool operator==(const LabelFont&) const = default;
};

struct LabelObject {
  ObjectKind kind = ObjectKind::Text;
  // Position and size. A line runs from the top-left corner to the
  // bottom-right one (a zero height gives a horizontal line).
  QRectF rect;

  // What a text or barcode shows: the value of the variable when one is
  // named, otherwise the fixed text.
  QString variable;
  QString fixedText;

  // Text objects, and the human-readable line of barcodes.
  LabelFont font;
  Alignment alignment = Alignment::Left;

  // Barcodes.
  Symbology symbology = Symbology::Code128;
  bool humanReadable = true;

  // Lines and box outlines.
  double thickness = 0.3;

  // Images: a file name, relative to the project's folder unless absolute.
  QString imageFile;

  bool operator==(const LabelObject&) const = default;

  // Whether the object shows a value (text or barcode) and so can be bound.
  bool showsValue() const { return kind == ObjectKind::Text || kind == ObjectKind::Barcode; }
  // The value shown with these variables: an unknown variable shows empty.
  QString value(const Variables& variables) const;
};

struct LabelProject {
  QSizeF size{70, 40};
  QList<LabelObject> objects;

  bool operator==(const LabelProject&) const = default;

  // The variables the objects are bound to, sorted, each once.
  QStringList boundVariables() const;
};

// The symbology's name as users know it ("Code 128", "EAN-13").
QString symbologyCaption(Symbology symbology);

}  // namespace platform::reports
