#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QLocale>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTemporaryDir>
#include <memory>

#include "core/IniFile.h"
#include "core/Paths.h"
#include "db/Database.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "platform/reports/ListEngine.h"
#include "query/designer/IBLQueryForm.h"
#include "query/designer/PrintSources.h"
#include "query/designer/QueryPrint.h"
#include "query/designer/TextReportPrinter.h"
#include "query/engine/PrintLayout.h"
#include "query/engine/PrintTextLines.h"
#include "query/model/AnswerCodes.h"
#include "support/FirebirdFixture.h"
#include "support/ScriptedUi.h"

namespace {

using query::designer::PrintChoices;
using query::designer::QueryPrint;

QString pdfText(const QString& pdf) {
  QProcess process;
  process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
  process.waitForFinished(30000);
  return QString::fromUtf8(process.readAllStandardOutput());
}

int pdfPages(const QString& pdf) {
  QProcess process;
  process.start(QStringLiteral("pdfinfo"), {pdf});
  process.waitForFinished(30000);
  const QRegularExpressionMatch match =
      QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)"))
          .match(QString::fromUtf8(process.readAllStandardOutput()));
  return match.hasMatch() ? match.captured(1).toInt() : 0;
}

// Articles with a code, an amount, a quantity, a price of three decimals
// and a long note, opened as the designer's answer, printed into PDF files
// of a temporary installation.
class QueryPrintTest : public FirebirdTest {
 protected:
  void SetUp() override {
    QLocale::setDefault(QLocale::c());
    ASSERT_TRUE(dir_.isValid());
    QDir(dir_.path()).mkpath(QStringLiteral("windows"));
    qputenv("ORBELAN_WINDOWS_DIR", (dir_.path() + QStringLiteral("/windows/")).toLocal8Bit());
    savedCurrent_ = QDir::currentPath();
    database_ = createDatabase();
    QStringList statements = {
        "CREATE TABLE ARTICOLI (CODICE VARCHAR(10), IMPORTO DOUBLE PRECISION, QTA INTEGER, "
        "PREZZO NUMERIC(15,3), NOTE BLOB SUB_TYPE 1)"};
    // The first article's note is 250 characters of short words.
    QString note;
    for (int i = 0; i < 50; ++i) note += QStringLiteral("abcd ");
    for (int i = 1; i <= 12; ++i)
      statements << QStringLiteral("INSERT INTO ARTICOLI VALUES ('ART%1', %2, %3, %4, '%5')")
                        .arg(i, 2, 10, QLatin1Char('0'))
                        .arg(QString::number(i * 1000.25, 'f', 2))
                        .arg(i)
                        .arg(QString::number(i * 1.125, 'f', 3))
                        .arg(i == 1 ? note : QStringLiteral("nota %1").arg(i));
    execute(*database_, statements);
    transaction_ = std::make_unique<db::Transaction>(*database_);
    answer_ = std::make_unique<db::Query>(*database_, *transaction_);
    answer_->sql =
        QStringList{"SELECT CODICE, IMPORTO, QTA, PREZZO, NOTE FROM ARTICOLI", "ORDER BY CODICE"};
    answer_->open();
    // IMPORTO with a total and grouping 1, QTA with a total.
    codes_.setCode(1, 11);
    codes_.setCode(2, 10);
    place_.directoryBin = core::storedPath(dir_.path()) + QStringLiteral("\\bin\\");
    place_.directoryLavoro = core::storedPath(dir_.path()) + QStringLiteral("\\lavoro\\");
    place_.ditta = QStringLiteral("DEMO");
    engine_.setPdfOutput(pdf());
  }
  void TearDown() override {
    // ORBELAN_KEEP_PDF names a folder the printed PDF is copied to, for a look.
    const QString keep = qEnvironmentVariable("ORBELAN_KEEP_PDF");
    if (!keep.isEmpty() && QFile::exists(pdf()))
      QFile::copy(pdf(), keep + QLatin1Char('/') +
                             QLatin1String(
                                 ::testing::UnitTest::GetInstance()->current_test_info()->name()) +
                             QStringLiteral(".pdf"));
    QLocale::setDefault(QLocale::c());
    qunsetenv("ORBELAN_WINDOWS_DIR");
    QDir::setCurrent(savedCurrent_);
    query::designer::setTextReportPrinter({});
  }

  QString pdf() const { return dir_.filePath(QStringLiteral("stampa.pdf")); }
  QString report(const QString& name) const {
    return dir_.path() + QStringLiteral("/bin/Report/") + name;
  }
  PrintChoices choices(int type) const {
    PrintChoices choices;
    choices.type = type;
    choices.title = QStringLiteral("Elenco articoli");
    choices.notes = QStringLiteral("note di prova");
    if (type == 1) choices.font.name = QStringLiteral("Courier New");
    return choices;
  }
  query::engine::PrintSource source() {
    return query::designer::answerPrintSource(*answer_, codes_);
  }

  QTemporaryDir dir_;
  QString savedCurrent_;
  std::unique_ptr<db::Database> database_;
  std::unique_ptr<db::Transaction> transaction_;
  std::unique_ptr<db::Query> answer_;
  query::model::AnswerCodes codes_;
  query::designer::PrintPlace place_;
  platform::reports::ListEngine engine_;
  query::model::DesignerFlags flags_;
  query::designer::PrintMemory memory_;
  ScriptedPrompter prompter_;
  ScopedPrompter installed_{prompter_};
};

TEST_F(QueryPrintTest, AdvancedPrintWritesItsLayoutAndAPdfWithRowsTotalsAndPageNumbers) {
  QueryPrint print(engine_, place_, flags_, memory_);
  const query::engine::PrintSource answer = source();
  ASSERT_TRUE(print.print(answer, choices(0))) << prompter_.texts().join('\n').toStdString();
  EXPECT_FALSE(flags_.layoutCurrent) << "an advanced print leaves the layout not current";
  EXPECT_EQ(memory_.lastReportType, 0);
  ASSERT_TRUE(QFile::exists(report(QStringLiteral("QuovTemp.lst"))));

  const QString text = pdfText(pdf());
  for (const char* expected : {"Elenco articoli", "note di prova", "CODICE", "IMPORTO", "QTA",
                               "PREZZO", "ART01", "ART12", "1,000.25", "12,003.00", "13.500"})
    EXPECT_TRUE(text.contains(QLatin1String(expected))) << expected << "\n" << text.toStdString();
  // 78 in QTA and 78,019.50 in IMPORTO on the totals line.
  EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("78,019\\.50\\s+78\\b"))))
      << text.toStdString();
  EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("Pagina n\u00B0\\s+1"))));
  EXPECT_TRUE(prompter_.texts().isEmpty());

  // The layout matches the answer's fields.
  QFile layout(report(QStringLiteral("QuovTemp.lst")));
  ASSERT_TRUE(layout.open(QIODevice::ReadOnly));
  const QByteArray bytes = layout.readAll();
  EXPECT_TRUE(
      bytes.contains("Text=\xA8"
                     "Fstr$(PREZZO,\"---,---,---,--&.###\",1)\xA8"));
  EXPECT_TRUE(
      bytes.contains("Text=\xA8"
                     "Fstr$(Totale.IMPORTO,\"---,---,---,--&.##\",1)\xA8"));
  EXPECT_TRUE(bytes.contains("Text=\xA8Totale.QTA\xA8"));
}

// Two windows print at once: each prints the layout it generated, whatever
// the other wrote into Report\QuovTemp.lst meanwhile, and the file holds the
// layout of the print that ended last, whole.
TEST_F(QueryPrintTest, EachWindowPrintsTheLayoutItGeneratedWhateverAnotherWroteSince) {
  QueryPrint first(engine_, place_, flags_, memory_);
  const query::engine::PrintSource articles = source();
  ASSERT_TRUE(first.generateAdvanced(articles, choices(0)));

  db::Query otherAnswer(*database_, *transaction_);
  otherAnswer.sql = QStringList{"SELECT QTA AS PEZZI_ALTRUI FROM ARTICOLI"};
  otherAnswer.open();
  query::model::AnswerCodes otherCodes;
  platform::reports::ListEngine otherEngine;
  const QString otherPdf = dir_.filePath(QStringLiteral("altra.pdf"));
  otherEngine.setPdfOutput(otherPdf);
  query::model::DesignerFlags otherFlags;
  query::designer::PrintMemory otherMemory;
  QueryPrint second(otherEngine, place_, otherFlags, otherMemory);
  ASSERT_TRUE(second.print(query::designer::answerPrintSource(otherAnswer, otherCodes), choices(0)))
      << prompter_.texts().join('\n').toStdString();
  EXPECT_TRUE(pdfText(otherPdf).contains(QLatin1String("PEZZI_ALTRUI")));

  ASSERT_TRUE(first.print(articles, choices(0))) << prompter_.texts().join('\n').toStdString();
  const QString text = pdfText(pdf());
  EXPECT_TRUE(text.contains(QLatin1String("PREZZO")) && text.contains(QLatin1String("ART12")))
      << text.toStdString();
  EXPECT_FALSE(text.contains(QLatin1String("PEZZI_ALTRUI"))) << text.toStdString();

  QFile layout(report(QStringLiteral("QuovTemp.lst")));
  ASSERT_TRUE(layout.open(QIODevice::ReadOnly));
  const QByteArray bytes = layout.readAll();
  EXPECT_TRUE(bytes.contains("PREZZO"));
  EXPECT_FALSE(bytes.contains("PEZZI_ALTRUI"));
  EXPECT_EQ(QDir(dir_.path() + QStringLiteral("/bin/Report")).entryList(QDir::Files | QDir::Hidden),
            QStringList{"QuovTemp.lst"});
}

TEST_F(QueryPrintTest, AMissingNamedLayoutAsksForTheStandardOne) {
  QueryPrint print(engine_, place_, flags_, memory_);
  const query::engine::PrintSource answer = source();
  PrintChoices named = choices(0);
  named.reportName = QStringLiteral("MANCA");
  prompter_.answer(ui::No);
  EXPECT_FALSE(print.print(answer, named));
  EXPECT_EQ(prompter_.texts(),
            QStringList{"Report di tipo LST non trovato. Stampo con tracciati standard?"});
  EXPECT_FALSE(QFile::exists(pdf()));

  prompter_.reset();
  prompter_.answer(ui::Yes);
  EXPECT_TRUE(print.print(answer, named));
  EXPECT_TRUE(pdfText(pdf()).contains("ART07"));

  // A layout of another query names fields this one has not.
  QFile::remove(pdf());
  const QString other = report(QStringLiteral("ALTRO.lst"));
  QFile::copy(report(QStringLiteral("QuovTemp.lst")), other);
  QFile file(other);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  QByteArray bytes = file.readAll();
  file.close();
  bytes.replace(
      "Text=\xA8"
      "CODICE\xA8",
      "Text=\xA8"
      "DESCRIZIONE\xA8");
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(bytes);
  file.close();
  prompter_.reset();
  named.reportName = QStringLiteral("ALTRO");
  EXPECT_FALSE(print.print(answer, named));
  EXPECT_EQ(
      prompter_.texts(),
      QStringList{QStringLiteral("Attenzione: il file ") + place_.directoryBin +
                  QStringLiteral("Report\\ALTRO.lst non \u00e8 un report valido per questa "
                                 "query\r\nSugg.: controllare i campi con totali alla fine.")});
  EXPECT_FALSE(QFile::exists(pdf()));
}

TEST_F(QueryPrintTest, TextLinesCarryTotalsAndWrapLongTexts) {
  query::engine::PrintSource answer = source();
  answer.fields[4].displayWidth = 100;
  answer.count();
  query::model::Totals totals;
  const query::engine::PrintTextLines lines(answer, true, true, QLocale::c());
  EXPECT_EQ(lines.headerLine(),
            QStringLiteral("|CODICE    |IMPORTO                 |QTA        |PREZZO") +
                QString(15, ' ') + QStringLiteral("|NOTE") + QString(96, ' ') + QLatin1Char('|'));
  EXPECT_EQ(lines.dashLine(), QString(lines.headerLine().size(), '-'));
  totals.zero();
  const QStringList first = lines.recordLines(0, totals);
  ASSERT_EQ(first.size(), 3) << "250 characters in pieces of 100";
  // The double and the exact numeric as wide as their longest texts.
  EXPECT_TRUE(first[0].startsWith("|ART01     |" + QString(16, ' ') + "1,000.25|1          |1.125" +
                                  QString(16, ' ') + "|abcd"))
      << first[0].toStdString();
  EXPECT_TRUE(first[1].startsWith("|          |" + QString(24, ' ') + "|           |" +
                                  QString(21, ' ') + "|abcd"));
  EXPECT_EQ(first[2].size(), lines.headerLine().size());

  QStringList all;
  ASSERT_TRUE(lines.bodyLines(answer.count(), totals, [&all](const QString& line) {
    all << line;
    return true;
  }));
  EXPECT_EQ(all.size(), 2 + 12 + 2);
  EXPECT_EQ(all.at(all.size() - 2), lines.dashLine());
  EXPECT_TRUE(all.last().startsWith("|          |" + QString(15, ' ') + "78,019.50|         78|" +
                                    QString(21, ' ') + "|"))
      << all.last().toStdString();

  // Without long texts a record is one line, its note cut to the column.
  const query::engine::PrintTextLines shortLines(answer, false, false, QLocale::c());
  EXPECT_EQ(shortLines.recordLines(0, totals).size(), 1);
}

TEST_F(QueryPrintTest, SimplePrintsTextPagesAcrossPrintedPages) {
  core::IniFile(core::windowsDirectory() + QStringLiteral("vandel.ini"))
      .write(QStringLiteral("DEMO"), QStringLiteral("RigheStampaQuery"), QStringLiteral("10"));
  QueryPrint print(engine_, place_, flags_, memory_);
  ASSERT_TRUE(print.print(source(), choices(1))) << prompter_.texts().join('\n').toStdString();
  EXPECT_EQ(memory_.lastReportType, 1);
  // 12 records and the totals: three lines a page, five pages of text,
  // each on a page of its own.
  const QString text = pdfText(pdf());
  EXPECT_EQ(pdfPages(pdf()), 5) << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("Pagina N\u00B0 5")));
  EXPECT_EQ(text.count("Elenco articoli"), 5) << "the heading on every page";
  EXPECT_TRUE(text.contains("|ART12"));
  EXPECT_TRUE(text.contains("78,019.50"));
  QFile layout(report(QStringLiteral("QuovTemp.lst")));
  ASSERT_TRUE(layout.open(QIODevice::ReadOnly));
  EXPECT_TRUE(layout.readAll().contains(" Text=Stampa Query"));
  EXPECT_TRUE(QFile::exists(dir_.path() + QStringLiteral("/lavoro/STAMPE/TEXT/RIGHET/RIGHET.DB")));
}

TEST_F(QueryPrintTest, TextReportsGoToTheInstalledEngine) {
  QueryPrint print(engine_, place_, flags_, memory_);
  EXPECT_FALSE(print.print(source(), choices(2)));
  EXPECT_EQ(prompter_.texts(),
            QStringList{"ATTENZIONE: directory bin errata o CRW non inizializzato"});

  query::designer::TextReportJob seen;
  query::designer::setTextReportPrinter([&seen](const query::designer::TextReportJob& job) {
    seen = job;
    return true;
  });
  EXPECT_TRUE(print.print(source(), choices(2)));
  EXPECT_EQ(seen.reportPath, place_.directoryBin + QStringLiteral("report\\TEXT.rpt"));
  EXPECT_EQ(seen.linesTable,
            place_.directoryLavoro + QStringLiteral("STAMPE\\TEXT\\RIGHET\\RIGHET.DB"));
  EXPECT_EQ(seen.pagesTable,
            place_.directoryLavoro + QStringLiteral("STAMPE\\TEXT\\TESTATT\\TESTATT.DB"));
}

TEST_F(QueryPrintTest, StampaInTheResultViewPrintsThroughItsDialogs) {
  TIBLQueryForm form(*database_, *transaction_,
                     query::designer::DesignerSettings{"ARTICOLI", place_.directoryBin,
                                                       place_.directoryLavoro, 0, "DEMO"});
  form.show();
  form.ButtonEseguiClick();
  ASSERT_TRUE(form.inResultView());
  prompter_.script([](QDialog& dialog) {
    EXPECT_EQ(dialog.objectName(), "TitStForm");
    EXPECT_TRUE(control<QLineEdit>(dialog, "EditTitolo")
                    ->text()
                    .startsWith("Ditta: DEMO Tabella: ARTICOLI  Data: "));
    return clickButton(dialog, "ButtonOK");
  });
  prompter_.script([this](QDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "Configurazione parametri di stampa");
    EXPECT_TRUE(control<QSpinBox>(dialog, "CopiesBox")->isHidden());
    control<QRadioButton>(dialog, "PdfButton")->setChecked(true);
    control<QLineEdit>(dialog, "PdfFileEdit")->setText(pdf());
    return clickButton(dialog, "OkButton");
  });
  control<QPushButton>(form, "ButtonStampa")->click();
  const QString text = pdfText(pdf());
  EXPECT_TRUE(text.contains("ART12")) << prompter_.texts().join('\n').toStdString();
  EXPECT_TRUE(text.contains("Ditta: DEMO Tabella: ARTICOLI"));
  EXPECT_FALSE(form.flags().layoutCurrent);
  EXPECT_TRUE(QFile::exists(report(QStringLiteral("QuovTemp.lst"))));
}

}  // namespace
