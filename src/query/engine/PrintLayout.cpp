#include "query/engine/PrintLayout.h"

#include <QDir>
#include <QFileInfo>

#include "core/Cp1252.h"
#include "core/OutputFile.h"
#include "core/Paths.h"

namespace query::engine {

namespace {

using T = db::FieldType;

// The character that quotes the texts of a layout (168, the dieresis).
const QString kQuote = QString(QChar(0x00A8));
const QString kSpace = QStringLiteral("Space=(1000,500,1000,500),bRTF=FALSE,Text=");

// The room for the list's columns, by orientation.
constexpr int kPortraitRoom = 182000;
constexpr int kLandscapeRoom = 257800;

bool alignsRight(T type) {
  return type == T::Currency || type == T::Integer || type == T::SmallInt || type == T::Bcd ||
         type == T::Float;
}

QString quoted(const QString& text) {
  return kQuote + text + kQuote;
}

QString bcdDecimals(int scale) {
  switch (scale) {
    case 1:
      return QStringLiteral(".#");
    case 3:
      return QStringLiteral(".###");
    case 4:
      return QStringLiteral(".####");
    case 5:
      return QStringLiteral(".#####");
    case 6:
      return QStringLiteral(".######");
    default:
      return QStringLiteral(".##");
  }
}

// "{(R,G,B),size,height,0,0,0,weight,italic,underline,strikeout,...,name}".
QString fontText(const LayoutFont& font, const QString& height, int weight, const QString& tail) {
  return QStringLiteral("Font={(%1,%2,%3),%4,%5,0,0,0,%6,%7,%8,%9,%10,%11}")
      .arg(font.red)
      .arg(font.green)
      .arg(font.blue)
      .arg(font.pointSize)
      .arg(height)
      .arg(weight)
      .arg(font.italic ? 255 : 0)
      .arg(font.underline ? 1 : 0)
      .arg(font.strikeout ? 1 : 0)
      .arg(tail, font.name);
}

QString listFont(const LayoutFont& font) {
  return fontText(font, QStringLiteral("-16"), font.bold ? 700 : 400, QStringLiteral("0,0,0,0,0"));
}

QString totalsFont(const LayoutFont& font) {
  return fontText(font, QStringLiteral("-11"), 700, QStringLiteral("0,3,2,1,34"));
}

void description(QStringList& lines, const QString& text, bool withUser) {
  lines << QStringLiteral("[List description]") << QStringLiteral("[Description]")
        << QStringLiteral(" Text=") + text << QStringLiteral(" FileVersion=3")
        << QStringLiteral(" Units=SCM-Units") << QStringLiteral(" TextQuote.Start=168")
        << QStringLiteral(" TextQuote.End=168");
  // Fixed stamps: a generated layout is the same file for the same answer.
  lines << QStringLiteral(" Created=01.01.2000;00:00") << QStringLiteral(" CreatedByApp=Orbelan")
        << QStringLiteral(" CreatedByDLL=Orbelan");
  if (withUser) lines << QStringLiteral(" CreatedByUser=Orbelan");
  lines << QStringLiteral(" LastModified=01.01.2000;00:00")
        << QStringLiteral(" LastModifiedByApp=Orbelan")
        << QStringLiteral(" LastModifiedByDLL=Orbelan");
  if (withUser) lines << QStringLiteral(" LastModifiedByUser=Orbelan");
}

void pageLayout(QStringList& lines, bool landscape, const QString& portraitHeight) {
  const QString x = landscape ? QStringLiteral("296300") : QStringLiteral("210000");
  const QString y = landscape ? QStringLiteral("210000") : portraitHeight;
  lines << QStringLiteral("[Layout]") << QStringLiteral(" P1.Template=")
        << QStringLiteral(" P2.Template=");
  for (const QString& prefix : {QString(), QStringLiteral("P1."), QStringLiteral("P2.")}) {
    lines << QStringLiteral(" %1xOffset=0").arg(prefix)
          << QStringLiteral(" %1yOffset=0").arg(prefix)
          << QStringLiteral(" %1xSize=%2").arg(prefix, x)
          << QStringLiteral(" %1ySize=%2").arg(prefix, y);
  }
  lines << QStringLiteral(" xGrid=1000") << QStringLiteral(" yGrid=1000")
        << QStringLiteral(" GridShow=FALSE") << QStringLiteral(" GridSnap=FALSE")
        << QStringLiteral(" PhysicalPage=TRUE") << QStringLiteral(" P1.PhysicalPage=TRUE")
        << QStringLiteral(" P2.PhysicalPage=TRUE");
  const int orientation = landscape ? 2 : 1;
  lines << QStringLiteral(" Orientation=%1").arg(orientation)
        << QStringLiteral(" P1.Orientation=%1").arg(orientation)
        << QStringLiteral(" P2.Orientation=%1").arg(orientation);
  lines << QStringLiteral(" EnhancedExpressions=TRUE")
        << QStringLiteral(" EnhancedOldExpressions=FALSE") << QStringLiteral(" Decimals=2")
        << QStringLiteral(" DefFont={(0,0,0),12,-16,0,0,0,400,0,0,0,0,0,0,0,0,Arial}");
}

void sumVariables(QStringList& lines, bool standard) {
  lines << QStringLiteral("[UserSection]") << QStringLiteral("[SumVariables]");
  for (int i = 1; i <= 50; ++i) {
    const QString prefix = standard && i > 25 ? QStringLiteral("Summe") : QStringLiteral("Sum");
    lines << QStringLiteral(" Sum%1=@%2%3;F;").arg(i).arg(prefix).arg(i, 2, 10, QLatin1Char('0'));
  }
}

void layers(QStringList& lines) {
  const struct {
    const char* name;
    const char* condition;
    const char* colour;
  } kLayers[] = {{"Base", "", "(0,0,0)"},
                 {"First Page", "Page() = 1", "(0,128,64)"},
                 {"Following Pages", "Page() <> 1", "(0,0,255)"}};
  int id = 0;
  for (const auto& layer : kLayers) {
    lines << QStringLiteral("[Layer]") << QStringLiteral(" Name=") + QLatin1String(layer.name)
          << QStringLiteral(" Condition=") + QLatin1String(layer.condition)
          << QStringLiteral(" WorkspaceColor=") + QLatin1String(layer.colour)
          << QStringLiteral(" Visible=TRUE") << QStringLiteral(" LayerID=%1").arg(id++);
  }
}

void objectHead(QStringList& lines, int id, const QString& name, const QString& rect,
                const QString& fg, const QString& bg, int linkId, int linkTest) {
  lines << QStringLiteral("[Object]") << QStringLiteral(" ObjectID=%1").arg(id)
        << QStringLiteral(" ObjectName=") + name << QStringLiteral(" Identifier=")
        << QStringLiteral(" Rect=") + rect << QStringLiteral(" FgColor=") + fg
        << QStringLiteral(" BkColor=") + bg << QStringLiteral(" Locked=FALSE")
        << QStringLiteral(" UserLocked=FALSE") << QStringLiteral(" Condition=")
        << QStringLiteral(" LinkID=%1").arg(linkId) << QStringLiteral(" LinkToID=0")
        << QStringLiteral(" LinkMode=32") << QStringLiteral(" LinkTest=%1").arg(linkTest)
        << QStringLiteral(" LayerID=0") << QStringLiteral(" GroupID=0");
}

void listTail(QStringList& lines, const LayoutFont& font, const QString& raster,
              const QString& rasterColour) {
  lines << QStringLiteral(" ") + listFont(font) << QStringLiteral(" bFooterOnBottom=FALSE")
        << QStringLiteral(" bFillBottom=FALSE") << QStringLiteral(" bTransparent=TRUE")
        << QStringLiteral(" [ColumnsX]") << QStringLiteral("  {")
        << QStringLiteral("  bStripes=FALSE") << QStringLiteral("  StripesRaster=") + raster
        << QStringLiteral("  StripesRasterColor=") + rasterColour
        << QStringLiteral("  bWrapAllowed=FALSE") << QStringLiteral("  }");
}

void frames(QStringList& lines, const QList<int>& numbers) {
  for (const int number : numbers)
    lines << QStringLiteral("  Frame%1=,Show=TRUE,Width=0,SpaceOut=0").arg(number);
}

void sectionEnd(QStringList& lines, const QString& condition) {
  lines << QStringLiteral("  LFont=default") << QStringLiteral("  LCondition=") + condition
        << QStringLiteral("  IgnoreEmpty=1") << QStringLiteral("  }");
}

void groupColumns(QStringList& lines) {
  lines << QStringLiteral(" [GroupColumnsX]") << QStringLiteral("  {")
        << QStringLiteral("  DataLineMustFollow=TRUE") << QStringLiteral("  }");
}

void textObject(QStringList& lines, const QString& rect, const QString& text) {
  objectHead(lines, 1, QStringLiteral("Testo"), rect, QStringLiteral("(0,0,0)"),
             QStringLiteral("(255,255,255)"), 3, -15880);
  lines << QStringLiteral(" bWYSIWYGDialog=TRUE") << QStringLiteral(" bPageWrap=FALSE")
        << QStringLiteral(" [Lines]") << QStringLiteral("  {")
        << QStringLiteral("  ,OptimSpaces=TRUE,Text=") + quoted(text) << QStringLiteral("  }");
}

void userVariables(QStringList& lines) {
  lines << QStringLiteral("[UserVariables]");
  for (int i = 1; i <= 100; ++i) {
    const bool user = i <= 50;
    const int number = user ? i : i - 50;
    lines << QStringLiteral(" User%1=@%2%3")
                 .arg(i)
                 .arg(user ? QStringLiteral("User") : QStringLiteral("Utente"))
                 .arg(number, 2, 10, QLatin1Char('0'));
  }
}

// The fields kept by the room rule: visible fields in the given order, as
// long as their widths, added up, stay below the room.
QList<int> fittingColumns(const AdvancedLayout& layout, const QList<int>& order) {
  const int room = layout.landscape ? kLandscapeRoom : kPortraitRoom;
  QList<int> kept;
  int sum = 0;
  for (const int index : order) {
    const LayoutField& field = layout.fields.at(index);
    if (!field.visible) continue;
    sum += layoutColumnWidth(field.displayWidth);
    if (sum >= room) break;
    kept << index;
  }
  return kept;
}

QString columnStart(const LayoutField& field) {
  QString line = QStringLiteral("  ,Width=%1").arg(layoutColumnWidth(field.displayWidth));
  if (alignsRight(field.type)) line += QStringLiteral(",Align=2");
  return line;
}

}  // namespace

bool totalsType(db::FieldType type) {
  return type == T::SmallInt || type == T::Integer || type == T::Float || type == T::Currency ||
         type == T::Bcd;
}

QString fieldExpression(const QString& name, const LayoutField& field) {
  if (!totalsType(field.type)) return name;
  QString mask;
  if (field.grouping == 1) {
    mask = QStringLiteral("---,---,---,--&.##");
  } else if (field.grouping == 2) {
    mask = QStringLiteral("---,---,---,---");
  } else if (field.type == T::Float) {
    mask = QStringLiteral("---,---,---,--&.######");
  } else if (field.type == T::Bcd) {
    mask = QStringLiteral("---,---,---,--&") + bcdDecimals(field.scale);
  } else {
    return name;
  }
  return QStringLiteral("Fstr$(%1,\"%2\",1)").arg(name, mask);
}

int layoutColumnWidth(int displayWidth) {
  return displayWidth < 3 ? 20000 : displayWidth * 2000;
}

QStringList advancedLayoutLines(const AdvancedLayout& layout) {
  QStringList lines;
  description(lines, QStringLiteral("Report"), false);
  pageLayout(lines, layout.landscape, QStringLiteral("296300"));
  sumVariables(lines, false);
  layers(lines);

  objectHead(lines, 6, QStringLiteral("Elenco"),
             layout.landscape ? QStringLiteral("(11600,27400,269400,193600)")
                              : QStringLiteral("(11600,27400,193600,269400)"),
             QStringLiteral("(0,0,0)"), QStringLiteral("(255,255,128)"), 4, -1948);
  listTail(lines, layout.font, QStringLiteral("2"), QStringLiteral("(255,255,0)"));

  QList<int> fieldOrder;
  for (int i = 0; i < layout.fields.size(); ++i) fieldOrder << i;
  // One frame per grid column, numbered from 0.
  QList<int> allFrames;
  for (int i = 0; i < layout.gridColumns.size(); ++i) allFrames << i;

  lines << QStringLiteral(" [Columns]") << QStringLiteral("  {");
  for (const int index : fittingColumns(layout, fieldOrder)) {
    const LayoutField& field = layout.fields.at(index);
    const bool fit = layout.longTexts && db::isLongText(field.type);
    lines << columnStart(field) +
                 (fit ? QStringLiteral(",Separator=TRUE,Fit=1,SepWidth=0,Expression=TRUE,")
                      : QStringLiteral(",Separator=TRUE,SepWidth=0,Expression=TRUE,")) +
                 kSpace + quoted(fieldExpression(field.name, field));
  }
  frames(lines, allFrames);
  sectionEnd(lines, QStringLiteral("TipoRiga='DETTAGLI'"));

  if (!layout.singleRecord) {
    lines << QStringLiteral(" [Columns1]") << QStringLiteral("  {");
    for (const int index : fittingColumns(layout, fieldOrder)) {
      const LayoutField& field = layout.fields.at(index);
      const bool total = layout.hasTotals && field.totals && totalsType(field.type);
      lines << columnStart(field) + QStringLiteral(",Separator=TRUE,SepWidth=0,Expression=TRUE,") +
                   totalsFont(layout.font) + QLatin1Char(',') + kSpace +
                   quoted(total ? fieldExpression(QStringLiteral("Totale.") + field.name, field)
                                : QStringLiteral("\" \""));
    }
    frames(lines, allFrames);
    sectionEnd(lines, QStringLiteral("TipoRiga='TOTALI'"));
  }

  // The header names the grid's visible columns in display order, so that
  // its columns stand over the detail's.
  lines << QStringLiteral(" [HeaderColumns]") << QStringLiteral("  {");
  for (const int index : fittingColumns(layout, layout.gridColumns)) {
    const LayoutField& field = layout.fields.at(index);
    lines << QStringLiteral("  ,Width=%1").arg(layoutColumnWidth(field.displayWidth)) +
                 QStringLiteral(",Separator=TRUE,SepWidth=0,Expression=TRUE,") + kSpace +
                 quoted(QLatin1Char('"') + field.name + QLatin1Char('"'));
  }
  QList<int> visibleFrames;
  for (int i = 0; i < layout.gridColumns.size(); ++i)
    if (layout.fields.at(layout.gridColumns.at(i)).visible) visibleFrames << i;
  frames(lines, visibleFrames);
  sectionEnd(lines, QString());
  groupColumns(lines);

  if (layout.numberPages)
    textObject(lines,
               layout.landscape ? QStringLiteral("(242500,196700,269400,204100)")
                                : QStringLiteral("(161600,276700,188500,284100)"),
               QStringLiteral("\"Pagina n%1 \"+str$(Page(),2,0)").arg(QChar(0x00B0)));
  textObject(lines, QStringLiteral("(12200,7900,194400,13400)"), QStringLiteral("Titolo"));
  textObject(lines, QStringLiteral("(12200,17000,194400,25400)"), QStringLiteral("Note"));
  userVariables(lines);
  return lines;
}

QStringList standardLayoutLines(const LayoutFont& font) {
  QStringList lines;
  description(lines, QStringLiteral("Stampa Query"), true);
  pageLayout(lines, false, QStringLiteral("296900"));
  sumVariables(lines, true);
  layers(lines);
  objectHead(lines, 6, QStringLiteral("Elenco"), QStringLiteral("(12000,6000,196700,276700)"),
             QStringLiteral("(255,255,255)"), QStringLiteral("(255,255,255)"), 14, -26860);
  listTail(lines, font, QStringLiteral("1"), QStringLiteral("(192,192,192)"));
  lines << QStringLiteral(" [Columns]") << QStringLiteral("  {")
        << QStringLiteral("  ,Width=269000,Separator=TRUE,SepWidth=0,Expression=TRUE,") + kSpace +
               quoted(QStringLiteral("Descrizione"));
  frames(lines, {0, 1, 2, 3});
  sectionEnd(lines, QString());
  groupColumns(lines);
  userVariables(lines);
  return lines;
}

QByteArray layoutFileBytes(const QStringList& lines) {
  QByteArray bytes;
  for (const QString& line : lines) bytes += core::toCp1252(line) + "\r\n";
  return bytes;
}

bool writeLayoutFile(const QString& storedPath, const QStringList& lines, QString* error) {
  return writeLayoutBytes(storedPath, layoutFileBytes(lines), error);
}

bool writeLayoutBytes(const QString& storedPath, const QByteArray& bytes, QString* error) {
  const QString native = core::nativePath(storedPath);
  const QString directory = QFileInfo(native).absolutePath();
  if (!QDir().mkpath(directory)) {
    if (error) *error = QStringLiteral("Impossibile creare la directory %1").arg(directory);
    return false;
  }
  core::OutputFile file(native);
  if (file.open() && file.write(bytes) && file.commit()) return true;
  if (error) *error = file.error();
  return false;
}

}  // namespace query::engine
