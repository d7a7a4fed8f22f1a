#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cerrno>

#include <QDir>
#include <QSet>
#include <QTemporaryDir>
#include <vector>

#include "core/Paths.h"
#include "query/engine/LocalWorkTable.h"

namespace {

using platform::localstore::ColumnType;

// A process that takes the running sums' work table as a procedural answer
// does, once told to start; it then reports "OK <name>" or "ERRORE <reason>"
// and keeps the table held until its release pipe closes.
struct Contender {
  pid_t pid = -1;
  int release = -1;
};

Contender startContender(const QString& directory, int start, int results) {
  int hold[2];
  if (::pipe(hold) != 0) return {};
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::close(hold[1]);
    char byte;
    if (::read(start, &byte, 1) != 1) ::_exit(2);
    query::engine::LocalWorkTable table(directory, QStringLiteral("SUMPROG.DB"));
    QString error;
    QByteArray line;
    if (table.create({{QStringLiteral("ID"), ColumnType::Integer, 0, false}}, &error) &&
        table.table().append({::getpid()}) && table.hold(&error))
      line = "OK " + table.table().name().toUtf8();
    else
      line = "ERRORE " + (error.isEmpty() ? table.table().lastError() : error).toUtf8();
    line += '\n';
    if (::write(results, line.constData(), line.size()) < 0) ::_exit(2);
    while (::read(hold[0], &byte, 1) < 0 && errno == EINTR) {
    }
    ::_exit(0);
  }
  ::close(hold[0]);
  return {pid, hold[1]};
}

// Several processes after one name at the same moment each end with a table
// of their own: none is refused, no two share a name. A table left by an
// earlier round that nobody holds any more is taken again.
TEST(LocalWorkTable, ProcessesTakingOneNameAtOnceEachGetTheirOwnTable) {
  QTemporaryDir dir;
  const QString directory = core::storedPath(dir.path());
  constexpr int kProcesses = 6;
  for (int round = 0; round < 5; ++round) {
    SCOPED_TRACE(round);
    int start[2];
    int results[2];
    ASSERT_EQ(::pipe(start), 0);
    ASSERT_EQ(::pipe(results), 0);
    std::vector<Contender> contenders;
    for (int i = 0; i < kProcesses; ++i)
      contenders.push_back(startContender(directory, start[0], results[1]));
    ::close(start[0]);
    ::close(results[1]);
    const QByteArray go(kProcesses, 'x');
    ASSERT_EQ(::write(start[1], go.constData(), go.size()), kProcesses);
    ::close(start[1]);

    QByteArray output;
    char buffer[512];
    // Every contender still holds the write end: the reports are counted.
    while (output.count('\n') < kProcesses) {
      const ssize_t n = ::read(results[0], buffer, sizeof buffer);
      if (n == 0) break;
      if (n > 0) output.append(buffer, n);
    }
    ::close(results[0]);
    const QStringList lines = QString::fromUtf8(output).split('\n', Qt::SkipEmptyParts);
    EXPECT_EQ(lines.size(), kProcesses);
    QSet<QString> names;
    for (const QString& line : lines) {
      EXPECT_TRUE(line.startsWith("OK ")) << line.toStdString();
      names.insert(line.mid(3));
    }
    EXPECT_EQ(names.size(), lines.size()) << output.toStdString();
    EXPECT_TRUE(names.contains("SUMPROG.DB")) << output.toStdString();
    // Each contender also holds copies of the release pipes of those before
    // it: all are closed before any is waited for.
    for (const Contender& contender : contenders) ::close(contender.release);
    for (const Contender& contender : contenders) ::waitpid(contender.pid, nullptr, 0);
  }
}

}  // namespace
