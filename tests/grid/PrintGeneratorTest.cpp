#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <memory>

#include "core/IniFile.h"
#include "core/Paths.h"
#include "grid/GenTabStForm.h"
#include "grid/RadioGroup.h"
#include "grid/TitStForm.h"
#include "platform/localstore/LocalTable.h"
#include "support/ScriptedUi.h"

namespace {

using platform::localstore::LocalTable;

// A global settings file of its own, and a working directory whose
// STAMPE\TEXT\ folders the generator fills.
class PrintGeneratorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    QDir(dir_.path()).mkpath(QStringLiteral("windows"));
    qputenv("ORBELAN_WINDOWS_DIR", (dir_.path() + QStringLiteral("/windows/")).toLocal8Bit());
    savedCurrent_ = QDir::currentPath();
  }
  void TearDown() override {
    qunsetenv("ORBELAN_WINDOWS_DIR");
    QDir::setCurrent(savedCurrent_);
  }

  core::IniFile settings() const {
    return core::IniFile(core::windowsDirectory() + QStringLiteral("vandel.ini"));
  }
  QString base() const { return core::storedPath(dir_.path()) + QStringLiteral("\\lavoro\\"); }
  void setLines(int lines) {
    settings().write(QStringLiteral("DEMO"), QStringLiteral("RigheStampaQuery"),
                     QString::number(lines));
  }
  static QStringList heading() {
    return {QStringLiteral("Titolo"), QStringLiteral("Note"), QString(),
            QStringLiteral("| A | B |"), QStringLiteral("|---|---|")};
  }
  // The lines of the generator's table by page: (page, line, text).
  static QList<std::tuple<int, int, QString>> lines(LocalTable& table) {
    QList<std::tuple<int, int, QString>> rows;
    table.walk([&rows](qint64, const QVariantList& values) {
      rows.append({values.at(0).toInt(), int(values.at(1).toDouble()), values.at(3).toString()});
      return true;
    });
    return rows;
  }
  static QStringList pageTexts(const QList<std::tuple<int, int, QString>>& rows, int page) {
    QStringList texts;
    for (const auto& [p, n, text] : rows)
      if (p == page) texts << text;
    return texts;
  }

  QTemporaryDir dir_;
  QString savedCurrent_;
};

TEST_F(PrintGeneratorTest, NumberedPagesCloseWithTheFooterAndTheLastIsFilled) {
  setLines(10);
  TGenTabStForm generator(heading(), true, QStringLiteral("DEMO"), base());
  ASSERT_TRUE(generator.ok()) << generator.lastError().toStdString();
  EXPECT_EQ(generator.righePerPagina(), 10);
  for (int i = 1; i <= 4; ++i)
    ASSERT_TRUE(generator.AggiungiRiga(QStringLiteral("riga %1").arg(i)));
  ASSERT_TRUE(generator.TerminaUltimaPagina());
  const auto rows = lines(generator.TabellaRighe());
  EXPECT_EQ(pageTexts(rows, 1),
            QStringList({"Titolo", "Note", "", "| A | B |", "|---|---|", "riga 1", "riga 2",
                         "riga 3", "|---|---|", QStringLiteral("Pagina N\u00B0 1")}));
  // The fourth line opens page 2 with the heading; the page is finished
  // with two blank ruled lines and its footer.
  EXPECT_EQ(pageTexts(rows, 2),
            QStringList({"Titolo", "Note", "", "| A | B |", "|---|---|", "riga 4", "|   |   |",
                         "|   |   |", "|---|---|", QStringLiteral("Pagina N\u00B0 2")}));
  int expected = 1;
  for (const auto& [page, number, text] : rows) {
    if (number == 1 && page == 2) expected = 1;
    EXPECT_EQ(number, expected++) << text.toStdString();
  }
  QList<int> pages;
  generator.TabellaTestate().walk([&pages](qint64, const QVariantList& values) {
    pages << values.at(0).toInt();
    return true;
  });
  EXPECT_EQ(pages, QList<int>({1, 2}));
}

TEST_F(PrintGeneratorTest, UnnumberedPagesHoldFiveLinesAndKeepLongTexts) {
  setLines(10);
  const QString longText = QString(300, QLatin1Char('x'));
  {
    TGenTabStForm generator(heading(), false, QStringLiteral("DEMO"), base());
    for (int i = 1; i <= 10; ++i) ASSERT_TRUE(generator.AggiungiRiga(QStringLiteral("r%1").arg(i)));
    ASSERT_TRUE(generator.AggiungiRiga(longText));
    ASSERT_TRUE(generator.TerminaUltimaPagina());
    const auto rows = lines(generator.TabellaRighe());
    EXPECT_EQ(pageTexts(rows, 1).mid(5), QStringList({"r1", "r2", "r3", "r4", "r5"}));
    EXPECT_EQ(pageTexts(rows, 2).mid(5), QStringList({"r6", "r7", "r8", "r9", "r10"}));
    // No footer without numbering: the last page is filled to its ten lines.
    const QStringList last = pageTexts(rows, 3);
    ASSERT_EQ(last.size(), 10);
    EXPECT_EQ(last.at(5), longText) << "the whole text is kept";
    EXPECT_EQ(last.at(9), "|   |   |");
  }
  // The usual tables stay, to be emptied by the next print.
  EXPECT_TRUE(QFile::exists(dir_.path() + QStringLiteral("/lavoro/STAMPE/TEXT/RIGHET/RIGHET.DB")));
  EXPECT_TRUE(
      QFile::exists(dir_.path() + QStringLiteral("/lavoro/STAMPE/TEXT/TESTATT/TESTATT.DB")));
  // A setting that is not a number gives 50 lines.
  settings().write(QStringLiteral("DEMO"), QStringLiteral("RigheStampaQuery"),
                   QStringLiteral("tante"));
  TGenTabStForm again(heading(), false, QStringLiteral("DEMO"), base());
  EXPECT_EQ(again.righePerPagina(), 50);
  EXPECT_EQ(again.TabellaRighe().rowCount(), 5) << "emptied, then the heading of page 1";
}

TEST_F(PrintGeneratorTest, TablesHeldByAnotherUserAreReplacedAndDeletedAtTheEnd) {
  setLines(10);
  { TGenTabStForm first(heading(), true, QStringLiteral("DEMO"), base()); }
  const QString text = dir_.path() + QStringLiteral("/lavoro/STAMPE/TEXT/");
  std::vector<std::unique_ptr<QProcess>> holders;
  for (const auto& [folder, name] : {std::pair{"RIGHET", "RIGHET.DB"}, {"TESTATT", "TESTATT.DB"}}) {
    auto holder = std::make_unique<QProcess>();
    holder->start(
        QStringLiteral(ORBELAN_LOCAL_TABLE_HOLDER),
        {base() + QStringLiteral("STAMPE\\TEXT\\") + QLatin1String(folder), QLatin1String(name)});
    ASSERT_TRUE(holder->waitForStarted());
    ASSERT_TRUE(holder->waitForReadyRead(10000));
    ASSERT_EQ(holder->readLine().trimmed(), "held");
    holders.push_back(std::move(holder));
  }
  {
    TGenTabStForm second(heading(), true, QStringLiteral("DEMO"), base());
    ASSERT_TRUE(second.ok()) << second.lastError().toStdString();
    EXPECT_EQ(second.TabellaRighe().name(), "RIGHE01.DB");
    EXPECT_EQ(second.TabellaTestate().name(), "TESTA01.DB");
    ASSERT_TRUE(second.AggiungiRiga(QStringLiteral("mia")));
    ASSERT_TRUE(second.TerminaUltimaPagina());
    EXPECT_TRUE(QFile::exists(text + QStringLiteral("RIGHET/RIGHE01.DB")));
  }
  EXPECT_FALSE(QFile::exists(text + QStringLiteral("RIGHET/RIGHE01.DB")));
  EXPECT_FALSE(QFile::exists(text + QStringLiteral("TESTATT/TESTA01.DB")));
  EXPECT_TRUE(QFile::exists(text + QStringLiteral("RIGHET/RIGHET.DB")));
  for (auto& holder : holders) {
    holder->closeWriteChannel();
    holder->waitForFinished();
  }
}

TEST_F(PrintGeneratorTest, FillerLinesKeepOnlyTheBars) {
  EXPECT_EQ(rigaRiempimento(QStringLiteral("| A | B |")), QStringLiteral("|   |   |"));
  EXPECT_EQ(rigaRiempimento(QStringLiteral("abc")), QStringLiteral("   "));
}

class PrintOptionsDialogTest : public PrintGeneratorTest {
 protected:
  std::unique_ptr<TTitStForm> open() {
    return std::make_unique<TTitStForm>(nullptr, note_, QStringLiteral("DEMO"), numera_, titolo_);
  }
  ScriptedPrompter prompter_;
  ScopedPrompter installed_{prompter_};
  QString note_ = QStringLiteral("vecchie");
  bool numera_ = false;
  QString titolo_ = QStringLiteral("Ditta: DEMO");
};

TEST_F(PrintOptionsDialogTest, StoredSettingsAndTheReportTypeRules) {
  const core::IniFile ini = settings();
  ini.write("DEMO", "TipoStampa", "1");
  ini.write("DEMO", "ReportQuery", "MIO");
  ini.write("DEMO", "StampaMemoEstesi", "Si");
  ini.write("DEMO", "NoteStampaDefault", "nota");
  auto dialog = open();
  EXPECT_EQ(dialog->EditTitolo->text(), "Ditta: DEMO");
  EXPECT_EQ(dialog->EditNoteDefault->text(), "nota");
  EXPECT_TRUE(dialog->CheckStampaMemoEstesi->isChecked());
  EXPECT_TRUE(dialog->CheckNumeraPagine->isChecked());
  EXPECT_EQ(dialog->TipoStampa(), 1);
  EXPECT_EQ(dialog->EditNomeReport->text(), "MIO") << "the stored name after the type's rule";
  EXPECT_EQ(dialog->EditNumeroRigheStQuery->text(), "50");
  EXPECT_FALSE(dialog->EditNumeroRigheStQuery->isHidden());
  EXPECT_TRUE(dialog->RadioGroup2->isHidden());
  EXPECT_TRUE(dialog->ButtonEditaReport->isHidden());
  EXPECT_EQ(dialog->FontDialogo.family(), "Courier New");

  dialog->RadioGroup1->setItemIndex(2);
  EXPECT_EQ(dialog->EditNomeReport->text(), "TEXT");
  EXPECT_TRUE(dialog->ButtonFont->isHidden());
  EXPECT_EQ(dialog->filtroReport(), "File report Crystal Report (*.rpt);;Tutti i file (*.*)");
  dialog->RadioGroup1->setItemIndex(0);
  EXPECT_EQ(dialog->EditNomeReport->text(), "");
  EXPECT_FALSE(dialog->ButtonEditaReport->isHidden());
  EXPECT_FALSE(dialog->RadioGroup2->isHidden());
  EXPECT_TRUE(dialog->EditNumeroRigheStQuery->isHidden());
  EXPECT_EQ(dialog->filtroReport(), "File report List & Label (*.lst);;Tutti i file (*.*)");
}

TEST_F(PrintOptionsDialogTest, SfogliaTakesReportsOfTheStartingFolderOnly) {
  QDir(dir_.path()).mkpath(QStringLiteral("bin/Report"));
  auto dialog = open();
  dialog->setDirectoryIniziale(core::storedPath(dir_.path()) + QStringLiteral("\\bin\\Report"));
  prompter_.openFile(dir_.path() + QStringLiteral("/altro/ELENCO.lst"));
  dialog->ButtonSfogliaClick();
  EXPECT_EQ(
      prompter_.texts(),
      QStringList({QStringLiteral("Attenzione: Sono ammessi report presenti nella directory ") +
                   dialog->directoryIniziale()}));
  EXPECT_EQ(dialog->EditNomeReport->text(), "");
  prompter_.openFile(dir_.path() + QStringLiteral("/bin/Report/Elenco.lst"));
  dialog->ButtonSfogliaClick();
  EXPECT_EQ(dialog->EditNomeReport->text(), "Elenco");
}

TEST_F(PrintOptionsDialogTest, OkWritesTheSixSettingsAndCancelNothing) {
  auto cancelled = open();
  cancelled->EditNoteDefault->setText(QStringLiteral("non salvare"));
  cancelled->ButtonCancelClick();
  EXPECT_EQ(cancelled->Esito(), TTitStForm::kAnnullato);
  EXPECT_TRUE(settings().keys(QStringLiteral("DEMO")).isEmpty());
  EXPECT_EQ(note_, "vecchie");

  auto dialog = open();
  dialog->RadioGroup1->setItemIndex(1);
  dialog->EditNumeroRigheStQuery->setText(QStringLiteral("60"));
  dialog->EditNoteDefault->setText(QStringLiteral("nuove"));
  dialog->EditTitolo->setText(QStringLiteral("Titolo mio"));
  dialog->CheckStampaMemoEstesi->setChecked(true);
  dialog->CheckNumeraPagine->setChecked(false);
  dialog->ButtonOKClick();
  EXPECT_EQ(dialog->Esito(), TTitStForm::kConfermato);
  const core::IniFile ini = settings();
  EXPECT_EQ(ini.read("DEMO", "RigheStampaQuery"), "60");
  EXPECT_EQ(ini.read("DEMO", "ReportQuery"), "");
  EXPECT_EQ(ini.read("DEMO", "NoteStampaDefault"), "nuove");
  EXPECT_EQ(ini.read("DEMO", "StampaMemoEstesi"), "Si");
  EXPECT_EQ(ini.read("DEMO", "TipoStampa"), "1");
  EXPECT_EQ(ini.read("DEMO", "OrientamentoStampa"), "0");
  EXPECT_EQ(note_, "nuove");
  EXPECT_EQ(titolo_, "Titolo mio");
  EXPECT_FALSE(numera_);
}

}  // namespace
