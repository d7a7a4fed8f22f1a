#include "platform/reports/ListLayoutFile.h"

#include <QFile>

#include "core/BoundedInt.h"
#include "core/Cp1252.h"

namespace platform::reports {

namespace {

// Layout units are thousandths of a millimetre.
double millimetres(const QString& text, bool* ok) {
  return text.trimmed().toDouble(ok) / 1000.0;
}

// A page side in millimetres: above zero and within 5 m. No paper is larger;
// a page beyond it is a damaged file, and drawing it would ask for an image
// of unbounded size.
bool sensiblePageSide(double mm) {
  return mm > 0 && mm <= 5000.0;
}

// "(a,b,c,d)" as four numbers.
bool parseQuad(const QString& text, double values[4]) {
  QString inner = text.trimmed();
  if (!inner.startsWith(QLatin1Char('(')) || !inner.endsWith(QLatin1Char(')'))) return false;
  const QStringList parts = inner.mid(1, inner.size() - 2).split(QLatin1Char(','));
  if (parts.size() != 4) return false;
  for (int i = 0; i < 4; ++i) {
    bool ok = false;
    values[i] = parts[i].trimmed().toDouble(&ok);
    if (!ok) return false;
  }
  return true;
}

bool parseRect(const QString& text, QRectF& rect) {
  double v[4];
  if (!parseQuad(text, v) || v[2] < v[0] || v[3] < v[1]) return false;
  rect = QRectF(QPointF(v[0] / 1000.0, v[1] / 1000.0), QPointF(v[2] / 1000.0, v[3] / 1000.0));
  return true;
}

// Splits "a=1,b=(1,2),c={x,y}" at the commas outside brackets.
QStringList splitOptions(const QString& text) {
  QStringList parts;
  int depth = 0;
  QString current;
  for (const QChar c : text) {
    if (c == QLatin1Char('(') || c == QLatin1Char('{')) ++depth;
    if (c == QLatin1Char(')') || c == QLatin1Char('}')) --depth;
    if (c == QLatin1Char(',') && depth == 0) {
      parts << current;
      current.clear();
    } else {
      current += c;
    }
  }
  parts << current;
  return parts;
}

struct Parser {
  QStringList lines;
  QChar quote = QChar(0x00A8);
  ListLayout& layout;
  QString& error;

  bool fail(int line, const QString& what) {
    error = QStringLiteral("riga %1: %2").arg(line + 1).arg(what);
    return false;
  }

  // A column line "  ,Width=...,Text=<q>expression<q>".
  bool parseColumn(int at, const ListFont& listFont, ListColumn& column) {
    const QString line = lines[at].trimmed();
    const QString marker = QStringLiteral("Text=") + quote;
    const qsizetype text = line.indexOf(marker);
    if (text < 0 || !line.endsWith(quote) || line.size() < text + marker.size() + 1)
      return fail(at, QStringLiteral("colonna senza testo"));
    column.expression = line.mid(text + marker.size(), line.size() - text - marker.size() - 1);
    column.font = listFont;
    column.sourceLine = at;
    for (const QString& option : splitOptions(line.left(text))) {
      const qsizetype equals = option.indexOf(QLatin1Char('='));
      if (equals < 0) continue;
      const QString key = option.left(equals).trimmed();
      const QString value = option.mid(equals + 1);
      bool ok = true;
      if (key == QLatin1String("Width")) {
        column.width = millimetres(value, &ok);
      } else if (key == QLatin1String("Align")) {
        const int align = value.toInt(&ok);
        column.align = align == 2   ? ListAlign::Right
                       : align == 1 ? ListAlign::Centre
                                    : ListAlign::Left;
      } else if (key == QLatin1String("Fit")) {
        column.fit = value.toInt(&ok) != 0;
      } else if (key == QLatin1String("Space")) {
        double v[4];
        ok = parseQuad(value, v);
        if (ok) column.space = QMarginsF(v[0] / 1000, v[1] / 1000, v[2] / 1000, v[3] / 1000);
      } else if (key == QLatin1String("Font")) {
        ok = parseListFont(value, column.font);
        column.hasFont = ok;
      }
      if (!ok || column.width < 0) return fail(at, QStringLiteral("valore non valido: ") + option);
    }
    return true;
  }

  // A subsection between "{" and "}" from line `at`; returns the line after it.
  bool parseBlock(int& at, QStringList& body) {
    if (at >= lines.size() || lines[at].trimmed() != QLatin1String("{"))
      return fail(at, QStringLiteral("manca {"));
    for (++at; at < lines.size(); ++at) {
      const QString trimmed = lines[at].trimmed();
      if (trimmed == QLatin1String("}")) {
        ++at;
        return true;
      }
      body << QString::number(at);
    }
    return fail(at - 1, QStringLiteral("manca }"));
  }

  bool parseLines(int& at, const ListFont& font, QList<ListLine>& target) {
    QStringList body;
    if (!parseBlock(at, body)) return false;
    ListLine line;
    for (const QString& number : body) {
      const int index = number.toInt();
      const QString trimmed = lines[index].trimmed();
      if (trimmed.startsWith(QLatin1Char(','))) {
        ListColumn column;
        if (!parseColumn(index, font, column)) return false;
        line.columns << column;
      } else if (trimmed.startsWith(QLatin1String("LCondition="))) {
        line.condition = trimmed.mid(11).trimmed();
      }
    }
    target << line;
    return true;
  }

  bool parseTextLines(int& at, ListText& text) {
    QStringList body;
    if (!parseBlock(at, body)) return false;
    for (const QString& number : body) {
      const int index = number.toInt();
      const QString trimmed = lines[index].trimmed();
      const QString marker = QStringLiteral("Text=") + quote;
      const qsizetype start = trimmed.indexOf(marker);
      if (!trimmed.startsWith(QLatin1Char(','))) continue;
      if (start < 0 || !trimmed.endsWith(quote) || trimmed.size() < start + marker.size() + 1)
        return fail(index, QStringLiteral("testo non valido"));
      text.expressions << trimmed.mid(start + marker.size(),
                                      trimmed.size() - start - marker.size() - 1);
    }
    return true;
  }

  bool parseObject(int& at) {
    QRectF rect;
    bool haveRect = false;
    int layer = 0;
    QString condition;
    ListFont font = layout.defaultFont;
    int fontLine = -1;
    int rectLine = -1;
    QList<ListLine> dataLines, header, footer;
    bool isTable = false;
    ListText text;
    bool isText = false;
    while (at < lines.size() && !lines[at].startsWith(QLatin1Char('['))) {
      const QString trimmed = lines[at].trimmed();
      if (trimmed.startsWith(QLatin1Char('['))) {
        const QString name = trimmed;
        ++at;
        if (name == QLatin1String("[Lines]")) {
          isText = true;
          if (!parseTextLines(at, text)) return false;
        } else if (name == QLatin1String("[HeaderColumns]")) {
          isTable = true;
          if (!parseLines(at, font, header)) return false;
        } else if (name == QLatin1String("[FooterColumns]")) {
          isTable = true;
          if (!parseLines(at, font, footer)) return false;
        } else if (name.startsWith(QLatin1String("[Columns")) &&
                   name != QLatin1String("[ColumnsX]")) {
          isTable = true;
          if (!parseLines(at, font, dataLines)) return false;
        } else {
          QStringList ignored;
          if (!parseBlock(at, ignored)) return false;
        }
        continue;
      }
      const qsizetype equals = trimmed.indexOf(QLatin1Char('='));
      if (equals > 0) {
        const QString key = trimmed.left(equals);
        const QString value = trimmed.mid(equals + 1);
        if (key == QLatin1String("Rect")) {
          if (!parseRect(value, rect)) return fail(at, QStringLiteral("rettangolo non valido"));
          haveRect = true;
          rectLine = at;
        } else if (key == QLatin1String("LayerID")) {
          layer = value.toInt();
        } else if (key == QLatin1String("Condition")) {
          condition = value.trimmed();
        } else if (key == QLatin1String("Font")) {
          if (!parseListFont(value, font)) return fail(at, QStringLiteral("carattere non valido"));
          fontLine = at;
        }
      }
      ++at;
    }
    if (!haveRect) return fail(at - 1, QStringLiteral("oggetto senza rettangolo"));
    if (isTable) {
      if (layout.hasTable) return true;  // one list per project: the first
      layout.hasTable = true;
      layout.table = {rect, layer, condition, font, dataLines, header, footer};
      layout.fontLine = fontLine;
      layout.rectLine = rectLine;
    } else if (isText) {
      text.rect = rect;
      text.layer = layer;
      text.condition = condition;
      text.font = font;
      layout.texts << text;
    }
    return true;
  }

  bool parse() {
    bool haveLayout = false;
    bool haveWidth = false;
    bool haveHeight = false;
    int at = 0;
    QString section;
    int layerId = 0;
    QString layerCondition;
    const auto endLayer = [&] {
      if (section == QLatin1String("[Layer]"))
        layout.layerConditions.insert(layerId, layerCondition);
    };
    while (at < lines.size()) {
      const QString line = lines[at];
      if (line.startsWith(QLatin1Char('['))) {
        endLayer();
        section = line.trimmed();
        layerId = 0;
        layerCondition.clear();
        ++at;
        if (section == QLatin1String("[Layout]")) haveLayout = true;
        if (section == QLatin1String("[Object]") && !parseObject(at)) return false;
        continue;
      }
      const QString trimmed = line.trimmed();
      const qsizetype equals = trimmed.indexOf(QLatin1Char('='));
      const QString key = equals > 0 ? trimmed.left(equals) : QString();
      const QString value = equals > 0 ? trimmed.mid(equals + 1) : QString();
      bool ok = true;
      if (section == QLatin1String("[Description]") && key == QLatin1String("TextQuote.Start")) {
        const int code = value.toInt(&ok);
        if (ok && code > 0 && code < 256) quote = core::fromCp1252(QByteArray(1, char(code))).at(0);
      } else if (section == QLatin1String("[Layout]")) {
        if (key == QLatin1String("xSize")) {
          layout.page.setWidth(millimetres(value, &ok));
          haveWidth = ok;
        } else if (key == QLatin1String("ySize")) {
          layout.page.setHeight(millimetres(value, &ok));
          haveHeight = ok;
        } else if (key == QLatin1String("Orientation")) {
          layout.landscape = value.toInt() == 2;
        } else if (key == QLatin1String("DefFont")) {
          ok = parseListFont(value, layout.defaultFont);
        }
        if (key.endsWith(QLatin1String("xSize")) || key.endsWith(QLatin1String("ySize")))
          layout.sizeLines << at;
        if (key.endsWith(QLatin1String("Orientation"))) layout.orientationLines << at;
        if (!ok) return fail(at, QStringLiteral("valore non valido: ") + trimmed);
      } else if (section == QLatin1String("[Layer]")) {
        if (key == QLatin1String("LayerID")) layerId = value.toInt();
        if (key == QLatin1String("Condition")) layerCondition = value.trimmed();
      }
      ++at;
    }
    endLayer();
    if (!haveLayout || !haveWidth || !haveHeight || !sensiblePageSide(layout.page.width()) ||
        !sensiblePageSide(layout.page.height()))
      return fail(at - 1, QStringLiteral("manca il formato della pagina"));
    if (!layout.hasTable) return fail(at - 1, QStringLiteral("manca l'oggetto elenco"));
    return true;
  }
};

}  // namespace

bool parseListFont(const QString& text, ListFont& font) {
  QString inner = text.trimmed();
  if (!inner.startsWith(QLatin1Char('{')) || !inner.endsWith(QLatin1Char('}'))) return false;
  inner = inner.mid(1, inner.size() - 2);
  const qsizetype close = inner.indexOf(QLatin1Char(')'));
  if (!inner.startsWith(QLatin1Char('(')) || close < 0) return false;
  double rgb[4];
  if (!parseQuad(inner.left(close + 1).replace(QLatin1Char(')'), QLatin1String(",0)")), rgb))
    return false;
  const QStringList parts = inner.mid(close + 2).split(QLatin1Char(','));
  // size, height, width, escapement, orientation, weight, italic, underline,
  // strikeout, five more numbers, the name (which may hold commas).
  if (parts.size() < 15) return false;
  bool ok = true;
  const auto number = [&](int index) {
    bool good = false;
    const int value = parts[index].trimmed().toInt(&good);
    ok = ok && good;
    return value;
  };
  ListFont read;
  read.colour = QColor(core::boundedInt(rgb[0], 0, 255), core::boundedInt(rgb[1], 0, 255),
                       core::boundedInt(rgb[2], 0, 255));
  read.pointSize = number(0);
  read.bold = number(5) >= 600;
  read.italic = number(6) != 0;
  read.underline = number(7) != 0;
  read.strikeout = number(8) != 0;
  read.name = parts.mid(14).join(QLatin1Char(',')).trimmed();
  if (!ok || read.pointSize <= 0 || read.pointSize > 400 || read.name.isEmpty()) return false;
  font = read;
  return true;
}

QString listFontText(const ListFont& font) {
  return QStringLiteral("{(%1,%2,%3),%4,-16,0,0,0,%5,%6,%7,%8,0,0,0,0,0,%9}")
      .arg(font.colour.red())
      .arg(font.colour.green())
      .arg(font.colour.blue())
      .arg(qRound(font.pointSize))
      .arg(font.bold ? 700 : 400)
      .arg(font.italic ? 255 : 0)
      .arg(font.underline ? 1 : 0)
      .arg(font.strikeout ? 1 : 0)
      .arg(font.name);
}

QStringList listLayoutLines(const QByteArray& bytes) {
  QString text = core::fromCp1252(bytes);
  text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  QStringList lines = text.split(QLatin1Char('\n'));
  if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
  return lines;
}

QByteArray listLayoutBytes(const QStringList& lines) {
  QByteArray bytes;
  for (const QString& line : lines) bytes += core::toCp1252(line) + "\r\n";
  return bytes;
}

bool parseListLayout(const QByteArray& bytes, ListLayout& layout, QString& error) {
  ListLayout read;
  Parser parser{listLayoutLines(bytes), QChar(0x00A8), read, error};
  if (!parser.parse()) return false;
  layout = read;
  return true;
}

bool loadListLayout(const QString& nativePath, ListLayout& layout, QStringList& lines,
                    QString& error) {
  QFile file(nativePath);
  if (!file.open(QIODevice::ReadOnly)) {
    error = file.errorString();
    return false;
  }
  const QByteArray bytes = file.readAll();
  if (!parseListLayout(bytes, layout, error)) return false;
  lines = listLayoutLines(bytes);
  return true;
}

}  // namespace platform::reports
