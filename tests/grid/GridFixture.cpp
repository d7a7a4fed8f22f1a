#include "GridFixture.h"

#include <QHeaderView>
#include <QTest>

#include "HostSchema.h"
#include "grid/GridModel.h"

const QStringList GridTest::kEtichette{
    QStringLiteral("SELECT * FROM ETICHETTE WHERE IDLANCIOSTAMPA IS NULL")};

GridHost::GridHost(db::Database& database, QStringList lines, const QString& baseTable, int user)
    : statement(std::move(lines)),
      transaction(database,
                  {QStringLiteral("isc_tpb_concurrency"), QStringLiteral("isc_tpb_nowait")}),
      query(database, transaction) {
  query.setBeforeOpen([this](db::DataSet&) {
    query.sql = statement;
    grid.SQLIniziale = statement;
    grid.CaricaAspettoColonne();
  });
  query.setAfterOpen([this](db::DataSet&) { opened.push_back(query.sql); });
  query.setBeforeClose([this](db::DataSet&) {
    if (searching == 0 && !grid.RipristinoInCorso) {
      grid.SalvaAspettoColonne();
      ++saves;
    }
  });
  grid.OnInizioRicerca = [this](QObject*) { searching = 1; };
  grid.OnFineRicerca = [this](QObject*) { searching = 0; };
  grid.Situazione = 1;
  grid.Utente = user;
  grid.CodiceProgetto = 123;
  grid.TabellaBase = baseTable;
  grid.TabellaPiccola = true;
  grid.SetSorgenteDati(&query);
  grid.resize(900, 400);
  grid.show();
}

int GridHost::column(const QString& field) const {
  return grid::columnOfField(grid.colonne(), field);
}

void GridHost::doubleClickTitle(const QString& field, Qt::KeyboardModifiers modifiers) {
  QHeaderView* header = grid.horizontalHeader();
  const int at = column(field);
  const QPoint point(header->sectionViewportPosition(at) + header->sectionSize(at) / 2,
                     header->height() / 2);
  QTest::mouseDClick(header->viewport(), Qt::LeftButton, modifiers, point);
}

void GridTest::SetUp() {
  database_ = createDatabase();
  host::createArchiveSchema(*database_);
  run(QStringLiteral(
      "EXECUTE BLOCK AS DECLARE I INTEGER = 1; BEGIN WHILE (I <= 30) DO BEGIN "
      "INSERT INTO ETICHETTE (ID, IDACQUISIZIONE, CODICE, DESCRIZIONE, CAUSALE) VALUES "
      "(:I, 1, 'C' || LPAD(:I, 3, '0'), 'Articolo ' || (31 - :I), 'V'); I = I + 1; END END"));
  run(
      QStringLiteral("CREATE TABLE MOVIMENTI (ID INTEGER NOT NULL PRIMARY KEY, "
                     "CODICE VARCHAR(20), QTA INTEGER, DATA DATE, FOTO BLOB SUB_TYPE 0)"));
  run(QStringLiteral("INSERT INTO MOVIMENTI VALUES (1, 'ab1', 5, '01/15/2024', NULL)"));
  run(QStringLiteral("INSERT INTO MOVIMENTI VALUES (2, 'xab', 50, '02/20/2024', NULL)"));
  run(QStringLiteral("INSERT INTO MOVIMENTI VALUES (3, 'zz', 7, '03/25/2024', NULL)"));
  scoped_ = std::make_unique<ScopedPrompter>(prompter_);
  db::setStatementObserver([this](const QStringList& lines) { statements_.push_back(lines); });
}

void GridTest::TearDown() {
  db::setStatementObserver(nullptr);
  scoped_.reset();
}

void GridTest::run(const QString& statement) {
  execute(*database_, {statement});
}

std::vector<grid::LayoutRow> GridTest::storedRows(int user) {
  db::Transaction transaction(*database_);
  return grid::layout::readRows(
      transaction, grid::layout::selectRows(QStringLiteral("STOASP1"), {1, user, 123}, true));
}

std::vector<QStringList> GridTest::takeStatements(const QString& start) {
  std::vector<QStringList> found;
  for (const QStringList& lines : statements_)
    if (!lines.isEmpty() && lines.front().startsWith(start)) found.push_back(lines);
  statements_.clear();
  return found;
}
