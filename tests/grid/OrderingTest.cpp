#include <QLineEdit>
#include <QTest>

#include "GridFixture.h"
#include "grid/ColorCode.h"
#include "grid/GridModel.h"
#include "grid/RQuovGridForm.h"
#include "grid/RadioGroup.h"
#include "grid/SearchCondition.h"
#include "grid/TableAliases.h"

namespace {

class OrderingTest : public GridTest {
 protected:
  // The stored ordering code of each field that has one.
  std::map<QString, int> codes() {
    std::map<QString, int> result;
    for (const auto& row : storedRows())
      if (row.ordinamento) result[row.nomeCampo] = *row.ordinamento;
    return result;
  }
};

QColor titleColor(const TQuovGrid& grid, int column) {
  return grid.model()->headerData(column, Qt::Horizontal, Qt::BackgroundRole).value<QColor>();
}

}  // namespace

TEST_F(OrderingTest, PrimaryKeyFallBackAndNoOrderingWithOrderByFalse) {
  run("CREATE TABLE COPPIE (A INTEGER NOT NULL, B VARCHAR(5) NOT NULL, C INTEGER, "
      "PRIMARY KEY (A, B))");
  {
    GridHost host(*database_, kEtichette, "ETICHETTE");
    host.open();
    EXPECT_EQ(host.lastOpened(), with(kEtichette, {"ORDER BY ETICHETTE.ID"}));
  }
  {
    GridHost host(*database_, {"SELECT * FROM COPPIE"}, "COPPIE", 8);
    host.open();
    EXPECT_EQ(host.lastOpened(),
              QStringList({"SELECT * FROM COPPIE", "ORDER BY COPPIE.A,COPPIE.B"}));
    host.grid.OrdinaPerChiavePrimaria = false;
    host.open();
    EXPECT_EQ(host.lastOpened(), QStringList({"SELECT * FROM COPPIE"}));
  }
  {
    // A stored key, and OrderBy false: neither the key nor the primary key.
    GridHost host(*database_, kEtichette, "ETICHETTE");
    host.open();
    host.doubleClickTitle("CODICE");
    EXPECT_EQ(host.lastOpened(), with(kEtichette, {"ORDER BY ETICHETTE.CODICE"}));
    host.grid.OrderBy = false;
    host.open();
    EXPECT_EQ(host.lastOpened(), kEtichette);
  }
}

TEST_F(OrderingTest, TitleDoubleClicksOrderAscendingDescendingAscendingAndAreStored) {
  GridHost host(*database_, kEtichette, "ETICHETTE");
  host.open();
  const int codice = host.column("CODICE");
  const auto firstCode = [&] { return host.grid.model()->index(0, codice).data().toString(); };

  host.doubleClickTitle("CODICE");
  EXPECT_EQ(host.lastOpened(), with(kEtichette, {"ORDER BY ETICHETTE.CODICE"}));
  EXPECT_EQ(firstCode(), "C001");
  EXPECT_EQ(codes(), (std::map<QString, int>{{"CODICE", 1}}));
  EXPECT_EQ(titleColor(host.grid, codice), QColor(255, 0, 0));
  EXPECT_EQ(host.grid.currentIndex().column(), codice) << "the clicked column is selected";

  host.doubleClickTitle("CODICE");
  EXPECT_EQ(host.lastOpened(), with(kEtichette, {"ORDER BY ETICHETTE.CODICE DESC"}));
  EXPECT_EQ(firstCode(), "C030");
  EXPECT_EQ(codes(), (std::map<QString, int>{{"CODICE", 2}}));

  host.doubleClickTitle("CODICE");
  EXPECT_EQ(host.lastOpened(), with(kEtichette, {"ORDER BY ETICHETTE.CODICE"}));

  host.doubleClickTitle("DESCRIZIONE");
  EXPECT_EQ(host.lastOpened(), with(kEtichette, {"ORDER BY ETICHETTE.DESCRIZIONE"}));
  EXPECT_EQ(codes(), (std::map<QString, int>{{"DESCRIZIONE", 1}}));
  EXPECT_FALSE(titleColor(host.grid, codice).isValid()) << "the old key's title is plain again";

  // The stored key comes back with a new grid.
  GridHost again(*database_, kEtichette, "ETICHETTE");
  again.open();
  EXPECT_EQ(again.lastOpened(), with(kEtichette, {"ORDER BY ETICHETTE.DESCRIZIONE"}));
  EXPECT_EQ(titleColor(again.grid, again.column("DESCRIZIONE")), QColor(255, 0, 0));
}

TEST_F(OrderingTest, CtrlDoubleClicksOnABAGiveMinusTenAndTwentyAndSurviveAReload) {
  GridHost host(*database_, kEtichette, "ETICHETTE");
  host.open();
  host.doubleClickTitle("CODICE", Qt::ControlModifier);
  host.doubleClickTitle("DESCRIZIONE", Qt::ControlModifier);
  EXPECT_EQ(host.lastOpened(),
            with(kEtichette, {"ORDER BY ETICHETTE.CODICE", ",ETICHETTE.DESCRIZIONE"}));
  host.doubleClickTitle("CODICE", Qt::ControlModifier);
  const QStringList multi =
      with(kEtichette, {"ORDER BY ETICHETTE.CODICE DESC", ",ETICHETTE.DESCRIZIONE"});
  EXPECT_EQ(host.lastOpened(), multi);
  EXPECT_EQ(codes(), (std::map<QString, int>{{"CODICE", -10}, {"DESCRIZIONE", 20}}));
  EXPECT_EQ(titleColor(host.grid, host.column("CODICE")), QColor(255, 0, 0));
  EXPECT_EQ(titleColor(host.grid, host.column("DESCRIZIONE")), QColor(243, 180, 180));

  GridHost again(*database_, kEtichette, "ETICHETTE");
  again.open();
  EXPECT_EQ(again.grid.ordinamento().mode, grid::GridOrdering::Multi);
  EXPECT_EQ(again.lastOpened(), multi);
  ASSERT_EQ(again.grid.ordinamento().ChiaviOrdinamento.size(), 2u);
  EXPECT_EQ(again.grid.ordinamento().ChiaviOrdinamento[0].name, "CODICE");

  // Without Ctrl the grid is back to one key, starting from the first: the
  // same column again reverses its direction.
  again.doubleClickTitle("CODICE");
  EXPECT_EQ(again.grid.ordinamento().mode, grid::GridOrdering::Single);
  EXPECT_EQ(again.lastOpened(), with(kEtichette, {"ORDER BY ETICHETTE.CODICE"}));
  EXPECT_EQ(codes(), (std::map<QString, int>{{"CODICE", 1}}));
}

TEST_F(OrderingTest, LargeTableRuleRefusesNonIndexedColumnsUnlessTheSettingLiftsIt) {
  const QString refusal = QString::fromUtf8(
      "Attenzione: Non è possibile eseguire la ricerca su un campo non indicizzato di una "
      "tabella di grandi dimensioni");
  {
    GridHost host(*database_, kEtichette, "ETICHETTE");
    host.grid.TabellaPiccola = false;
    host.grid.CampiIndicizzati = "ID;IDLANCIOSTAMPA";
    host.open();
    EXPECT_EQ(titleColor(host.grid, host.column("ID")), QColor(255, 255, 0))
        << "indexed titles are yellow by default";
    const auto before = host.opened.size();
    host.doubleClickTitle("CODICE");
    EXPECT_EQ(prompter_.texts(), QStringList{refusal});
    EXPECT_EQ(prompter_.messages().front().kind, ui::MessageKind::Information);
    EXPECT_EQ(host.opened.size(), before) << "nothing was reordered";

    int starts = 0, ends = 0;
    host.grid.OnInizioRicerca = [&](QObject*) { ++starts; };
    host.grid.OnFineRicerca = [&](QObject*) { ++ends; };
    host.grid.setCurrentIndex(host.grid.model()->index(0, host.column("CODICE")));
    host.grid.RicercaCampoCorrente();
    EXPECT_EQ(prompter_.texts(), QStringList({refusal, refusal}));
    EXPECT_EQ(starts, 1);
    EXPECT_EQ(ends, 1);
    EXPECT_TRUE(prompter_.dialogs().isEmpty()) << "no search window opens";

    host.doubleClickTitle("ID");
    EXPECT_EQ(host.lastOpened(), with(kEtichette, {"ORDER BY ETICHETTE.ID"}));
    EXPECT_EQ(prompter_.texts().size(), 2);
  }
  run("INSERT INTO SETGRID (CODICEUTENTE, CODICEPROGETTO, COLORECAMPIINDIC, ABILITARICF5SEMPRE) "
      "VALUES (7, 123, 0, 1)");
  prompter_.reset();
  GridHost host(*database_, kEtichette, "ETICHETTE");
  host.grid.TabellaPiccola = false;
  host.grid.CampiIndicizzati = "ID";
  host.open();
  host.doubleClickTitle("CODICE");
  EXPECT_TRUE(prompter_.texts().isEmpty());
  EXPECT_EQ(host.lastOpened(), with(kEtichette, {"ORDER BY ETICHETTE.CODICE"}));
  EXPECT_EQ(titleColor(host.grid, host.column("ID")), QColor(255, 255, 0))
      << "a stored 0 means yellow";
}

TEST(GridOrderingLines, UnusableKeysAreLeftOutAndTheClauseStillOpensWithOrderBy) {
  grid::GridOrdering ordering;
  ordering.mode = grid::GridOrdering::Multi;
  ordering.ChiaviOrdinamento = {{"GONE", "T.GONE", 0, 1},
                                {"A", "T.A", 1, 2},
                                {"X", "T.X; DROP TABLE T", 2, 1},
                                {"B", "T.B", 3, 1}};
  const QStringList origins{"T.A", "T.B", "T.X; DROP TABLE T"};
  EXPECT_EQ(ordering.orderLines(origins, {}), QStringList({"ORDER BY T.A DESC", ",T.B"}));
  EXPECT_EQ(ordering.searchOrderLines(origins, true, true),
            QStringList({"ORDER BY UPPER(T.A) DESC", ", UPPER(T.B)"}));
  EXPECT_TRUE(ordering.searchOrderLines(origins, false, false).isEmpty());
  // A computed column orders by its expression even though no field has it as origin.
  ordering.ChiaviOrdinamento = {{"TOTALE", "T.QTA*T.PREZZO", 0, 1}};
  EXPECT_EQ(ordering.orderLines({}, {{"TOTALE"}, {"T.QTA*T.PREZZO"}}),
            QStringList({"ORDER BY T.QTA*T.PREZZO"}));
}

TEST_F(OrderingTest, AStatementWithATableAliasOrdersAndSearchesThroughTheAlias) {
  const QStringList aliased{"SELECT E.* FROM ETICHETTE E"};
  GridHost host(*database_, aliased, "ETICHETTE");
  host.open();
  EXPECT_EQ(host.lastOpened(), with(aliased, {"ORDER BY E.ID"}));
  EXPECT_EQ(host.grid.model()->rowCount(), 30);

  host.doubleClickTitle("CODICE");
  host.doubleClickTitle("CODICE");
  EXPECT_EQ(host.lastOpened(), with(aliased, {"ORDER BY E.CODICE DESC"}));
  EXPECT_EQ(codes(), (std::map<QString, int>{{"CODICE", 2}}));
  EXPECT_EQ(storedRows()[2].origine, "ETICHETTE.CODICE") << "the origin is stored as reported";
  host.doubleClickTitle("DESCRIZIONE", Qt::ControlModifier);
  EXPECT_EQ(host.lastOpened(), with(aliased, {"ORDER BY E.CODICE DESC", ",E.DESCRIZIONE"}));

  // A search keeping the stored ordering ("No").
  prompter_.script([](QDialog& dialog) {
    auto& form = dynamic_cast<TRQuovGridForm&>(dialog);
    form.EditTipoRicerca->setItemIndex(grid::ModoInizia);
    form.EditOrdinamento->setItemIndex(grid::OrdineNo);
    QTest::keyClicks(form.EditStringa, "c00");
    QTest::keyClick(form.EditStringa, Qt::Key_Return);
    return 1;
  });
  host.grid.setCurrentIndex(host.grid.model()->index(0, host.column("CODICE")));
  host.grid.RicercaCampoCorrente();
  EXPECT_TRUE(prompter_.messages().empty());
  EXPECT_EQ(host.lastOpened(),
            with(aliased, {"WHERE(UPPER(E.CODICE) LIKE 'C00%')", "ORDER BY UPPER(E.CODICE) DESC",
                           ", UPPER(E.DESCRIZIONE)"}));
  EXPECT_EQ(host.grid.model()->rowCount(), 9);

  // How aliases are found.
  const auto aliases =
      grid::TableAliases::of({"select a.*, e.codice from ACQUISIZIONI AS a", "left join",
                              "etichette e on e.idacquisizione = a.id", "WHERE A.ID > 0"});
  EXPECT_EQ(aliases.qualify("ETICHETTE.CODICE"), "e.CODICE");
  EXPECT_EQ(aliases.qualify("ACQUISIZIONI.ID"), "a.ID");
  EXPECT_EQ(aliases.qualify("LANCISTAMPA.ID"), "LANCISTAMPA.ID");
  EXPECT_EQ(aliases.qualify("UPPER(X)"), "UPPER(X)");
  EXPECT_EQ(grid::TableAliases::of(kEtichette).aliasOf("ETICHETTE"), "");
  EXPECT_EQ(grid::TableAliases::of({"SELECT * FROM ETICHETTE", "ORDER BY ID"}).aliasOf("ETICHETTE"),
            "");
}
