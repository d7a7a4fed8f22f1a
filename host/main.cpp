// orbelan: plays the host application that loads libOrbelan, sets up demo
// installations and runs batch commands.
#include <QCoreApplication>
#include <QStringList>

#include "HostCommands.h"
#include "Usage.h"
#include "core/TerminationSignals.h"

int main(int argc, char** argv) {
  // Before any thread exists: SIGTERM and SIGINT end every command in order.
  core::installTerminationHandlers();
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  host::setProgramArguments(arguments);
  arguments.removeFirst();
  const QString command = arguments.isEmpty() ? QString() : arguments.takeFirst();
  if (command == QLatin1String("--help") || command == QLatin1String("-h") ||
      command == QLatin1String("help"))
    return host::printHelp(host::usage());
  // A command's help, wherever it stands among the command's arguments.
  const QString commandUsage = host::commandUsage(command);
  if (!commandUsage.isEmpty() && host::asksForHelp(arguments)) return host::printHelp(commandUsage);
  if (command == QLatin1String("open")) return host::runOpen(arguments);
  if (command == QLatin1String("demo")) return host::runDemo(arguments);
  if (command == QLatin1String("import")) return host::runImport(arguments);
  if (command == QLatin1String("print")) return host::runPrint(arguments);
  if (command == QLatin1String("export-launch")) return host::runExportLaunch(arguments);
  if (command == QLatin1String("designer")) return host::runDesigner(arguments);
  if (command == QLatin1String("query")) return host::runQuery(arguments);
  // No command, or one that does not exist.
  return host::noSuchCommand();
}
