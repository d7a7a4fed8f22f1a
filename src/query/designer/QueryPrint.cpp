#include "query/designer/QueryPrint.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>

#include "core/Dates.h"
#include "core/Paths.h"
#include "grid/GenTabStForm.h"
#include "platform/localstore/LocalTable.h"
#include "query/designer/TextReportPrinter.h"
#include "query/engine/PrintTextLines.h"
#include "ui/Prompter.h"

namespace query::designer {

namespace reports = platform::reports;
using platform::localstore::ColumnType;
using platform::localstore::LocalTable;

namespace {

const QString kTitoloStampa = QStringLiteral("Stampa in corso...");
const QString kOpzioni = QStringLiteral("Configurazione parametri di stampa");

bool numericField(db::FieldType type) {
  using T = db::FieldType;
  return type == T::SmallInt || type == T::Integer || type == T::Float || type == T::Bcd;
}

QString numberText(double value) {
  return QString::number(value, 'g', 17);
}

// A local table's rows, read through the object that holds it.
QList<QVariantList> rowsOf(LocalTable& table) {
  QList<QVariantList> rows;
  table.walk([&rows](qint64, const QVariantList& values) {
    rows << values;
    return true;
  });
  return rows;
}

unsigned localType(ColumnType type) {
  switch (type) {
    case ColumnType::SmallInt:
    case ColumnType::Integer:
    case ColumnType::Float:
      return reports::kListNumeric;
    case ColumnType::Boolean:
      return reports::kListBoolean;
    default:
      return reports::kListText;
  }
}

QString localText(const QVariant& value) {
  if (value.isNull()) return {};
  if (value.typeId() == QMetaType::Double) return numberText(value.toDouble());
  return value.toString();
}

}  // namespace

QString fixedBinDirectory(const QString& directoryBin) {
  QString bare = directoryBin;
  while (bare.endsWith(QLatin1Char('\\'))) bare.chop(1);
  if (bare.isEmpty() || bare.compare(QLatin1String("C:\\WINDOWS"), Qt::CaseInsensitive) == 0)
    return core::storedPath(QDir::currentPath()) + QLatin1Char('\\');
  return directoryBin;
}

QString printTitle(const QString& ditta, const QString& tabella) {
  return QStringLiteral("Ditta: ") + ditta + QStringLiteral(" Tabella: ") + tabella +
         QStringLiteral("  Data: ") + core::shortDate(QDate::currentDate());
}

int recordValueWidth(int longest) {
  return std::clamp(longest, 45, 100);
}

QueryPrint::QueryPrint(reports::ListEngine& engine, const PrintPlace& place,
                       model::DesignerFlags& flags, PrintMemory& memory)
    : engine_(engine), place_(place), flags_(flags), memory_(memory) {}

QString QueryPrint::reportPath(const QString& name) const {
  return place_.directoryBin + QStringLiteral("Report\\") + name + QStringLiteral(".lst");
}

QString QueryPrint::generatedPath() const {
  return place_.directoryBin + QStringLiteral("Report\\QuovTemp.lst");
}

bool QueryPrint::hasTotals(const engine::PrintSource& source, int type) const {
  if (type == 0 && source.singleRecord) return false;
  return source.markedForTotals();
}

bool QueryPrint::print(const engine::PrintSource& source, const PrintChoices& choices) {
  switch (choices.type) {
    case 0:
      return advancedPrint(source, choices);
    case 1:
      return simplePrint(source, choices);
    default:
      return textReportPrint(source, choices);
  }
}

bool QueryPrint::generateAdvanced(const engine::PrintSource& source, const PrintChoices& choices) {
  engine::AdvancedLayout layout;
  for (const engine::PrintField& field : source.fields)
    layout.fields << engine::LayoutField{field.name,         field.type,    field.scale,
                                         field.displayWidth, field.visible, field.grouping,
                                         field.totals};
  layout.gridColumns = source.gridColumns;
  layout.hasTotals = hasTotals(source, 0);
  layout.singleRecord = source.singleRecord;
  layout.landscape = choices.landscape;
  layout.numberPages = choices.numberPages;
  layout.longTexts = choices.longTexts;
  layout.font = choices.font;
  if (!writeGenerated(engine::advancedLayoutLines(layout))) return false;
  flags_.layoutCurrent = true;
  memory_.lastReportType = 0;
  return true;
}

bool QueryPrint::generateStandard(const PrintChoices& choices) {
  if (!writeGenerated(engine::standardLayoutLines(choices.font))) return false;
  flags_.layoutCurrent = true;
  memory_.lastReportType = 1;
  return true;
}

QString QueryPrint::privateLayoutPath() {
  if (!memory_.layoutFolder) memory_.layoutFolder = std::make_shared<QTemporaryDir>();
  return core::storedPath(memory_.layoutFolder->filePath(QStringLiteral("QuovTemp.lst")));
}

bool QueryPrint::writeGenerated(const QStringList& lines) {
  QString error;
  if (!engine::writeLayoutFile(privateLayoutPath(), lines, &error)) {
    ui::error(QStringLiteral("Impossibile scrivere il report %1: %2").arg(generatedPath(), error));
    return false;
  }
  publishGenerated();
  return true;
}

void QueryPrint::publishGenerated() {
  QFile own(core::nativePath(privateLayoutPath()));
  if (!own.open(QIODevice::ReadOnly)) return;
  QString error;
  // Only a copy for the users to look at: the print goes on from the
  // window's own file whether or not it could be written.
  engine::writeLayoutBytes(generatedPath(), own.readAll(), &error);
}

bool QueryPrint::start(const QString& path) {
  const int result = engine_.LlPrintWithBoxStart(
      reports::kListProjectType, path, reports::kListPrintPreview, 2, place_.parent, kTitoloStampa);
  if (result == reports::kListProjectMissing) {
    ui::plain(QStringLiteral("Attenzione: file ") + path +
              QStringLiteral(" non trovato, impossibile continuare"));
    return false;
  }
  if (result != 0) {
    ui::plain(QStringLiteral("Attenzione: il file ") + path +
              QStringLiteral(" non \u00e8 un report valido per questa query") +
              QStringLiteral("\r\n") +
              QStringLiteral("Sugg.: controllare i campi con totali alla fine."));
    return false;
  }
  engine_.LlPrintSetOption(reports::kListOptionCopies, reports::kListHideCopies);
  // A cancelled options dialog ends the print quietly.
  return engine_.LlPrintOptionsDialog(place_.parent, kOpzioni) == 0;
}

void QueryPrint::defineVariables(const PrintChoices& choices) {
  engine_.LlDefineVariableStart();
  engine_.LlDefineVariableExt(QStringLiteral("NumeraPagine"),
                              choices.numberPages ? QStringLiteral("Si") : QStringLiteral("No"),
                              reports::kListText);
  engine_.LlDefineVariableExt(QStringLiteral("Titolo"), choices.title, reports::kListText);
  engine_.LlDefineVariableExt(QStringLiteral("Note"), choices.notes, reports::kListText);
}

void QueryPrint::defineFields(const engine::PrintSource& source, int row, bool current, bool totals,
                              bool forDesign) {
  engine_.LlDefineFieldStart();
  if (forDesign && memory_.lastReportType == 1) {
    engine_.LlDefineFieldExt(QStringLiteral("Descrizione"), QStringLiteral("Riga di prova"),
                             reports::kListText);
    return;
  }
  const bool haveRow = row >= 0;
  for (int i = 0; i < source.fields.size(); ++i) {
    const engine::PrintField& field = source.fields.at(i);
    const QVariant value = haveRow ? source.value(row, i) : QVariant();
    if (numericField(field.type)) {
      engine_.LlDefineFieldExt(field.name,
                               value.isNull() ? QString() : numberText(value.toDouble()),
                               reports::kListNumeric);
    } else if (field.type == db::FieldType::Boolean) {
      engine_.LlDefineFieldExt(field.name, value.toBool() ? QStringLiteral("True") : QString(),
                               reports::kListBoolean);
    } else if (field.type == db::FieldType::Date) {
      const QDate date = value.toDate();
      engine_.LlDefineFieldExt(
          field.name,
          date.isValid() ? QString::number(QDate(1899, 12, 30).daysTo(date)) : QString(),
          reports::kListDate);
    } else {
      engine_.LlDefineFieldExt(field.name, haveRow ? source.text(row, i) : QString(),
                               reports::kListText);
    }
  }
  engine_.LlDefineFieldExt(QStringLiteral("TipoRiga"),
                           current ? QStringLiteral("DETTAGLI") : QStringLiteral("TOTALI"),
                           reports::kListText);
  if (!totals && !forDesign) return;
  for (int i = 0; i < source.fields.size(); ++i) {
    if (!source.takesPartInTotals(i)) continue;
    const QString name = QStringLiteral("Totale.") + source.fields.at(i).name;
    if (forDesign) {
      engine_.LlDefineFieldExt(name, haveRow ? source.text(row, i) : QString(),
                               reports::kListNumeric);
      continue;
    }
    if (current && haveRow) memory_.totals.add(i, source.value(row, i).toDouble());
    engine_.LlDefineFieldExt(name, numberText(double(memory_.totals.total(i))),
                             reports::kListNumeric);
  }
}

bool QueryPrint::advancedPrint(const engine::PrintSource& source, const PrintChoices& choices) {
  QString path;
  if (!choices.reportName.isEmpty()) {
    path = reportPath(choices.reportName);
    if (!QFileInfo::exists(core::nativePath(path))) {
      if (ui::prompter().message(
              ui::MessageKind::Information,
              QStringLiteral("Report di tipo LST non trovato. Stampo con tracciati standard?"),
              ui::Yes | ui::No, QString()) != ui::Yes)
        return false;
      if (!generateAdvanced(source, choices)) return false;
      path = privateLayoutPath();
    }
  } else {
    if ((!flags_.layoutCurrent || !QFileInfo::exists(core::nativePath(privateLayoutPath()))) &&
        !generateAdvanced(source, choices))
      return false;
    path = privateLayoutPath();
  }
  const bool printed = runAdvanced(source, choices, path);
  if (path == privateLayoutPath()) publishGenerated();
  flags_.layoutCurrent = false;
  return printed;
}

bool QueryPrint::runAdvanced(const engine::PrintSource& source, const PrintChoices& choices,
                             const QString& path) {
  const int records = source.count();
  const bool totals = hasTotals(source, 0);
  if (totals) memory_.totals.zero();
  defineVariables(choices);
  defineFields(source, records > 0 ? 0 : -1, true, totals);
  if (!start(path)) return false;

  if (totals) memory_.totals.zero();
  int result = engine_.LlPrint();
  // One pass per record, then one for the totals line.
  for (int n = 0; result >= 0 && n < records + (totals ? 1 : 0); ++n) {
    const bool current = n < records;
    if (current) {
      result =
          engine_.LlPrintSetBoxText(QStringLiteral("Preparazione alla stampa in corso..."),
                                    static_cast<int>(std::lround(double(n + 1) / records * 100)));
      if (result < 0) break;
    }
    defineFields(source, current ? n : records - 1, current, totals);
    result = engine_.LlPrintFields();
    while (result == reports::kListPageFull) {
      defineVariables(choices);
      result = engine_.LlPrint();
      if (result < 0) break;
      result = engine_.LlPrintFields();
    }
  }
  return endListPrint(path, result);
}

bool QueryPrint::endListPrint(const QString& path, int result) {
  while (engine_.LlPrintFieldsEnd() == reports::kListPageFull) engine_.LlPrint();
  const int ended = engine_.LlPrintEnd(0);
  engine_.LlPreviewDisplay(path, QString(), place_.parent);
  engine_.LlPreviewDeleteFiles(path, QString());
  return ended == 0 && result >= 0;
}

std::unique_ptr<TGenTabStForm> QueryPrint::textPages(const engine::PrintSource& source,
                                                     const PrintChoices& choices, int type) {
  const engine::PrintTextLines lines(source, choices.longTexts, hasTotals(source, type), QLocale());
  auto generator =
      std::make_unique<TGenTabStForm>(lines.heading(choices.title, choices.notes),
                                      choices.numberPages, place_.ditta, place_.directoryLavoro);
  lines.bodyLines(source.count(), memory_.totals,
                  [&generator](const QString& line) { return generator->AggiungiRiga(line); });
  if (generator->TerminaUltimaPagina()) return generator;
  ui::error(generator->lastError());
  return nullptr;
}

bool QueryPrint::simplePrint(const engine::PrintSource& source, const PrintChoices& choices) {
  const std::unique_ptr<TGenTabStForm> generator = textPages(source, choices, 1);
  if (!generator) return false;

  QString path;
  if (!choices.reportName.isEmpty()) {
    path = reportPath(choices.reportName);
  } else {
    if (!generateStandard(choices)) return false;
    path = privateLayoutPath();
  }

  LocalTable& pagesTable = generator->TabellaTestate();
  LocalTable& linesTable = generator->TabellaRighe();
  const QList<QVariantList> pages = rowsOf(pagesTable);
  const QList<QVariantList> rows = rowsOf(linesTable);
  const auto define = [this](const LocalTable& table, const QVariantList& values, bool variables) {
    if (variables)
      engine_.LlDefineVariableStart();
    else
      engine_.LlDefineFieldStart();
    for (int i = 0; i < table.columns().size(); ++i) {
      const auto& column = table.columns().at(i);
      const QString text = i < values.size() ? localText(values.at(i)) : QString();
      if (variables)
        engine_.LlDefineVariableExt(column.name, text, localType(column.type));
      else
        engine_.LlDefineFieldExt(column.name, text, localType(column.type));
    }
  };
  define(pagesTable, pages.value(0), true);
  define(linesTable, rows.value(0), false);
  if (!start(path)) return false;

  const double visits = double(rows.size()) * double(pages.size());
  qint64 k = 0;
  int result = 0;
  for (const QVariantList& page : pages) {
    define(pagesTable, page, true);
    result = engine_.LlPrint();
    for (const QVariantList& row : rows) {
      if (result < 0) break;
      ++k;
      result =
          engine_.LlPrintSetBoxText(kTitoloStampa, static_cast<int>(std::lround(k / visits * 100)));
      if (result < 0 || row.value(0) != page.value(0)) continue;
      define(linesTable, row, false);
      result = engine_.LlPrintFields();
      while (result == reports::kListPageFull) {
        result = engine_.LlPrint();
        if (result < 0) break;
        result = engine_.LlPrintFields();
      }
    }
    if (result < 0) break;
  }
  const bool printed = endListPrint(path, result);
  if (path == privateLayoutPath()) publishGenerated();
  return printed;
}

bool QueryPrint::textReportPrint(const engine::PrintSource& source, const PrintChoices& choices) {
  const std::unique_ptr<TGenTabStForm> generator = textPages(source, choices, 2);
  if (!generator) return false;
  const QString name = choices.reportName.isEmpty() ? QStringLiteral("TEXT") : choices.reportName;
  TextReportJob job;
  job.reportPath = place_.directoryBin + QStringLiteral("report\\") + name + QStringLiteral(".rpt");
  job.pagesTable = generator->TabellaTestate().path();
  job.linesTable = generator->TabellaRighe().path();
  job.title = QStringLiteral("STAMPA QUERY");
  job.parent = place_.parent;
  const TextReportPrinter& printer = textReportPrinter();
  if (!printer || !printer(job)) {
    ui::plain(QStringLiteral("ATTENZIONE: directory bin errata o CRW non inizializzato"));
    return false;
  }
  return true;
}

void QueryPrint::editLayout(const engine::PrintSource& source, const PrintChoices& choices) {
  QString path;
  if (!choices.reportName.isEmpty()) {
    path = reportPath(choices.reportName);
  } else {
    if (!(flags_.layoutCurrent && memory_.lastReportType == 0 &&
          QFileInfo::exists(core::nativePath(privateLayoutPath()))) &&
        !generateAdvanced(source, choices))
      return;
    path = privateLayoutPath();
  }
  const int records = source.count();
  engine_.setDesignHandler([this, &source, &choices, records] {
    defineVariables(choices);
    defineFields(source, records > 0 ? 0 : -1, true, false, true);
  });
  const int result = engine_.LlDefineLayout(place_.parent, QStringLiteral("Design Lists"),
                                            reports::kListProjectType, path);
  engine_.setDesignHandler({});
  // The users find what they edited where they always did.
  if (choices.reportName.isEmpty()) publishGenerated();
  if (result == reports::kListProjectMissing)
    ui::plain(QStringLiteral("Attenzione: file ") + path +
              QStringLiteral(" non trovato, impossibile continuare"));
}

}  // namespace query::designer
