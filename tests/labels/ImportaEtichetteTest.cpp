#include <QDate>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTest>

#include "HostSchema.h"
#include "core/Cp1252.h"
#include "core/Paths.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "labels/ImportProgressDialog.h"
#include "labels/ImportaEtichette.h"
#include "labels/LabelLine.h"
#include "support/FirebirdFixture.h"
#include "support/ScriptedUi.h"

namespace {

using Outcome = labels::ImportResult::Outcome;

const QString kImported = "Etichette importate";
const QString kCancelled = "Importazione annullata: nessuna etichetta importata";

// Records the progress reports and cancels at a given line.
class RecordingProgress : public labels::ImportProgress {
 public:
  explicit RecordingProgress(int cancelAt = -1) : cancelAt_(cancelAt) {}
  bool advance(int done, int total) override {
    reports << qMakePair(done, total);
    return done != cancelAt_;
  }
  QList<QPair<int, int>> reports;

 private:
  int cancelAt_;
};

// An archive with the host's tables and the label window's transaction on it.
class ImportTest : public FirebirdTest {
 protected:
  void SetUp() override {
    database_ = createDatabase("archivio.fdb");
    host::createArchiveSchema(*database_);
    transaction_ = std::make_unique<db::Transaction>(
        *database_, QStringList{"isc_tpb_concurrency", "isc_tpb_nowait"});
    transaction_->start();
    queryAux_ = std::make_unique<db::Query>(*database_, *transaction_);
    binDir_ = core::storedPath(dir_.path()) + '\\';
  }

  QString writeFile(const QString& name, const QByteArray& bytes) {
    QFile file(path(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return file.fileName();
  }

  labels::ImportResult import(const QString& file, labels::ImportProgress* progress = nullptr) {
    return labels::ImportaEtichette(*queryAux_, binDir_, file, progress);
  }

  // Committed rows, read in a transaction of their own: each row's values in
  // the order of `columns`, "<null>" for a null.
  QList<QStringList> committed(const QString& columns, const QString& from) {
    db::Transaction reading(*database_);
    db::Query query(*database_, reading);
    query.sql << "SELECT " + columns + " FROM " + from;
    QList<QStringList> rows;
    for (query.open(); !query.isEof(); query.next()) {
      QStringList row;
      for (int i = 0; i < query.fieldCount(); ++i) {
        const QVariant value = query.value(query.currentRow(), i);
        row << (value.isNull() ? QStringLiteral("<null>") : query.text(query.field(i).name));
      }
      rows << row;
    }
    return rows;
  }

  QList<QStringList> labelsOf(const QString& idAcquisizione) {
    return committed(
        "CODICE,DATIPRODOTTO,DESCRIZIONE,CAUSALE,ORDINE,CODCLIDESTIN,RAGSOCCLIDESTIN,FORNITORE,"
        "INDIRIZZO,CAP,CITTA,PROVINCIA,NAZIONE,CODICE_EAN,IDLANCIOSTAMPA",
        "ETICHETTE WHERE IDACQUISIZIONE=" + idAcquisizione + " ORDER BY ID");
  }

  int count(const QString& table) { return committed("COUNT(*)", table)[0][0].toInt(); }

  QString errorFile() const { return path("GestEticForm.ButtonCarica.sql"); }
  QString failureMessage() const {
    return "Errore interno di INSERT: controllare il file: \"" + binDir_ +
           "GestEticForm.ButtonCarica.sql\"";
  }

  ScriptedPrompter prompter_;
  ScopedPrompter scope_{prompter_};
  std::unique_ptr<db::Database> database_;
  std::unique_ptr<db::Transaction> transaction_;
  std::unique_ptr<db::Query> queryAux_;
  QString binDir_;
};

// A row of labelsOf(): the leading values, then nulls, with some later
// values set by column index.
QStringList row(std::initializer_list<const char*> leading,
                std::initializer_list<std::pair<int, const char*>> later = {}) {
  QStringList result;
  for (const char* value : leading) result << QString::fromUtf8(value);
  while (result.size() < 15) result << "<null>";
  for (const auto& [index, value] : later) result[index] = QString::fromUtf8(value);
  return result;
}

TEST_F(ImportTest, EachLayoutFillsItsColumnsAndTheImportIsCommittedAsAWhole) {
  const QByteArray lines[] = {
      "P1;Desc uno;C001",
      "P2;Giacca-blu;C002;8001234567890",
      "P3;D3;C003;riass;ORD1;CLI1;Rossi Srl;FOR1;Via Po 1;10100;Torino;TO;Italia",
      "P4;D4;C004;RIASS;ORD2;CLI2;Bianchi",
      "",
      "P6;D6;C006;800123456789",
      "P7;D7;C007;80012345678901",
      "P8;D8;C008;800123456789A",
      "L'abito;Gonna d'estate;AB'12;Riass;O'1;;L'Ottica",
      "P10;;C010;;extra",
      " P11 ;\xE0\x80;C011 ",
  };
  QByteArray content;
  for (const QByteArray& line : lines) content += line + "\r\n";
  const QString file = writeFile("carico d'oggi.txt", content);

  QList<QStringList> statements;
  db::setStatementObserver([&](const QStringList& lines) { statements << lines; });
  RecordingProgress progress;
  const labels::ImportResult result = import(file, &progress);
  db::setStatementObserver(nullptr);

  ASSERT_EQ(result.outcome, Outcome::Imported) << prompter_.texts().join('|').toStdString();
  EXPECT_EQ(result.labels, 11);
  EXPECT_EQ(prompter_.texts(), QStringList{kImported});
  EXPECT_EQ(prompter_.messages()[0].kind, ui::MessageKind::Information);
  EXPECT_EQ(progress.reports.first(), qMakePair(0, 11));
  EXPECT_EQ(progress.reports.last(), qMakePair(11, 11));

  const QString storedName =
      core::storedPath(QDir(dir_.path()).absolutePath()) + QString::fromUtf8("\\carico d´oggi.txt");
  ASSERT_EQ(statements.size(), 3) << "the label insert is prepared once";
  EXPECT_EQ(statements[2], QStringList{labels::insertStatementWithMarkers()});
  EXPECT_EQ(statements[0], QStringList{"SELECT GEN_ID(IDACQUISIZIONICOUNTER,1) FROM RDB$DATABASE"});
  EXPECT_EQ(statements[1], (QStringList{"INSERT INTO ACQUISIZIONI (ID,DATA,NOMEFILE) VALUES(",
                                        "'" + result.idAcquisizione + "',",
                                        "'" + QDate::currentDate().toString("MM/dd/yyyy") + "',",
                                        "'" + storedName + "')"}));
  EXPECT_EQ(committed("ID,DATA,NOMEFILE", "ACQUISIZIONI"),
            (QList<QStringList>{
                {result.idAcquisizione, QDate::currentDate().toString("dd/MM/yyyy"), storedName}}));

  // CODICE, DATIPRODOTTO, DESCRIZIONE, CAUSALE, ORDINE .. NAZIONE, CODICE_EAN,
  // IDLANCIOSTAMPA; the values not given are null.
  const QList<QStringList> expected{
      row({"C001", "P1", "Desc uno"}),
      row({"C002", "P2", "Giacca-blu"}, {{13, "8001234567890"}}),
      row({"C003", "P3", "D3", "RIASS", "ORD1", "CLI1", "Rossi Srl", "FOR1", "Via Po 1", "10100",
           "Torino", "TO", "Italia"}),
      row({"C004", "P4", "D4", "RIASS", "ORD2", "CLI2", "Bianchi"}),
      row({""}),
      row({"C006", "P6", "D6"}),
      row({"C007", "P7", "D7"}),
      row({"C008", "P8", "D8"}),
      row({"AB'12", "L´abito", "Gonna d´estate", "RIASS", "O´1", "<null>", "L´Ottica"}),
      row({"C010", "P10"}),
      row({"C011 ", " P11 ", "à€"}),
  };
  const QList<QStringList> imported = labelsOf(result.idAcquisizione);
  EXPECT_EQ(imported, expected);

  // The text statement that the error file would show stores exactly what
  // the import stored.
  db::Transaction other(*database_);
  db::Query text(*database_, other);
  for (const QByteArray& line : lines) {
    text.sql = labels::insertStatementLines("999", labels::parseLabelLine(core::fromCp1252(line)));
    text.execSql();
  }
  other.commit();
  EXPECT_EQ(labelsOf("999"), imported);
}

TEST_F(ImportTest, LinesEndInCrLfOrLfAndTheLastTerminatorMakesNoLine) {
  struct Case {
    QByteArray content;
    QStringList codes;
  };
  const QList<Case> cases{
      {"a;b;c1\r\nd;e;f1\r\n", {"c1", "f1"}},
      {"a;b;c2\nd;e;f2", {"c2", "f2"}},
      {"a;b;c3\r\nd;e;f3\n\n", {"c3", "f3", ""}},
      {"a;b;c4\r\n\r\nd;e;f4\r", {"c4", "", "f4"}},
      {"", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.content.toStdString());
    prompter_.reset();
    const labels::ImportResult result = import(writeFile("righe.txt", c.content));
    ASSERT_EQ(result.outcome, Outcome::Imported);
    EXPECT_EQ(result.labels, c.codes.size());
    QStringList codes;
    for (const QStringList& label : labelsOf(result.idAcquisizione)) codes << label[0];
    EXPECT_EQ(codes, c.codes);
    EXPECT_EQ(prompter_.texts(), QStringList{kImported});
  }
}

TEST_F(ImportTest, AFailureOnLine50LeavesNothingAndSavesTheStatement) {
  QFile stale(errorFile());
  ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
  stale.write(QByteArray(5000, 'x'));
  stale.close();

  QByteArray content;
  for (int i = 1; i <= 60; ++i) {
    if (i == 50)
      content += "P50;Desc 50;CO'D50;Riass;ORD-1234567;CLI;Ragione d'uso;;;;;;\r\n";
    else
      content += QByteArray("P;D;C") + QByteArray::number(i) + "\r\n";
  }
  RecordingProgress progress;
  const labels::ImportResult result = import(writeFile("carico.txt", content), &progress);

  EXPECT_EQ(result.outcome, Outcome::Failed);
  EXPECT_EQ(result.failedStatementFile, binDir_ + "GestEticForm.ButtonCarica.sql");
  EXPECT_EQ(prompter_.texts(), QStringList{failureMessage()});
  EXPECT_EQ(prompter_.messages()[0].kind, ui::MessageKind::Error);
  EXPECT_EQ(progress.reports.last(), qMakePair(49, 60)) << "no line after the failing one";
  EXPECT_EQ(count("ETICHETTE"), 0);
  EXPECT_EQ(count("ACQUISIZIONI"), 0);

  // The statement of line 50 as text, every value quoted, one line per
  // column, lines ended by CR LF.
  const QString id = committed("GEN_ID(IDACQUISIZIONICOUNTER,0)", "RDB$DATABASE")[0][0];
  QStringList statement{"INSERT INTO ETICHETTE (ID,IDACQUISIZIONE,CODICE,",
                        "DATIPRODOTTO,DESCRIZIONE,CAUSALE,ORDINE,CODCLIDESTIN,",
                        "RAGSOCCLIDESTIN,FORNITORE,INDIRIZZO,CAP,CITTA,PROVINCIA,",
                        "NAZIONE,CODICE_EAN) VALUES(",
                        "GEN_ID(IDETICHETTECOUNTER,1),",
                        "'" + id + "',",
                        "'CO''D50',",
                        "'P50',",
                        "'Desc 50',",
                        "'RIASS',",
                        "'ORD-1234567',",
                        "'CLI',",
                        QString::fromUtf8("'Ragione d´uso',")};
  for (int i = 0; i < 6; ++i) statement << "NULL,";
  statement << "NULL)";
  QFile saved(errorFile());
  ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
  EXPECT_EQ(core::fromCp1252(saved.readAll()), statement.join("\r\n") + "\r\n");

  // The saved statement fails on its own too; the window's transaction was
  // restarted and takes the next import.
  queryAux_->sql = statement;
  EXPECT_THROW(queryAux_->execSql(), db::DbError);
  EXPECT_TRUE(transaction_->isActive());
  prompter_.reset();
  const labels::ImportResult again = import(writeFile("buono.txt", "P;D;OK1\r\nP;D;OK2\r\n"));
  EXPECT_EQ(again.outcome, Outcome::Imported);
  EXPECT_EQ(count("ETICHETTE"), 2);
  EXPECT_EQ(count("ACQUISIZIONI"), 1);
}

TEST_F(ImportTest, CancellingOrAnUnreadableFileUndoesTheImport) {
  const QString file = writeFile("carico.txt", "P;D;C1\r\nP;D;C2\r\nP;D;C3\r\nP;D;C4\r\n");
  RecordingProgress cancelAtThree(3);
  EXPECT_EQ(import(file, &cancelAtThree).outcome, Outcome::Cancelled);
  EXPECT_EQ(cancelAtThree.reports.last(), qMakePair(3, 4));
  EXPECT_EQ(prompter_.texts(), QStringList{kCancelled});

  RecordingProgress cancelAtOnce(0);
  EXPECT_EQ(import(file, &cancelAtOnce).outcome, Outcome::Cancelled);

  prompter_.reset();
  for (const QString& unreadable : {path("missing.txt"), dir_.path()}) {
    EXPECT_EQ(import(unreadable).outcome, Outcome::Failed);
  }
  EXPECT_EQ(prompter_.texts(), (QStringList{"Impossibile leggere il file \"" + path("missing.txt") +
                                                "\": nessuna etichetta importata",
                                            "Impossibile leggere il file \"" + dir_.path() +
                                                "\": nessuna etichetta importata"}));
  EXPECT_EQ(count("ETICHETTE"), 0);
  EXPECT_EQ(count("ACQUISIZIONI"), 0);
  EXPECT_FALSE(QFile::exists(errorFile())) << "no statement failed";
}

TEST_F(ImportTest, CaricaDaFileAsksForTheFileAndALongImportShowsACancellableDialog) {
  EXPECT_FALSE(labels::CaricaDaFile(nullptr, *queryAux_, binDir_).has_value()) << "no file chosen";
  ASSERT_EQ(prompter_.choices().size(), 1u);
  EXPECT_EQ(prompter_.choices()[0].kind, ChoiceKind::OpenFile);

  prompter_.openFile(writeFile("carico.txt", "P;D;C1\nP;D;C2\n"));
  const auto result = labels::CaricaDaFile(nullptr, *queryAux_, binDir_);
  ASSERT_TRUE(result.has_value());
  EXPECT_EQ(result->outcome, Outcome::Imported);
  EXPECT_EQ(result->labels, 2);

  // A long import shows its dialog, whose cancel button stops it.
  labels::ImportProgressDialog progress(nullptr);
  EXPECT_TRUE(progress.advance(0, 1000));
  EXPECT_TRUE(progress.advance(1, 1000));
  EXPECT_FALSE(progress.dialog().isVisible()) << "not for a short import";
  QTest::qWait(labels::ImportProgressDialog::kShowAfterMs + 100);
  EXPECT_TRUE(progress.advance(500, 1000));
  EXPECT_TRUE(progress.dialog().isVisible());
  EXPECT_EQ(progress.dialog().value(), 500);
  auto* cancel = progress.dialog().findChild<QPushButton*>();
  ASSERT_NE(cancel, nullptr);
  cancel->click();
  EXPECT_FALSE(progress.advance(501, 1000));
}

}  // namespace
