#include "platform/crystal/ReportFile.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <optional>

#include "core/RecordLine.h"
#include "platform/crystal/Formula.h"

namespace platform::crystal {

namespace {

const QString kMagic = QStringLiteral("orbelan-report");
constexpr int kVersion = 1;

// The values of one record by key; a key read with a list of words must
// hold one of them.
class Fields : public core::RecordFields {
 public:
  using RecordFields::RecordFields;

  QString text(const QString& key, bool required) {
    if (required && !has(key)) fail(QStringLiteral("manca %1").arg(key));
    return take(key);
  }

  // The index of the value among `words`, `fallback` when the key is absent.
  int word(const QString& key, const QStringList& words, int fallback) {
    const QString value = take(key);
    if (!has(key)) return fallback;
    const int at = static_cast<int>(words.indexOf(value));
    if (at < 0)
      fail(QStringLiteral("%1 deve essere %2 invece di \"%3\"")
               .arg(key, words.join(QStringLiteral(" o ")), value));
    return at < 0 ? fallback : at;
  }
};

const QStringList kTypes{QStringLiteral("bar"),     QStringLiteral("stacked"),
                         QStringLiteral("percent"), QStringLiteral("line"),
                         QStringLiteral("area"),    QStringLiteral("pie")};

QString readChart(Fields& fields, ChartDefinition& chart) {
  chart.type = static_cast<ChartType>(fields.word(QStringLiteral("type"), kTypes, 0));
  fields.text(QStringLiteral("type"), true);
  chart.orientation = static_cast<Orientation>(
      fields.word(QStringLiteral("orientation"),
                  {QStringLiteral("horizontal"), QStringLiteral("vertical")}, 0));
  chart.look3d =
      fields.word(QStringLiteral("look"), {QStringLiteral("flat"), QStringLiteral("3d")}, 0) == 1;
  chart.pieSizes = static_cast<PieSizes>(fields.word(
      QStringLiteral("pies"), {QStringLiteral("fixed"), QStringLiteral("proportional")}, 0));
  return fields.error();
}

QString readColors(Fields& fields, ChartDefinition& chart) {
  chart.colors.clear();
  for (const QString& name : fields.text(QStringLiteral("list"), true).split(QLatin1Char(','))) {
    const QColor color = QColor::fromString(name.trimmed());
    if (!name.trimmed().startsWith(QLatin1Char('#')) || !color.isValid())
      return QStringLiteral("colore non valido \"%1\" (atteso #rrggbb)").arg(name.trimmed());
    chart.colors.append(color);
  }
  return fields.error();
}

const QStringList kPageSizes{QStringLiteral("A4"), QStringLiteral("A3"), QStringLiteral("A5"),
                             QStringLiteral("Letter"), QStringLiteral("Legal")};
const QPageSize::PageSizeId kPageSizeIds[] = {QPageSize::A4, QPageSize::A3, QPageSize::A5,
                                              QPageSize::Letter, QPageSize::Legal};

QString readPage(Fields& fields, TextDefinition& text) {
  text.pageSize = kPageSizeIds[fields.word(QStringLiteral("size"), kPageSizes, 0)];
  text.orientation = fields.word(QStringLiteral("orientation"),
                                 {QStringLiteral("portrait"), QStringLiteral("landscape")}, 0) == 1
                         ? QPageLayout::Landscape
                         : QPageLayout::Portrait;
  const QString margins = fields.text(QStringLiteral("margins"), false);
  if (!margins.isEmpty()) {
    const QStringList parts = margins.split(QLatin1Char(','));
    QList<double> values;
    for (const QString& part : parts) {
      bool ok = false;
      const double value = part.trimmed().toDouble(&ok);
      if (!ok || !(value >= 0 && value <= 100)) break;
      values.append(value);
    }
    if (values.size() != 4 || parts.size() != 4)
      return QStringLiteral(
                 "margins deve essere sinistro,alto,destro,basso in mm (da 0 a 100) "
                 "invece di \"%1\"")
          .arg(margins);
    text.margins = QMarginsF(values.at(0), values.at(1), values.at(2), values.at(3));
  }
  return fields.error();
}

QString readFont(Fields& fields, TextDefinition& text) {
  text.fontFamily = fields.text(QStringLiteral("family"), true);
  const QString size = fields.text(QStringLiteral("size"), true);
  if (!fields.error().isEmpty()) return fields.error();
  bool ok = false;
  text.pointSize = size.toDouble(&ok);
  if (!ok || !(text.pointSize >= 4 && text.pointSize <= 72))
    return QStringLiteral("size deve essere un corpo in punti da 4 a 72 invece di \"%1\"")
        .arg(size);
  if (text.fontFamily.trimmed().isEmpty()) return QStringLiteral("family vuoto");
  return {};
}

QString readFormula(Fields& fields, ReportDefinition& report) {
  const QString name = fields.text(QStringLiteral("name"), true);
  const QString text = fields.text(QStringLiteral("text"), true);
  if (!fields.error().isEmpty()) return fields.error();
  if (report.definesFormula(name)) return QStringLiteral("formula %1 ripetuta").arg(name);
  if (!formulaValue(text))
    return QStringLiteral("la formula %1 non è un testo tra apici").arg(name);
  report.formulas.append({name, text});
  return {};
}

}  // namespace

QColor ChartDefinition::color(int index) const {
  if (colors.isEmpty()) return QColor(Qt::gray);
  return colors.at(index % colors.size());
}

bool ReportDefinition::definesFormula(const QString& name) const {
  for (const auto& formula : formulas)
    if (formula.first.compare(name, Qt::CaseInsensitive) == 0) return true;
  return false;
}

bool parseReportFile(const QByteArray& text, ReportDefinition& report, QString& error) {
  report = ReportDefinition{};
  QString content = QString::fromUtf8(text);
  if (content.startsWith(QChar(0xFEFF))) content.remove(0, 1);
  const QStringList lines = content.split(QLatin1Char('\n'));
  bool haveMagic = false;
  bool haveReport = false;
  bool haveChart = false;
  bool havePage = false;
  bool haveFont = false;
  for (qsizetype number = 0; number < lines.size(); ++number) {
    QString line = lines.at(number);
    if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
    if (line.trimmed().isEmpty() || line.trimmed().startsWith(QLatin1Char('#'))) continue;
    const auto fault = [&](const QString& message) {
      error = QStringLiteral("riga %1: %2").arg(number + 1).arg(message);
      return false;
    };
    const QString header = QStringLiteral("%1 %2").arg(kMagic).arg(kVersion);
    if (!haveMagic) {
      if (line.simplified() != header)
        return fault(QStringLiteral("il file non comincia con \"%1\"").arg(header));
      haveMagic = true;
      continue;
    }
    QString problem;
    const std::optional<core::RecordLine> record = core::splitRecordLine(line, problem);
    if (!record) return fault(problem);
    Fields fields(*record);
    if (record->name == QLatin1String("report")) {
      if (haveReport) return fault(QStringLiteral("record report ripetuto"));
      report.kind = static_cast<ReportKind>(fields.word(
          QStringLiteral("kind"), {QStringLiteral("chart"), QStringLiteral("text")}, 0));
      fields.text(QStringLiteral("kind"), true);
      problem = fields.error();
      haveReport = true;
    } else if (!haveReport) {
      return fault(QStringLiteral("manca il record report prima di %1").arg(record->name));
    } else if (record->name == QLatin1String("formula")) {
      problem = readFormula(fields, report);
    } else if (report.kind == ReportKind::Text && record->name == QLatin1String("page")) {
      if (havePage) return fault(QStringLiteral("record page ripetuto"));
      problem = readPage(fields, report.text);
      havePage = true;
    } else if (report.kind == ReportKind::Text && record->name == QLatin1String("font")) {
      if (haveFont) return fault(QStringLiteral("record font ripetuto"));
      problem = readFont(fields, report.text);
      haveFont = true;
    } else if (report.kind == ReportKind::Chart && record->name == QLatin1String("chart")) {
      if (haveChart) return fault(QStringLiteral("record chart ripetuto"));
      problem = readChart(fields, report.chart);
      haveChart = true;
    } else if (report.kind == ReportKind::Chart && record->name == QLatin1String("colors")) {
      problem = readColors(fields, report.chart);
    } else {
      return fault(QStringLiteral("record sconosciuto %1").arg(record->name));
    }
    if (!problem.isEmpty()) return fault(problem);
  }
  if (!haveMagic) {
    error = QStringLiteral("il file è vuoto");
    return false;
  }
  if (!haveReport || (report.kind == ReportKind::Chart && !haveChart)) {
    error = QStringLiteral("manca il record %1")
                .arg(haveReport ? QStringLiteral("chart") : QStringLiteral("report"));
    return false;
  }
  return true;
}

bool loadReportFile(const QString& path, ReportDefinition& report, QString& error, bool* missing) {
  if (missing) *missing = !QFileInfo(path).isFile();
  QFile file(path);
  if (!QFileInfo(path).isFile()) {
    error = QStringLiteral("Il report %1 non esiste").arg(path);
    return false;
  }
  if (!file.open(QIODevice::ReadOnly)) {
    error = QStringLiteral("Il report %1 non si può leggere: %2").arg(path, file.errorString());
    return false;
  }
  QString problem;
  if (!parseReportFile(file.readAll(), report, problem)) {
    error = QStringLiteral("Il report %1 non è valido, %2").arg(path, problem);
    return false;
  }
  return true;
}

}  // namespace platform::crystal
