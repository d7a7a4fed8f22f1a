// `orbelan query`: the query designer's rows turned into a statement by the
// query engine and, when asked, run on the user's main archive, without the
// designer window.
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <cstdio>
#include <optional>

#include "AnswerLine.h"
#include "BatchSession.h"
#include "HostCommands.h"
#include "QueryChart.h"
#include "QueryRowsFile.h"
#include "Usage.h"
#include "core/IniFile.h"
#include "core/Paths.h"
#include "core/SqlText.h"
#include "core/TerminationSignals.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "db/WorkTables.h"
#include "env/TabX.h"
#include "grid/GridModel.h"
#include "platform/reports/ListEngine.h"
#include "query/designer/PrintSources.h"
#include "query/designer/QueryPrint.h"
#include "query/designer/TextReportEngine.h"
#include "query/designer/XendoLibrary.h"
#include "query/engine/DigitGrouping.h"
#include "query/engine/DisplayWidth.h"
#include "query/engine/QueryEngine.h"
#include "query/engine/SortKeys.h"
#include "query/model/RowList.h"
#include "query/output/AnswerExport.h"
#include "ui/Prompter.h"

namespace host {

namespace {

const QString kName = QStringLiteral("orbelan query");

struct QueryRequest {
  int user = 0;
  QString table;
  QString rowsFile;
  bool run = false;
  QList<QPair<int, int>> codes;  // answer column (from 1), Raggruppa code
  // --export: the answer written as the export settings' "OK" writes it.
  std::optional<query::output::ExportChoice> exportChoice;
  QString exportTarget;       // the file, or the table's name
  ChartRequestOptions chart;  // --chart: the answer drawn as a chart
  // --print-pdf: the answer printed into this PDF file.
  QString printPdf;
  int printType = 0;
  bool landscape = false;
  std::optional<QString> title;
  QString notes;
  bool numberPages = true;
  bool longTexts = false;
};

// The export's switches, once --export FILE and --type are known.
bool parseExport(QueryRequest& request, const QString& typeWord, const QString& separator,
                 const QStringList& switches) {
  const auto type = query::output::typeFromWord(typeWord);
  if (!type || request.exportTarget.isEmpty() || separator.size() > 1) return false;
  query::output::ExportChoice choice;
  choice.type = *type;
  if (*type == query::output::ExportType::IB) {
    choice.name = request.exportTarget;
  } else {
    const QFileInfo file(request.exportTarget);
    choice.directory = query::output::withFinalBackslash(core::storedPath(file.absolutePath()));
    choice.name = file.fileName();
  }
  choice.fixedLength = switches.contains(QLatin1String("--fixed"));
  choice.separator = separator.isEmpty() ? query::output::separatorForFixedLength(
                                               QStringLiteral(";"), choice.fixedLength)
                                         : separator;
  choice.noHeaders = switches.contains(QLatin1String("--no-headers"));
  choice.memoInFull = switches.contains(QLatin1String("--memo"));
  choice.rtfPlain = switches.contains(QLatin1String("--rtf-plain"));
  if (choice.rtfPlain && !choice.memoInFull) return false;
  request.exportChoice = choice;
  return true;
}

// The chart options (--chart-...); false for an unknown one or a bad value.
bool parseChartOption(const QString& option, const QString& value, ChartRequestOptions* chart) {
  if (option == QLatin1String("--chart-report")) {
    // A file of the report folder, not a path.
    if (value.isEmpty() || value.contains(QLatin1Char('/')) || value.contains(QLatin1Char('\\')))
      return false;
    chart->report = value;
  } else if (option == QLatin1String("--chart-x")) {
    chart->x = value;
  } else if (option == QLatin1String("--chart-y")) {
    chart->y = value;
  } else if (option == QLatin1String("--chart-series")) {
    chart->series = value.split(QLatin1Char(','), Qt::SkipEmptyParts);
  } else if (option == QLatin1String("--chart-title")) {
    chart->title = value;
  } else if (option == QLatin1String("--chart-order")) {
    if (value != QLatin1String("Originale") && value != QLatin1String("Ordina")) return false;
    chart->originale = value == QLatin1String("Originale");
  } else {
    return false;
  }
  return true;
}

// "POS=CODE[,POS=CODE...]": positions 1 to 256, codes of at most five digits.
bool parseCodes(const QString& text, QList<QPair<int, int>>* codes) {
  for (const QString& item : text.split(QLatin1Char(','))) {
    const QStringList parts = item.split(QLatin1Char('='));
    bool positionOk = false;
    bool codeOk = false;
    if (parts.size() != 2) return false;
    const int position = parts[0].trimmed().toInt(&positionOk);
    const int code = parts[1].trimmed().toInt(&codeOk);
    if (!positionOk || !codeOk || position < 1 || position > query::model::AnswerCodes::kColumns ||
        code < 0 || code > 99999)
      return false;
    codes->append({position, code});
  }
  return true;
}

// `--user N --table T [--rows FILE] [--codes ...] (--sql | --run | --export FILE --type T
// [--separator C] [--fixed] [--no-headers] [--memo] [--rtf-plain] | --chart OUT ... |
// --print-pdf OUT [--print-type 0|1|2] [--landscape] [--title TEXT] [--notes TEXT]
// [--no-page-numbers] [--memo])`, in any order.
std::optional<QueryRequest> parseQuery(QStringList arguments) {
  QueryRequest request;
  bool haveUser = false;
  int modes = 0;
  QString exportType;
  QString separator;
  QStringList switches;
  bool chartOptions = false;
  while (!arguments.isEmpty()) {
    const QString option = arguments.takeFirst();
    if (option == QLatin1String("--sql") || option == QLatin1String("--run")) {
      request.run = option == QLatin1String("--run");
      ++modes;
    } else if (option == QLatin1String("--fixed") || option == QLatin1String("--no-headers") ||
               option == QLatin1String("--memo") || option == QLatin1String("--rtf-plain")) {
      switches << option;
    } else if (option == QLatin1String("--landscape")) {
      request.landscape = true;
    } else if (option == QLatin1String("--no-page-numbers")) {
      request.numberPages = false;
    } else if (arguments.isEmpty()) {
      return std::nullopt;
    } else if (option == QLatin1String("--user")) {
      request.user = arguments.takeFirst().toInt(&haveUser);
      if (!haveUser) return std::nullopt;
    } else if (option == QLatin1String("--table")) {
      request.table = arguments.takeFirst();
    } else if (option == QLatin1String("--rows")) {
      request.rowsFile = arguments.takeFirst();
    } else if (option == QLatin1String("--codes")) {
      if (!parseCodes(arguments.takeFirst(), &request.codes)) return std::nullopt;
    } else if (option == QLatin1String("--export")) {
      request.exportTarget = arguments.takeFirst();
      request.run = true;
      ++modes;
    } else if (option == QLatin1String("--type")) {
      exportType = arguments.takeFirst();
    } else if (option == QLatin1String("--separator")) {
      separator = arguments.takeFirst();
    } else if (option == QLatin1String("--chart")) {
      request.chart.file = arguments.takeFirst();
      if (request.chart.file.isEmpty()) return std::nullopt;
      request.run = true;
      ++modes;
    } else if (option.startsWith(QLatin1String("--chart-"))) {
      if (!parseChartOption(option, arguments.takeFirst(), &request.chart)) return std::nullopt;
      chartOptions = true;
    } else if (option == QLatin1String("--print-pdf")) {
      request.printPdf = arguments.takeFirst();
      if (request.printPdf.isEmpty()) return std::nullopt;
      ++modes;
    } else if (option == QLatin1String("--print-type")) {
      bool ok = false;
      request.printType = arguments.takeFirst().toInt(&ok);
      if (!ok || request.printType < 0 || request.printType > 2) return std::nullopt;
    } else if (option == QLatin1String("--title")) {
      request.title = arguments.takeFirst();
    } else if (option == QLatin1String("--notes")) {
      request.notes = arguments.takeFirst();
    } else {
      return std::nullopt;
    }
  }
  if (!haveUser || request.table.isEmpty() || modes != 1) return std::nullopt;
  // --memo prints long texts whole, or exports memos whole.
  if (!request.printPdf.isEmpty())
    request.longTexts = switches.removeAll(QStringLiteral("--memo")) > 0;
  const bool exporting = !request.exportTarget.isEmpty();
  if (exporting != !exportType.isEmpty()) return std::nullopt;
  if (!exporting && (!switches.isEmpty() || !separator.isEmpty())) return std::nullopt;
  if (exporting && !parseExport(request, exportType, separator, switches)) return std::nullopt;
  const bool chart = !request.chart.file.isEmpty();
  if (chartOptions && !chart) return std::nullopt;
  if (chart &&
      (request.chart.report.isEmpty() || request.chart.x.isEmpty() || request.chart.y.isEmpty()))
    return std::nullopt;
  // The print options belong to --print-pdf.
  const bool printOptions = request.printType != 0 || request.landscape || request.title ||
                            !request.notes.isEmpty() || !request.numberPages;
  if (printOptions && request.printPdf.isEmpty()) return std::nullopt;
  return request;
}

void sayQuery(const QString& text) {
  std::fprintf(stderr, "%s: %s\n", kName.toLocal8Bit().constData(), text.toLocal8Bit().constData());
}

// The rows of the file, or nothing after saying which line is wrong.
std::optional<QueryRowsFile> readRowsFile(const QString& name) {
  QFile file(name);
  if (!QFileInfo(name).isFile() || !file.open(QIODevice::ReadOnly)) {
    sayQuery(QStringLiteral("cannot read the rows file ") + name);
    return std::nullopt;
  }
  const QByteArray text = file.readAll();
  if (file.error() != QFileDevice::NoError) {
    sayQuery(QStringLiteral("cannot read the rows file %1: %2").arg(name, file.errorString()));
    return std::nullopt;
  }
  QueryRowsFile rows = parseQueryRows(text);
  if (!rows.ok()) {
    sayQuery(QStringLiteral("%1, line %2: %3").arg(name).arg(rows.faultLine).arg(rows.fault));
    return std::nullopt;
  }
  return rows;
}

void writeLine(const QString& line) {
  const QByteArray bytes = line.toUtf8() + '\n';
  std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout);
}

// The answer row by row as it is fetched: the field names, then one line
// per record with the values as the grid shows them. False when a
// termination signal stopped it part-way.
bool printAnswer(db::Query& answer, const query::model::AnswerCodes& codes) {
  QStringList values;
  for (int i = 0; i < answer.fieldCount(); ++i) values << answer.field(i).name;
  writeLine(answerLine(values));
  for (; !answer.isEof(); answer.next()) {
    if (core::terminationRequested()) return false;
    values.clear();
    for (int i = 0; i < answer.fieldCount(); ++i)
      values << (codes.TipoRaggruppamento(i) != 0 &&
                         query::engine::groupsDigits(answer.field(i).type)
                     ? query::engine::groupedCellText(answer.value(answer.currentRow(), i),
                                                      answer.field(i).type,
                                                      codes.TipoRaggruppamento(i), QLocale())
                     : grid::GridModel::displayText(answer.value(answer.currentRow(), i),
                                                    answer.field(i)));
    writeLine(answerLine(values));
  }
  return true;
}

// Standard output taken whole: a full disk or a closed pipe is a failure.
bool outputWritten() {
  if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return true;
  sayQuery(QStringLiteral("cannot write to standard output"));
  return false;
}

// The answer exported as the export settings' "OK" does, every column
// shown with its default width; the messages go to standard error.
int exportAnswer(TTabXForm& ambiente, db::Query& answer, query::engine::QueryEngine& engine,
                 const query::output::ExportChoice& choice) {
  QList<query::output::ExportColumn> columns;
  for (int i = 0; i < answer.fieldCount(); ++i)
    columns << query::output::ExportColumn{i, answer.field(i).name, answer.field(i).name,
                                           query::engine::defaultDisplayWidth(answer.field(i)),
                                           engine.codes().TipoRaggruppamento(i)};
  query::output::AnswerToExport source{answer, columns, ambiente.GetV(QStringLiteral("BinDir")),
                                       QLocale()};
  const query::output::ExportOutcome outcome =
      query::output::exportAnswer(choice, source, query::designer::xendoLibrary(), true);
  ui::show(outcome.messages);
  return outcome.done ? 0 : 1;
}

// The answer printed as "&Stampa" prints it with the options given, into a
// PDF file instead of the options dialog's destination.
int printToPdf(BatchSession& session, const QueryRequest& request, db::Query& answer,
               const query::model::AnswerCodes& codes) {
  TTabXForm& ambiente = session.ambiente();
  query::designer::PrintPlace place;
  place.directoryBin = query::designer::fixedBinDirectory(ambiente.GetV(QStringLiteral("BinDir")));
  place.ditta = ambiente.Ditta;
  place.directoryLavoro =
      core::IniFile(core::windowsDirectory() + QStringLiteral("vandel.ini"))
          .read(ambiente.Ditta, QStringLiteral("Directory di lavoro"), place.directoryBin);
  query::designer::PrintChoices choices;
  choices.type = request.printType;
  choices.title = request.title
                      ? *request.title
                      : query::designer::printTitle(ambiente.Ditta, request.table.toUpper());
  choices.notes = request.notes;
  choices.numberPages = request.numberPages;
  choices.longTexts = request.longTexts;
  choices.landscape = request.landscape && request.printType == 0;
  if (request.printType == 1) choices.font.name = QStringLiteral("Courier New");

  platform::reports::ListEngine engine;
  engine.setPdfOutput(QFileInfo(request.printPdf).absoluteFilePath());
  // A text report (type 2) goes through the report engine into the same file.
  query::designer::TextReportOutcome textOutcome = query::designer::TextReportOutcome::NotOpened;
  query::designer::setTextReportPrinter(query::designer::textReportEngine(
      QFileInfo(request.printPdf).absoluteFilePath(), &textOutcome));
  query::model::DesignerFlags flags;
  query::designer::PrintMemory memory;
  query::designer::QueryPrint print(engine, place, flags, memory);
  const query::engine::PrintSource source = query::designer::answerPrintSource(answer, codes);
  bool printed = false;
  try {
    printed = print.print(source, choices);
  } catch (const db::DbError& error) {
    query::designer::setTextReportPrinter({});
    sayQuery(QStringLiteral("the answer stopped at a record the database refused: ") +
             error.text());
    return 1;
  }
  query::designer::setTextReportPrinter({});
  const bool anyPage = request.printType == 2
                           ? textOutcome == query::designer::TextReportOutcome::Printed
                           : engine.pagesPrinted() > 0;
  if (!printed || !anyPage) {
    if (!engine.lastError().isEmpty()) sayQuery(engine.lastError());
    sayQuery(QStringLiteral("nothing printed into ") + request.printPdf);
    return 1;
  }
  return 0;
}

int runOnArchive(BatchSession& session, const QueryRequest& request,
                 const std::optional<QueryRowsFile>& file) {
  TTabXForm& ambiente = session.ambiente();
  // Work tables left by programs that ended without dropping them go first,
  // as when the designer opens.
  try {
    db::worktables::dropLeftovers(ambiente.IBDatabase1);
  } catch (const db::DbError&) {
    // Only a clean-up: the query does not depend on it.
  }
  // The designer's own transaction: a snapshot that does not wait for locks.
  db::Transaction transaction(ambiente.IBDatabase1, {QStringLiteral("isc_tpb_concurrency"),
                                                     QStringLiteral("isc_tpb_nowait")});
  // Firebird keeps unquoted names in upper case; the engine quotes the table.
  const QString table = request.table.toUpper();
  try {
    if (!db::tableExists(transaction, table)) {
      sayQuery(QStringLiteral("the main database %1 has no table %2")
                   .arg(ambiente.GetV(QStringLiteral("Archivio")), table));
      return 1;
    }
  } catch (const db::DbError& error) {
    sayQuery(error.text());
    return 1;
  }
  query::model::RowList rows;
  query::engine::QueryEngine engine(ambiente.IBDatabase1, transaction, rows, table);
  // Local work tables of the procedural functions go under the bin folder.
  engine.setWorkArea(ambiente.GetV(QStringLiteral("BinDir")), request.user);
  engine.setNotifier([](const QString& message) { ui::plain(message); });
  if (file) {
    query::model::InternalChange change(rows);
    rows.replaceAll(file->rows);
  } else {
    query::model::RiempiTabIntTmp(rows, engine.tableFields().fieldNames(table));
  }
  const bool sideBySide = file && file->flags.sideBySide;
  for (const auto& [position, code] : request.codes) engine.codes().setCode(position - 1, code);

  if (!request.run && request.printPdf.isEmpty()) {
    // The sort lines follow the codes as an update of the sort keys adds them.
    const QStringList statement = engine.statementLines(sideBySide);
    const query::engine::SortKeyOutcome sorted = query::engine::sortKeyRule(
        statement, query::engine::columnCodes(engine.codes(), query::model::AnswerCodes::kColumns),
        false);
    for (const QString& line : sorted.reopen ? sorted.lines : statement) writeLine(line);
    return outputWritten() ? 0 : 1;
  }
  // A termination signal during the setting up ends the command before its work.
  if (core::terminationRequested()) return 1;
  db::Query answer(ambiente.IBDatabase1, transaction);
  const bool chart = !request.chart.file.isEmpty();
  // Only the current record is kept, so a large answer is printed as it
  // comes; a chart and a print read every row.
  answer.setForwardOnly(!chart && request.printPdf.isEmpty());
  if (!engine.EseguiInterrogazione(answer, sideBySide)) {
    ui::plain(engine.failureMessage());
    sayQuery(engine.failureMessage() == query::engine::syntaxFailureMessage()
                 ? QStringLiteral("the database refused the statement: ") + engine.lastError()
                 : QStringLiteral("the procedural functions failed: ") + engine.lastError());
    return 1;
  }
  if (!request.codes.isEmpty()) {
    const QString refused = query::engine::applySortKeys(answer, engine);
    if (!refused.isEmpty()) {
      ui::plain(query::engine::syntaxFailureMessage());
      sayQuery(QStringLiteral("the database refused the sort keys: ") + refused);
      return 1;
    }
  }
  if (core::terminationRequested()) return 1;
  if (request.exportChoice) return exportAnswer(ambiente, answer, engine, *request.exportChoice);
  if (chart) return saveAnswerChart(ambiente, answer, request.chart);
  if (!request.printPdf.isEmpty()) return printToPdf(session, request, answer, engine.codes());
  try {
    if (!printAnswer(answer, engine.codes())) {
      std::fflush(stdout);
      return 1;
    }
  } catch (const db::DbError& error) {
    std::fflush(stdout);
    ui::plain(query::engine::syntaxFailureMessage());
    sayQuery(QStringLiteral("the answer stopped at a record the database refused: ") +
             error.text());
    return 1;
  }
  return outputWritten() ? 0 : 1;
}

}  // namespace

int runQuery(const QStringList& arguments) {
  auto request = parseQuery(arguments);
  if (!request) return wrongCommand(QStringLiteral("query"));
  if (!core::isSqlIdentifier(request->table)) {
    sayQuery(QStringLiteral("\"%1\" is not a table name (letters, digits, _ and $, from a letter)")
                 .arg(request->table));
    return 2;
  }
  // Named as typed: the chart's work directory becomes the current one.
  if (!request->chart.file.isEmpty())
    request->chart.file = QFileInfo(request->chart.file).absoluteFilePath();
  std::optional<QueryRowsFile> file;
  if (!request->rowsFile.isEmpty()) {
    file = readRowsFile(request->rowsFile);
    if (!file) return 1;
  }
  BatchSession session(kName);
  const int status = session.open(request->user) ? runOnArchive(session, *request, file) : 1;
  // SIGINT or SIGTERM cancelled the statement that ran, or stopped the rows
  // or pages being written: whatever was not finished is undone, and the
  // status tells the signal as a shell does (128 + its number).
  if (status != 0 && core::terminationRequested()) {
    sayQuery(QStringLiteral("stopped by a termination signal"));
    return 128 + core::terminationSignal();
  }
  return status;
}

}  // namespace host
