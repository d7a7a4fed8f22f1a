#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMap>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <memory>

#include "core/Paths.h"
#include "db/Database.h"
#include "db/Transaction.h"
#include "grid/RadioGroup.h"
#include "query/designer/IBLQueryForm.h"
#include "query/designer/QIBEspForm.h"
#include "support/FirebirdFixture.h"
#include "support/ScriptedUi.h"

namespace {

QByteArray contents(const QString& file) {
  QFile read(file);
  return read.open(QIODevice::ReadOnly) ? read.readAll() : QByteArray("<missing>");
}

void chooseType(QDialog& dialog, int index) {
  control<TRadioGroup>(dialog, "RadioTipo")->button(index)->click();
}

TEST(ExportSettingsWindow, DefaultsSwitchesAndStoredSettings) {
  ScriptedPrompter prompter;
  ScopedPrompter installed(prompter);
  QMap<QString, QString> settings{{"Directory bin", "C:\\bin\\"},
                                  {"Programma riferimento Excel", ""},
                                  {"StampaMemoEstesi", "Si"}};
  const query::output::SettingsStore store{
      [&](const QString& key) { return settings.value(key); },
      [&](const QString& key, const QString& value) { settings[key] = value; }};
  TQIBEspForm form(store, "DEMO", "ETICHETTE.TXT", ";");
  form.show();
  EXPECT_EQ(form.windowTitle(), "Esporta - Ditta: DEMO");
  auto* nome = control<QLineEdit>(form, "EditNome");
  auto* separatore = control<QLineEdit>(form, "EditSeparatore");
  EXPECT_EQ(nome->text(), "ETICHETTE.TXT");
  EXPECT_EQ(control<QLineEdit>(form, "EditPercorso")->text(), "C:\\bin\\")
      << "no export nor temporary directory: the bin directory";
  EXPECT_TRUE(control<QCheckBox>(form, "CheckMemoEstesi")->isChecked());
  EXPECT_TRUE(control<QCheckBox>(form, "CheckMemoRtf")->isVisible());

  // Fixed length swaps ";" and "|", any other separator stays.
  control<QCheckBox>(form, "CheckLunghezzaFissa")->click();
  EXPECT_EQ(separatore->text(), "|");
  control<QCheckBox>(form, "CheckLunghezzaFissa")->click();
  EXPECT_EQ(separatore->text(), ";");

  chooseType(form, 1);
  EXPECT_EQ(nome->text(), "EXPORT");
  EXPECT_EQ(control<QLabel>(form, "LabelNome")->text(), "Nome Tabella");
  EXPECT_FALSE(separatore->isVisible());
  EXPECT_FALSE(control<QLineEdit>(form, "EditPercorso")->isVisible());
  chooseType(form, 2);
  EXPECT_EQ(nome->text(), "ETICHETTE.xls");
  EXPECT_TRUE(control<QLineEdit>(form, "EditPercorso")->isVisible());
  EXPECT_FALSE(control<QCheckBox>(form, "CheckNoIntestazioni")->isVisible());
  chooseType(form, 3);
  EXPECT_EQ(nome->text(), "ETICHETTE.xlsx");
  chooseType(form, 0);
  EXPECT_EQ(nome->text(), "ETICHETTE.TXT");
  EXPECT_TRUE(control<QCheckBox>(form, "CheckNoIntestazioni")->isVisible());

  // The directory is stored as soon as it is chosen, with its backslash.
  prompter.directory("/srv/export");
  clickButton(form, "ButtonSelezPercorso");
  EXPECT_EQ(settings.value("Directory export Query"), "\\srv\\export\\");
  EXPECT_EQ(control<QLineEdit>(form, "EditPercorso")->text(), "\\srv\\export\\");

  // "Apri Excel" needs the program first and leaves the window open.
  EXPECT_EQ(clickButton(form, "ButtonApriExcel"), 0);
  EXPECT_EQ(prompter.texts(), QStringList{"Impostare prima l'eseguibile Excel"});
  EXPECT_TRUE(form.isVisible());
  prompter.openFile("/opt/office/calc");
  clickButton(form, "ButtonEseguibileExcel");
  EXPECT_EQ(prompter.choices().back().caption, "Eseguibile Excel");
  control<QCheckBox>(form, "CheckMemoEstesi")->click();
  EXPECT_FALSE(control<QCheckBox>(form, "CheckMemoRtf")->isVisible());
  EXPECT_EQ(clickButton(form, "ButtonApriExcel"), TQIBEspForm::ResultApriExcel);
  EXPECT_EQ(settings.value("Programma riferimento Excel"), "\\opt\\office\\calc");
  EXPECT_EQ(settings.value("StampaMemoEstesi"), "No");
  const query::output::ExportChoice choice = form.choice();
  EXPECT_EQ(choice.target(), "\\srv\\export\\ETICHETTE.TXT");
  EXPECT_EQ(choice.type, query::output::ExportType::Testo);
}

// The designer on a table of articles, run and shown in its result view;
// its settings in the global settings file of a temporary Windows folder.
class ResultExportTest : public FirebirdTest {
 protected:
  void SetUp() override {
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    qputenv("ORBELAN_WINDOWS_DIR", path("windows/").toLocal8Bit());
    QDir(dir_.path()).mkpath("windows");
    QDir(dir_.path()).mkpath("out");
    database_ = createDatabase();
    execute(*database_, {"CREATE TABLE ARTICOLI (CODICE VARCHAR(10), IMPORTO DOUBLE PRECISION, "
                         "QTA INTEGER, NOTE BLOB SUB_TYPE 1)",
                         "INSERT INTO ARTICOLI VALUES ('B', 1234.5, 2, 'nota; uno')",
                         "INSERT INTO ARTICOLI VALUES ('A', 0, 3, NULL)"});
    transaction_ = std::make_unique<db::Transaction>(
        *database_, QStringList{"isc_tpb_concurrency", "isc_tpb_nowait"});
    form_ = std::make_unique<TIBLQueryForm>(
        *database_, *transaction_,
        query::designer::DesignerSettings{
            "ARTICOLI", core::storedPath(path("")) + '\\', {}, 0, "DEMO"});
    form_->show();
    form_->ButtonEseguiClick();
    grid_ = control<QTableView>(*form_, "GridRisposta");
  }
  void TearDown() override {
    form_.reset();
    qunsetenv("ORBELAN_WINDOWS_DIR");
    qunsetenv("ORBELAN_LIBRARY_DIR");
    for (const char* name : {"ORBELAN_TEST_XENDO_OUT", "ORBELAN_TEST_XENDO_RESULT",
                             "ORBELAN_TEST_XENDO_ERROR", "ORBELAN_TEST_XENDO_THROW"})
      qunsetenv(name);
    QLocale::setDefault(QLocale::c());
  }

  void key(int column, Qt::Key pressed) {
    grid_->setCurrentIndex(grid_->model()->index(0, column));
    QTest::keyClick(grid_, pressed);
  }
  QString outDir() const { return core::storedPath(path("out")) + '\\'; }

  // The settings window's answer: a type, the output folder, then a button.
  void answerSettings(int type, const QString& button = "ButtonOk",
                      std::function<void(QDialog&)> more = {}) {
    const QString directory = outDir();
    prompter_.script([=](QDialog& dialog) {
      chooseType(dialog, type);
      control<QLineEdit>(dialog, "EditPercorso")->setText(directory);
      if (more) more(dialog);
      return clickButton(dialog, button);
    });
  }

  std::unique_ptr<db::Database> database_;
  std::unique_ptr<db::Transaction> transaction_;
  ScriptedPrompter prompter_;
  ScopedPrompter installed_{prompter_};
  std::unique_ptr<TIBLQueryForm> form_;
  QTableView* grid_ = nullptr;
};

TEST_F(ResultExportTest, TextFileOfTheShownColumnsAndTheFallbackAfterAFailure) {
  key(2, Qt::Key_F3);  // QTA hidden
  key(1, Qt::Key_F5);  // IMPORTO grouped with two decimals
  answerSettings(0);
  clickButton(*form_, "ButtonEsporta");
  EXPECT_EQ(prompter_.texts(), QStringList{"EXPORT SU FILE TERMINATO !!!"});
  // The double's column holds its longest text (24 characters).
  EXPECT_EQ(contents(path("out/ARTICOLI.TXT")),
            "CODICE;IMPORTO;NOTE;\r\nB;" + QByteArray(16, ' ') + "1.234,50;nota; uno;\r\nA;;;\r\n");

  // A folder that is not there: the reason, then the settings again for the
  // text written from the shown rows.
  prompter_.reset();
  prompter_.script([](QDialog& dialog) {
    control<QLineEdit>(dialog, "EditPercorso")->setText("\\nessuna\\cartella\\");
    return clickButton(dialog, "ButtonOk");
  });
  answerSettings(0, "ButtonOk", [](QDialog& dialog) {
    control<QCheckBox>(dialog, "CheckLunghezzaFissa")->click();
    control<QLineEdit>(dialog, "EditNome")->setText("RIGHE.TXT");
  });
  clickButton(*form_, "ButtonEsporta");
  ASSERT_EQ(prompter_.texts().size(), 2);
  EXPECT_TRUE(prompter_.texts()[0].startsWith("Impossibile creare il file"));
  EXPECT_EQ(prompter_.texts()[1], "EXPORT SU FILE TERMINATO !!!");
  EXPECT_EQ(contents(path("out/RIGHE.TXT")),
            "CODICE    |IMPORTO" + QByteArray(17, ' ') + "|NOTE      |\r\n" + "B         |" +
                QByteArray(16, ' ') + "1.234,50|nota; uno |\r\n" + "A         |" +
                QByteArray(24, ' ') + "|          |\r\n");
}

TEST_F(ResultExportTest, ExcelThroughTheSiblingLibraryWithItsMessages) {
  qputenv("ORBELAN_LIBRARY_DIR", ORBELAN_FAKE_XENDO_DIR);
  qputenv("ORBELAN_TEST_XENDO_OUT", path("calls.txt").toLocal8Bit());
  answerSettings(2);
  clickButton(*form_, "ButtonEsporta");
  EXPECT_EQ(prompter_.texts(), QStringList{"EXPORT SU FILE EXCEL TERMINATO !!!"});
  // The function, the statement's lines, the database, the folder, the
  // (temporary) name and the template, one a line.
  const QList<QByteArray> call = contents(path("calls.txt")).split('\n');
  ASSERT_GE(call.size(), 8);
  EXPECT_EQ(call[0], "ExportXlsAnsi");
  EXPECT_EQ(call[1], "SELECT");
  EXPECT_TRUE(contents(path("calls.txt")).contains("FROM \n\"ARTICOLI\" XX \n"));
  EXPECT_EQ(QString::fromLocal8Bit(call[call.size() - 5]), database_->name());
  EXPECT_EQ(QString::fromLocal8Bit(call[call.size() - 4]), outDir());
  EXPECT_TRUE(call[call.size() - 3].startsWith(".ARTICOLI.xls")) << call[call.size() - 3].data();
  EXPECT_EQ(call[call.size() - 2], "");
  EXPECT_EQ(contents(path("out/ARTICOLI.xls")), "workbook\n");

  // Written, but the template not applied: the library's text as information.
  prompter_.reset();
  qputenv("ORBELAN_TEST_XENDO_RESULT", "1");
  qputenv("ORBELAN_TEST_XENDO_ERROR", "Modello non trovato");
  answerSettings(3);
  clickButton(*form_, "ButtonEsporta");
  EXPECT_EQ(prompter_.texts(),
            (QStringList{"EXPORT SU FILE EXCEL TERMINATO !!!", "Modello non trovato"}));
  EXPECT_EQ(prompter_.messages()[1].kind, ui::MessageKind::Information);

  // A failure keeps the older workbook and says what the library said.
  prompter_.reset();
  qputenv("ORBELAN_TEST_XENDO_RESULT", "-3");
  qputenv("ORBELAN_TEST_XENDO_ERROR", "Tabella non leggibile");
  answerSettings(2);
  clickButton(*form_, "ButtonEsporta");
  EXPECT_EQ(prompter_.texts(),
            QStringList{"ERRORE NELL' EXPORT SU FILE EXCEL!!!\r\rTabella non leggibile"});
  EXPECT_EQ(contents(path("out/ARTICOLI.xls")), "workbook\n");

  prompter_.reset();
  qputenv("ORBELAN_TEST_XENDO_THROW", "accesso negato");
  answerSettings(3);
  clickButton(*form_, "ButtonEsporta");
  EXPECT_EQ(prompter_.texts(),
            (QStringList{"Errore nell'accesso alla DLL esterna per la creazione del file "
                         "xlsx\r\raccesso negato",
                         "ERRORE NELL' EXPORT SU FILE EXCEL!!!"}));
  EXPECT_EQ(QDir(path("out")).entryList(QDir::Files | QDir::Hidden),
            (QStringList{"ARTICOLI.xls", "ARTICOLI.xlsx"}))
      << "no temporary workbook left behind";
}

TEST_F(ResultExportTest, TheLibraryOrItsFunctionMissing) {
  qputenv("ORBELAN_LIBRARY_DIR", path("nessuna").toLocal8Bit());
  answerSettings(2);
  clickButton(*form_, "ButtonEsporta");
  EXPECT_EQ(prompter_.texts(),
            (QStringList{"Non trovato il file Xendo.dll", "ERRORE NELL' EXPORT SU FILE EXCEL!!!"}));
  prompter_.reset();
  qputenv("ORBELAN_LIBRARY_DIR", ORBELAN_XENDO_WITHOUT_FUNCTIONS_DIR);
  answerSettings(3);
  clickButton(*form_, "ButtonEsporta");
  EXPECT_EQ(prompter_.texts(),
            (QStringList{"Non trovata funzione ExportXlsXAnsi nel file Xendo.dll",
                         "ERRORE NELL' EXPORT SU FILE EXCEL!!!"}));
  EXPECT_FALSE(QFile::exists(path("out/ARTICOLI.xlsx")));
}

TEST_F(ResultExportTest, ApriExcelStartsTheProgramWithTheFile) {
  const QString program = path("calc.sh");
  {
    QFile script(program);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    // Written aside and renamed, so that the file the test waits for is whole
    // as soon as it exists.
    script.write("#!/bin/sh\nprintf '%s' \"$1\" > \"$0.part\" && mv \"$0.part\" \"$0.args\"\n");
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  }
  answerSettings(0, "ButtonApriExcel", [&](QDialog& dialog) {
    control<QLineEdit>(dialog, "EditEseguibileExcel")->setText(core::storedPath(program));
  });
  clickButton(*form_, "ButtonEsporta");
  EXPECT_TRUE(prompter_.texts().isEmpty()) << "no success message for \"Apri Excel\"";
  QElapsedTimer waited;
  waited.start();
  while (!QFile::exists(program + ".args") && waited.elapsed() < 10000) QTest::qWait(50);
  EXPECT_EQ(contents(program + ".args"), path("out/ARTICOLI.TXT").toLocal8Bit());
  EXPECT_TRUE(QFile::exists(path("out/ARTICOLI.TXT")));
}

}  // namespace
