#pragma once

#include <QString>
#include <QStringList>

// The usage texts of the `orbelan` program: one per command, shown alone for
// `orbelan COMMAND --help` and for a wrong command line of that command, and
// all of them together for `orbelan --help`.
namespace host {

// The commands, in the order the whole usage lists them.
QStringList commandNames();

// The usage of one command alone; empty for a name that is no command.
QString commandUsage(const QString& command);

// The whole usage: a line naming the program, then every command's usage.
QString usage();

// True when the arguments ask for help: `--help` or `-h` among them.
bool asksForHelp(const QStringList& arguments);

// Help that was asked for, on standard output. Returns the exit status:
// 0, or 1 when standard output could not take it.
int printHelp(const QString& text);

// A wrong command line of `command`: its usage alone on standard error.
// Returns the exit status of a wrong command, 2.
int wrongCommand(const QString& command);

// No command, or one that does not exist: the whole usage on standard error.
// Returns the exit status of a wrong command, 2.
int noSuchCommand();

}  // namespace host
