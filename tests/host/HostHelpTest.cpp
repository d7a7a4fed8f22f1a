#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>
#include <QSet>

#include "host/HostProgramRun.h"

namespace {

const QStringList kCommands{"demo",          "open",     "import", "print",
                            "export-launch", "designer", "query"};

// The synopsis line of a command as its usage begins it.
QString synopsis(const QString& command) {
  return "  orbelan " + command + ' ';
}

// The `--options` a text names, each once.
QSet<QString> optionsIn(const QString& text) {
  QSet<QString> options;
  static const QRegularExpression option(QStringLiteral("--[a-z][a-z-]*[a-z]"));
  for (auto it = option.globalMatch(text); it.hasNext();) options << it.next().captured();
  return options;
}

// The manual's text with groff's escaped hyphens made plain.
QString manualText() {
  QFile file(QStringLiteral(ORBELAN_MAN_PAGE));
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(file.readAll()).replace(QStringLiteral("\\-"), QStringLiteral("-"));
}

// The subsections of the manual's COMMANDS section by their names (".SS NAME").
QMap<QString, QString> manualCommands(const QString& manual) {
  QMap<QString, QString> commands;
  const qsizetype start = manual.indexOf(QStringLiteral("\n.SH COMMANDS\n"));
  if (start < 0) return commands;
  const qsizetype end = manual.indexOf(QStringLiteral("\n.SH "), start + 1);
  const QString section = manual.mid(start, end < 0 ? -1 : end - start);
  const QStringList parts = section.split(QStringLiteral("\n.SS "));
  for (qsizetype i = 1; i < parts.size(); ++i) {
    const QString name = parts[i].section(QLatin1Char('\n'), 0, 0).trimmed();
    commands.insert(name, parts[i]);
  }
  return commands;
}

TEST(HostHelp, HelpGoesToStandardOutputAndAWrongCommandLineToStandardError) {
  for (const char* asking : {"--help", "-h", "help"}) {
    const CommandRun help = runOrbelan({asking});
    EXPECT_EQ(help.exitCode, 0) << asking;
    EXPECT_TRUE(help.errors.isEmpty()) << help.errors.toStdString();
    EXPECT_TRUE(help.output.contains("orbelan COMMAND --help")) << help.output.toStdString();
    for (const QString& command : kCommands)
      EXPECT_TRUE(help.output.contains(synopsis(command))) << command.toStdString();
  }
  for (const QStringList& wrong : {QStringList{}, QStringList{"frobnicate"}}) {
    const CommandRun run = runOrbelan(wrong);
    EXPECT_EQ(run.exitCode, 2) << wrong.join(' ').toStdString();
    EXPECT_TRUE(run.output.isEmpty());
    for (const QString& command : kCommands)
      EXPECT_TRUE(run.errors.contains(synopsis(command))) << command.toStdString();
  }

  // A command's help wherever it stands, before anything is opened.
  for (const QStringList& asking : {QStringList{"query", "--help"},
                                    QStringList{"query", "--user", "1", "--table", "T", "-h"}}) {
    const CommandRun help = runOrbelan(asking);
    EXPECT_EQ(help.exitCode, 0) << asking.join(' ').toStdString();
    EXPECT_TRUE(help.errors.isEmpty()) << help.errors.toStdString();
    EXPECT_TRUE(help.output.contains("orbelan query --user N --table T"));
    EXPECT_TRUE(help.output.contains("--print-pdf OUT.pdf"));
    EXPECT_FALSE(help.output.contains("orbelan import")) << help.output.toStdString();
  }

  const CommandRun noUser = runOrbelan({"import", "labels.txt"});
  EXPECT_EQ(noUser.exitCode, 2);
  EXPECT_TRUE(noUser.output.isEmpty());
  EXPECT_TRUE(noUser.errors.contains("orbelan import --user N FILE"))
      << noUser.errors.toStdString();
  for (const QString& other : kCommands) {
    if (other == "import") continue;
    EXPECT_FALSE(noUser.errors.contains(synopsis(other))) << other.toStdString();
  }

  // Help that cannot be written is not help given.
  if (!QFile::exists(QStringLiteral("/dev/full"))) return;
  QProcess full;
  full.setStandardOutputFile(QStringLiteral("/dev/full"));
  full.start(ORBELAN_HOST_PROGRAM, {"export-launch", "--help"});
  ASSERT_TRUE(full.waitForFinished(60000));
  EXPECT_EQ(full.exitCode(), 1);
}

TEST(HostHelp, TheManualNamesEveryCommandAndEveryOptionOfItsUsage) {
  const QString manual = manualText();
  ASSERT_FALSE(manual.isEmpty()) << ORBELAN_MAN_PAGE;
  const QMap<QString, QString> described = manualCommands(manual);
  QStringList commands = kCommands;
  commands.sort();
  EXPECT_EQ(QStringList(described.keys()).join(' ').toStdString(),
            commands.join(' ').toStdString());
  const QString everything = runOrbelan({"--help"}).output;
  for (auto it = described.begin(); it != described.end(); ++it) {
    const CommandRun help = runOrbelan({it.key(), "--help"});
    if (help.exitCode != 0) {
      ADD_FAILURE() << it.key().toStdString() << " is no command of the program";
      continue;
    }
    EXPECT_TRUE(everything.contains(synopsis(it.key()))) << it.key().toStdString();
    for (const QString& option : optionsIn(help.output)) {
      const QRegularExpression named(QRegularExpression::escape(option) +
                                     QStringLiteral("(?![a-z-])"));
      EXPECT_TRUE(named.match(it.value()).hasMatch())
          << "orbelan " << it.key().toStdString() << ": " << option.toStdString()
          << " is not in the manual's section of the command";
    }
  }
}

}  // namespace
