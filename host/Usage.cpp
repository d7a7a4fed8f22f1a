#include "Usage.h"

#include <cstdio>

namespace host {

namespace {

struct CommandText {
  const char* command;
  const char* text;  // the synopsis lines, then what the command does
};

// Every command's usage, in the order the whole usage lists them.
constexpr CommandText kCommands[] = {
    {"demo",
     "  orbelan demo [DIR] [--screenshot FILE]\n"
     "      set up (or reuse) a demo installation in DIR (default ./demo) on embedded\n"
     "      Firebird databases and open the label window"},
    {"open",
     "  orbelan open EXPORT --user N [--window-id ID] [--screenshot FILE]\n"
     "      call an exported function of libOrbelan as the host does; EXPORT is one of\n"
     "      ShowGestEticFormD, ShowExportLanciFormD, ShowRistampaBarcodeFormX,\n"
     "      ShowRistampaBarcode1FormX, ShowImpoStampaFormD. The host folder is\n"
     "      ORBELAN_HOST_DIR (default: the program's folder)"},
    {"import",
     "  orbelan import --user N FILE\n"
     "      import the label file FILE (3, 4 or 13 fields a line, Windows-1252) for\n"
     "      user N as the label window's \"Carica Da File\" does, without dialogs: the\n"
     "      whole file or nothing. Messages go to standard error; the exit status is 0\n"
     "      when the labels were imported, 1 when nothing was, 2 for a wrong command"},
    {"print",
     "  orbelan print --user N (--all | --ids 1,2,3) [--ean] [--exclude-serial]\n"
     "                --description TEXT --pdf OUT.pdf\n"
     "      a print launch of the unprinted labels (all, or those IDs in that order)\n"
     "      printed to a PDF file, each label stamped with the launch"},
    {"export-launch",
     "  orbelan export-launch --user N --launch ID FILE\n"
     "      write the labels of a launch to FILE (extension .CSV) as the export window\n"
     "      does and mark the launch exported"},
    {"designer",
     "  orbelan designer --user N [--table T]\n"
     "      open the query designer on table T (default ETICHETTE) of user N's main\n"
     "      database, as F8 in the label grid does"},
    {"query",
     "  orbelan query --user N --table T [--rows FILE] [--codes POS=CODE,...]\n"
     "                (--sql | --run | --export FILE --type Testo|IB|Excel|ExcelX\n"
     "                 [--separator C] [--fixed] [--no-headers] [--memo] [--rtf-plain]\n"
     "                 | --chart OUT --chart-report NAME.RPT --chart-x COL\n"
     "                 --chart-y COL [--chart-series COL,COL] [--chart-title TEXT]\n"
     "                 [--chart-order Originale|Ordina]\n"
     "                 | --print-pdf OUT.pdf [--print-type 0|1|2] [--landscape]\n"
     "                 [--title TEXT] [--notes TEXT] [--no-page-numbers] [--memo])\n"
     "      the query designer's query over table T: its rows from FILE (UTF-8, one row\n"
     "      a line: Numero, Nome, Mostra, Condizione separated by TAB), or one shown row\n"
     "      per field of T. --sql prints the statement, --run prints the answer (a line\n"
     "      of field names, then one line per record, values separated by \";\").\n"
     "      --codes sets the ordering, totals and digit-grouping code of answer\n"
     "      columns (from 1) and adds their sort keys as the sort dialog does. --export\n"
     "      writes the answer as the result view's export does: a text file, a new table\n"
     "      of the archive (FILE is its name) or a workbook through libXendo. --chart\n"
     "      saves the chart of the answer drawn by report NAME.RPT of the bin folder's\n"
     "      report\\ (a PNG image or a PDF document by the extension of OUT). --print-pdf\n"
     "      prints the answer into OUT.pdf as the result view's print does (type 0\n"
     "      advanced list, 1 simple list, 2 text report)"},
};

void write(std::FILE* stream, const QString& text) {
  std::fprintf(stream, "%s\n", text.toLocal8Bit().constData());
}

}  // namespace

QStringList commandNames() {
  QStringList names;
  for (const CommandText& command : kCommands) names << QString::fromLatin1(command.command);
  return names;
}

QString commandUsage(const QString& command) {
  for (const CommandText& entry : kCommands)
    if (command == QLatin1String(entry.command))
      return QStringLiteral("Usage:\n") + QString::fromLatin1(entry.text);
  return {};
}

QString usage() {
  QString text = QStringLiteral(
      "Usage: orbelan COMMAND ARGUMENTS; orbelan COMMAND --help shows one command's usage");
  for (const CommandText& command : kCommands) text += u'\n' + QString::fromLatin1(command.text);
  return text;
}

bool asksForHelp(const QStringList& arguments) {
  return arguments.contains(QLatin1String("--help")) || arguments.contains(QLatin1String("-h"));
}

int printHelp(const QString& text) {
  write(stdout, text);
  // A full disk or a closed pipe: the help did not reach its reader.
  return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
}

int wrongCommand(const QString& command) {
  write(stderr, commandUsage(command));
  return 2;
}

int noSuchCommand() {
  write(stderr, usage());
  return 2;
}

}  // namespace host
