#pragma once

#include <QString>
#include <functional>
#include <vector>

class QAbstractItemModel;
namespace db {
class Database;
}

// The label archive the benchmarks measure on: 1,000,000 labels in an
// embedded database, built once and kept in a fixed temporary folder
// (ORBELAN_BENCH_DIR, default <temp>/orbelan-bench) so that later runs only
// measure.
namespace bench {

inline constexpr int kLabels = 1000000;

// The path of the database file, its folder made when missing.
QString labelDatabasePath();

// Builds the database unless a complete one is already there: the host's
// archive schema, kLabels labels with DESCRIZIONE "Articolo di prova numero
// <ID>", and a search that runs at every keystroke for user 1. False when
// the database is still incomplete.
bool prepareLabelDatabase(const QString& path);

// Builds the database when needed and attaches `database` to it. False
// after saying why on standard error.
bool attachLabelDatabase(db::Database& database);
// Reads every cell a model holds as the text a view paints, as a screen
// shown does; returns how many characters that was.
int readShownText(const QAbstractItemModel& model);
// Runs one statement in a transaction of its own and commits.
void runStatement(db::Database& database, const QString& statement);

// A benchmark's own folder: ORBELAN_BENCH_DIR, or <temp>/orbelan-bench-<name>;
// made when missing.
QString benchDirectory(const QString& name);
// Makes the database `path` with `generate` unless `generated` finds it
// complete, removing an incomplete one first. False after saying why on
// standard error.
bool ensureDatabase(const QString& path, const std::function<bool(const QString&)>& generated,
                    const std::function<void(const QString&)>& generate);
// Runs an isql-fb script against `database` as SYSDBA in WIN1252, waiting up
// to `timeoutMs`; its wall time in seconds, -1 after saying why it failed.
double runIsqlScript(const QString& script, const QString& database, int timeoutMs);

double median(std::vector<double> values);
// The process's peak resident memory (VmHWM) in KiB, -1 when unknown.
long peakMemoryKb();
// Starts the peak over from the memory resident now, so that one part of a
// run is measured on its own. False when the system does not allow it.
bool resetPeakMemory();

}  // namespace bench
