#include "platform/reports/Barcode.h"

#include <zint.h>

#include <memory>

namespace platform::reports {

namespace {

// Bars lower than this many modules are hard to scan; a lower box gets a
// narrower symbol instead.
constexpr double kMinimumBarModules = 10;
// The height zint is first asked for, to learn how the symbol grows.
constexpr float kProbeModules = 50;

struct SymbolDeleter {
  void operator()(zint_symbol* symbol) const { ZBarcode_Delete(symbol); }
};
using Symbol = std::unique_ptr<zint_symbol, SymbolDeleter>;

// Encodes into zint's vector form with bars `height` modules high; returns
// the error text, empty on success.
QString encode(Symbol& symbol, Symbology symbology, const QByteArray& data, bool humanReadable,
               float height) {
  symbol.reset(ZBarcode_Create());
  if (!symbol) return QStringLiteral("memoria insufficiente");
  symbol->symbology = symbology == Symbology::Ean13 ? BARCODE_EANX : BARCODE_CODE128;
  symbol->input_mode = UNICODE_MODE;
  symbol->show_hrt = humanReadable ? 1 : 0;
  // The blank margins scanners need are part of the symbol, inside the box.
  symbol->output_options |= BARCODE_QUIET_ZONES;
  symbol->height = height;
  const int result = ZBarcode_Encode(
      symbol.get(), reinterpret_cast<const unsigned char*>(data.constData()), int(data.size()));
  if (result >= ZINT_ERROR) return QString::fromUtf8(symbol->errtxt);
  if (ZBarcode_Buffer_Vector(symbol.get(), 0) >= ZINT_ERROR || !symbol->vector)
    return QString::fromUtf8(symbol->errtxt);
  return {};
}

QString validate(Symbology symbology, const QString& data) {
  if (symbology != Symbology::Ean13) return {};
  bool digits = data.size() == 12 || data.size() == 13;
  for (const QChar c : data)
    if (c < '0' || c > '9') digits = false;
  return digits ? QString() : QStringLiteral("un codice EAN-13 è di 12 o 13 cifre");
}

}  // namespace

BarcodeDrawing layoutBarcode(Symbology symbology, const QString& data, bool humanReadable,
                             const QSizeF& size, const LabelFont& font) {
  BarcodeDrawing drawing;
  if (data.isEmpty() || size.width() <= 0 || size.height() <= 0) return drawing;
  if (drawing.error = validate(symbology, data); !drawing.error.isEmpty()) return drawing;
  const QByteArray bytes = data.toUtf8();

  // The vector grows by a fixed amount per module of bar height, over a part
  // that does not grow (text, EAN guard bars). Probe it, then ask for the
  // height that gives the box's proportions at the box's width.
  Symbol symbol;
  if (drawing.error = encode(symbol, symbology, bytes, humanReadable, kProbeModules);
      !drawing.error.isEmpty())
    return drawing;
  // The shortest bar is the probe's height (EAN guard bars reach lower).
  double unitsPerModule = 0;
  for (const zint_vector_rect* r = symbol->vector->rectangles; r; r = r->next)
    if (unitsPerModule == 0 || r->height / kProbeModules < unitsPerModule)
      unitsPerModule = r->height / kProbeModules;
  const double fixedUnits = symbol->vector->height - kProbeModules * unitsPerModule;
  const double wantedUnits = size.height() * symbol->vector->width / size.width();
  const double modules =
      qMax(kMinimumBarModules, (wantedUnits - fixedUnits) / qMax(unitsPerModule, 1e-6));
  if (drawing.error = encode(symbol, symbology, bytes, humanReadable, float(modules));
      !drawing.error.isEmpty())
    return drawing;

  const zint_vector& vector = *symbol->vector;
  const double scale = qMin(size.width() / vector.width, size.height() / vector.height);
  const double left = (size.width() - vector.width * scale) / 2;
  const double top = (size.height() - vector.height * scale) / 2;
  for (const zint_vector_rect* r = vector.rectangles; r; r = r->next)
    drawing.bars.append(
        QRectF(left + r->x * scale, top + r->y * scale, r->width * scale, r->height * scale));
  for (const zint_vector_string* s = vector.strings; s; s = s->next) {
    BarcodeText text;
    text.anchor = QPointF(left + s->x * scale, top + s->y * scale);
    text.size = qMin(s->fsize * scale, font.points * 25.4 / 72);
    text.alignment = s->halign == 1   ? Qt::AlignLeft
                     : s->halign == 2 ? Qt::AlignRight
                                      : Qt::AlignHCenter;
    text.text = QString::fromUtf8(reinterpret_cast<const char*>(s->text));
    drawing.texts.append(text);
  }
  return drawing;
}

}  // namespace platform::reports
