#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "core/Cp1252.h"
#include "core/Dates.h"
#include "core/IniFile.h"
#include "core/Paths.h"
#include "core/SqlText.h"

namespace {

TEST(Cp1252, RoundTripsTheWholeCodePage) {
  QByteArray all;
  for (int b = 0; b < 256; ++b) all.append(static_cast<char>(b));
  EXPECT_EQ(core::toCp1252(core::fromCp1252(all)), all);
  EXPECT_EQ(core::fromCp1252("\x80\xB4\xE0"), QString::fromUtf8("€´à"));
  EXPECT_EQ(core::toCp1252(QString::fromUtf8("€ – ’")), QByteArray("\x80 \x96 \x92"));
  EXPECT_EQ(core::toCp1252(QString::fromUtf8("Ω")), QByteArray("?"));
  EXPECT_EQ(core::apostrophesToAcute("L'ABITO d'oro"), QString::fromUtf8("L´ABITO d´oro"));
}

TEST(SqlText, ValuesDoubleApostrophesAndIdentifiersAreValidated) {
  EXPECT_EQ(core::sqlValue("L'ABITO ''x"), "L''ABITO ''''x");
  EXPECT_EQ(core::sqlIdentifier("ETICHETTE"), "ETICHETTE");
  EXPECT_EQ(core::sqlIdentifier("RDB$DATABASE"), "RDB$DATABASE");
  for (const char* bad : {"", "1ABC", "A B", "A;DROP", "A'", "A-B", "ÀB"})
    EXPECT_THROW(core::sqlIdentifier(bad), std::invalid_argument) << bad;
}

TEST(SqlText, LiteralsQuoteEveryKindOfValue) {
  EXPECT_EQ(core::sqlString("L'ABITO"), "'L''ABITO'");
  EXPECT_EQ(core::sqlStringOrNull(""), "NULL");
  EXPECT_EQ(core::sqlStringOrNull("a'b"), "'a''b'");
  EXPECT_EQ(core::sqlAcuteString("L'ABITO"), QString::fromUtf8("'L´ABITO'"));
  EXPECT_EQ(core::sqlLiteral(QVariant()), "NULL");
  EXPECT_EQ(core::sqlLiteral(QVariant(QMetaType::fromType<int>())), "NULL");
  EXPECT_EQ(core::sqlLiteral(42), "42");
  EXPECT_EQ(core::sqlLiteral(qlonglong(-7)), "-7");
  EXPECT_EQ(core::sqlLiteral(0.5), "0.5");
  EXPECT_EQ(core::sqlLiteral(QDate(2024, 3, 7)), "'03/07/2024'");
  EXPECT_EQ(core::sqlLiteral(QDateTime(QDate(2024, 3, 7), QTime(8, 5, 1))),
            "'03/07/2024 08:05:01.000'");
  EXPECT_EQ(core::sqlLiteral(QString("it's")), "'it''s'");
}

TEST(Dates, StatementsUseMonthFirstAndPeopleDayFirst) {
  const QDate date(2024, 3, 7);
  EXPECT_EQ(core::sqlDate(date), "03/07/2024");
  EXPECT_EQ(core::sqlDateLiteral(date), "'03/07/2024'");
  EXPECT_EQ(core::shortDate(date), "07/03/2024");
  EXPECT_EQ(core::parseShortDate("07/03/2024"), date);
  EXPECT_EQ(core::parseShortDate("7-3-24"), date);
  EXPECT_EQ(core::parseShortDate("07.03.75"), QDate(1975, 3, 7));
  EXPECT_FALSE(core::parseShortDate("31/02/2024").isValid());
  EXPECT_FALSE(core::parseShortDate("2024-03-07").isValid());
  EXPECT_FALSE(core::parseShortDate("").isValid());
}

TEST(Paths, StoredPathsConcatenatePlainlyAndBecomeNativeOnOpen) {
  qputenv("ORBELAN_DRIVES", "E=/mnt/e/");
  EXPECT_EQ(core::nativePath("C:\\dati\\archivio.fdb"), "/dati/archivio.fdb");
  EXPECT_EQ(core::nativePath("e:\\dati\\x.ini"), "/mnt/e/dati/x.ini");
  EXPECT_EQ(core::nativePath("\\work\\bin\\Report\\A.LBL"), "/work/bin/Report/A.LBL");
  EXPECT_EQ(core::nativePath("/already/native"), "/already/native");
  qunsetenv("ORBELAN_DRIVES");
  EXPECT_EQ(core::storedPath("/work/demo/"), "\\work\\demo\\");
  EXPECT_EQ(core::storedDirectory("C:\\dati\\archivio.fdb"), "C:\\dati\\");
  EXPECT_EQ(core::storedFileName("C:\\dati\\archivio.fdb"), "archivio.fdb");
  EXPECT_EQ(core::storedDirectory("archivio.fdb"), "");
  qputenv("ORBELAN_HOST_DIR", "/opt/host/");
  EXPECT_EQ(core::hostDirectory(), "\\opt\\host\\");
  qunsetenv("ORBELAN_HOST_DIR");
}

TEST(IniFile, BehavesLikeTheWindowsProfileFunctions) {
  QTemporaryDir dir;
  const QString stored = core::storedPath(dir.filePath("sub/dati.ini"));
  EXPECT_FALSE(core::IniFile(stored).write("CONFIG", "Alias", "x")) << "the folder is not created";
  QDir(dir.path()).mkdir("sub");
  core::IniFile ini(stored);
  EXPECT_EQ(ini.read("CONFIG", "Nome Server"), "") << "a missing file reads as empty";
  EXPECT_EQ(ini.read("CONFIG", "Nome Server", "def"), "def");

  ASSERT_TRUE(ini.write("CONFIG", "Nome Server", "SRV01"));
  ASSERT_TRUE(ini.write("config", "LETTERA DISCO SERVER", "E"));
  ASSERT_TRUE(ini.write("Altro", "Chiave", QString::fromUtf8("città")));
  ASSERT_TRUE(ini.write("CONFIG", "nome server", "SRV02"));
  EXPECT_EQ(ini.read("Config", "NOME SERVER"), "SRV02");
  EXPECT_EQ(ini.read("CONFIG", "Lettera Disco Server"), "E");
  EXPECT_EQ(ini.sections(), (QStringList{"CONFIG", "Altro"}));
  EXPECT_EQ(ini.keys("CONFIG"), (QStringList{"Nome Server", "LETTERA DISCO SERVER"}))
      << "a rewritten key keeps its stored spelling";

  QFile file(dir.filePath("sub/dati.ini"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(),
            QByteArray("[CONFIG]\r\nNome Server=SRV02\r\nLETTERA DISCO SERVER=E\r\n[Altro]\r\n"
                       "Chiave=citt\xE0\r\n"));
  file.close();

  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("; comment\n[CONFIG]\n  Alias = \"arch\" \n\n[Next]\nAlias=other\n");
  file.close();
  EXPECT_EQ(ini.read("CONFIG", "Alias"), "arch") << "blanks and one pair of quotes dropped";
  ASSERT_TRUE(ini.write("CONFIG", "PercorsoDatabase", "D:\\dati"));
  EXPECT_EQ(ini.keys("CONFIG"), (QStringList{"Alias", "PercorsoDatabase"}));
  EXPECT_EQ(ini.read("Next", "Alias"), "other");
}

}  // namespace
