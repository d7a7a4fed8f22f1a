#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "GridFixture.h"
#include "grid/GridModel.h"
#include "grid/RQuovGridForm.h"
#include "grid/RadioGroup.h"
#include "grid/SearchCondition.h"
#include "ui/EditData.h"

namespace {

const QStringList kMovimenti{"SELECT * FROM MOVIMENTI"};

class SearchTest : public GridTest {
 protected:
  void timerOff() {
    run("INSERT INTO SETGRID (CODICEUTENTE, CODICEPROGETTO, ABILITATIMERRIC) VALUES (7, 123, 0)");
  }
  // Opens the search window on a column of the host's grid and runs the script in it.
  void search(GridHost& host, const QString& field, std::function<int(TRQuovGridForm&)> script) {
    host.grid.setCurrentIndex(host.grid.model()->index(0, host.column(field)));
    prompter_.script(
        [script](QDialog& dialog) { return script(dynamic_cast<TRQuovGridForm&>(dialog)); });
    host.grid.RicercaCampoCorrente();
  }
};

void press(QWidget* box, Qt::Key key) {
  QTest::keyClick(box, key);
}

}  // namespace

TEST_F(SearchTest, TextSearchLinesForEachModeUpperAndOrdering) {
  timerOff();
  GridHost host(*database_, kMovimenti, "MOVIMENTI");
  host.open();
  int ends = 0;
  host.grid.OnFineRicerca = [&](QObject*) { ++ends; };
  search(host, "CODICE", [&](TRQuovGridForm& form) {
    EXPECT_EQ(form.windowTitle(), "Ricerca su CODICE");
    EXPECT_TRUE(form.EditGenerica->isEnabled());
    EXPECT_EQ(form.EditTipoRicerca->ItemIndex(), 0);
    EXPECT_EQ(form.EditOrdinamento->ItemIndex(), 1);
    EXPECT_TRUE(form.EditUpper->isChecked());
    form.EditTipoRicerca->setItemIndex(grid::ModoContiene);
    QTest::keyClicks(form.EditStringa, "ab");
    EXPECT_EQ(host.lastOpened(), with(kMovimenti, {"WHERE(UPPER(MOVIMENTI.CODICE) LIKE '%AB%')",
                                                   "ORDER BY UPPER(MOVIMENTI.CODICE)"}));
    EXPECT_EQ(host.grid.model()->rowCount(), 2);
    EXPECT_EQ(host.grid.currentIndex().column(), host.column("CODICE"))
        << "the search column stays selected";
    EXPECT_EQ(host.saves, 0) << "no layout save while searching";

    const auto again = [&](int mode, bool upper, int order) {
      form.EditTipoRicerca->setItemIndex(mode);
      form.EditUpper->setChecked(upper);
      form.EditOrdinamento->setItemIndex(order);
      form.ButtonAggRete->click();
      return host.lastOpened().mid(1);
    };
    EXPECT_EQ(again(grid::ModoContiene, true, grid::OrdineDecres),
              QStringList({"WHERE(UPPER(MOVIMENTI.CODICE) LIKE '%AB%')",
                           "ORDER BY UPPER(MOVIMENTI.CODICE) DESC"}));
    EXPECT_EQ(
        again(grid::ModoContiene, false, grid::OrdineDecres),
        QStringList({"WHERE(MOVIMENTI.CODICE LIKE '%ab%')", "ORDER BY MOVIMENTI.CODICE DESC"}));
    EXPECT_EQ(again(grid::ModoInizia, false, grid::OrdineCresc),
              QStringList({"WHERE(MOVIMENTI.CODICE LIKE 'ab%')", "ORDER BY MOVIMENTI.CODICE"}));
    EXPECT_EQ(again(grid::ModoMaggiore, true, grid::OrdineNo),
              QStringList({"WHERE(UPPER(MOVIMENTI.CODICE) >= 'AB')"}))
        << "no stored key: no ordering while the window is open";
    press(form.EditStringa, Qt::Key_Return);
    EXPECT_FALSE(form.isVisible());
    return 1;
  });
  EXPECT_EQ(ends, 2) << "Enter ends the search, and so does the window closing";
  EXPECT_EQ(host.grid.CondizioneRicerca(), "WHERE(UPPER(MOVIMENTI.CODICE) >= 'AB')");
  host.open();
  EXPECT_EQ(host.lastOpened(),
            with(kMovimenti, {"WHERE(UPPER(MOVIMENTI.CODICE) >= 'AB')", "ORDER BY MOVIMENTI.ID"}))
      << "the host's reopening keeps the search";

  // A statement with a WHERE gets "AND"; "No" keeps the stored key's ordering.
  GridHost filtered(*database_, {"SELECT * FROM MOVIMENTI WHERE QTA > 0"}, "MOVIMENTI", 8);
  filtered.open();
  filtered.doubleClickTitle("CODICE");
  search(filtered, "CODICE", [&](TRQuovGridForm& form) {
    form.EditOrdinamento->setItemIndex(grid::OrdineNo);
    QTest::keyClicks(form.EditStringa, "x");
    press(form.EditStringa, Qt::Key_Return);
    return 1;
  });
  EXPECT_EQ(filtered.lastOpened(), QStringList({"SELECT * FROM MOVIMENTI WHERE QTA > 0",
                                                "AND(UPPER(MOVIMENTI.CODICE) >= 'X')",
                                                "ORDER BY UPPER(MOVIMENTI.CODICE)"}));
}

TEST_F(SearchTest, NumberAndDateFieldsAndQuotesAndWildcardsTypedByTheUser) {
  timerOff();
  run("INSERT INTO STOPOS1 (CODICESITUAZIONE, CODICEUTENTE, CODICEPROGETTO, POSX, POSY, INFO1, "
      "INFO3, INFO4) VALUES (1, 7, 123, 10, 20, 1, 2, 1)");
  run("INSERT INTO MOVIMENTI VALUES (4, '5%_x', 1, NULL, NULL)");
  run("INSERT INTO MOVIMENTI VALUES (5, '5abx', 1, NULL, NULL)");
  GridHost host(*database_, kMovimenti, "MOVIMENTI");
  host.open();

  search(host, "QTA", [&](TRQuovGridForm& form) {
    EXPECT_EQ(form.EditTipoRicerca->items(), QStringList({">=", "LIKE %%"}));
    EXPECT_EQ(form.EditTipoRicerca->ItemIndex(), 1) << "a remembered LIKE % becomes LIKE %%";
    QTest::keyClicks(form.EditStringa, "5");
    EXPECT_EQ(host.lastOpened(),
              with(kMovimenti, {"WHERE(MOVIMENTI.QTA LIKE '%5%')", "ORDER BY MOVIMENTI.QTA"}));
    press(form.EditStringa, Qt::Key_Escape);
    return 2;
  });

  search(host, "DATA", [&](TRQuovGridForm& form) {
    EXPECT_FALSE(form.EditStringa->isVisibleTo(&form));
    EXPECT_TRUE(form.EditData1->isVisibleTo(&form));
    EXPECT_TRUE(form.EditData2->isVisibleTo(&form));
    EXPECT_TRUE(form.Label2->isVisibleTo(&form));
    EXPECT_FALSE(form.EditTipoRicerca->isVisibleTo(&form));
    EXPECT_EQ(form.Label1->text(), "Inserisci una data compresa tra:");
    const auto opened = host.opened.size();
    QTest::keyClicks(form.EditData1, "31/01/20");
    form.ButtonAggRete->click();
    EXPECT_EQ(host.opened.size(), opened) << "an incomplete date searches nothing";
    QTest::keyClicks(form.EditData1, "24");
    form.ButtonAggRete->click();
    EXPECT_EQ(host.lastOpened(), with(kMovimenti, {"WHERE(MOVIMENTI.DATA >= '01/31/2024')",
                                                   "ORDER BY MOVIMENTI.DATA"}));
    form.EditData2->setText("28/02/2024");
    press(form.EditData2, Qt::Key_Return);
    return 1;
  });
  EXPECT_EQ(host.grid.CondizioneRicerca(),
            "WHERE(MOVIMENTI.DATA >= '01/31/2024')AND(MOVIMENTI.DATA <= '02/28/2024')");
  EXPECT_EQ(host.grid.model()->rowCount(), 1);

  search(host, "FOTO", [&](TRQuovGridForm& form) {
    EXPECT_FALSE(form.EditUpper->isEnabled());
    return 2;
  });

  search(host, "CODICE", [&](TRQuovGridForm& form) {
    form.EditTipoRicerca->setItemIndex(grid::ModoInizia);
    QTest::keyClicks(form.EditStringa, "a'b");
    EXPECT_EQ(form.EditStringa->text(), QString::fromUtf8("a´b"));
    EXPECT_EQ(host.lastOpened()[1],
              QString::fromUtf8("WHERE(UPPER(MOVIMENTI.CODICE) LIKE 'A´B%')"));
    form.EditStringa->clear();
    QTest::keyClicks(form.EditStringa, "5%_");
    EXPECT_EQ(host.lastOpened()[1], "WHERE(UPPER(MOVIMENTI.CODICE) LIKE '5\\%\\_%' ESCAPE '\\')");
    EXPECT_EQ(host.grid.model()->rowCount(), 1) << "the wildcards match themselves";
    form.EditTipoRicerca->setItemIndex(grid::ModoMaggiore);
    form.EditStringa->setText("x' OR 1=1 --");
    EXPECT_EQ(host.lastOpened()[1], "WHERE(UPPER(MOVIMENTI.CODICE) >= 'X'' OR 1=1 --')");
    return 2;
  });
}

TEST_F(SearchTest, WithTheTimerFourQuickKeystrokesRunOneSearch) {
  const auto searches = [this] {
    int count = 0;
    for (const QStringList& lines : takeStatements("SELECT * FROM MOVIMENTI"))
      if (lines.size() > 1 && lines[1].startsWith("WHERE(")) ++count;
    return count;
  };
  {
    GridHost host(*database_, kMovimenti, "MOVIMENTI");
    host.open();
    EXPECT_TRUE(host.grid.impostazioni().abilitaTimerRic) << "no settings row: timer on";
    search(host, "CODICE", [&](TRQuovGridForm& form) {
      takeStatements({});
      QTest::keyClicks(form.EditStringa, "abcd", {}, 50);
      QTest::qWait(600);
      EXPECT_EQ(searches(), 0) << "less than a second since the last keystroke";
      QTest::qWait(700);
      EXPECT_EQ(searches(), 1);
      EXPECT_EQ(host.lastOpened()[1], "WHERE(UPPER(MOVIMENTI.CODICE) >= 'ABCD')");
      return 2;
    });
  }
  timerOff();
  GridHost host(*database_, kMovimenti, "MOVIMENTI");
  host.open();
  EXPECT_FALSE(host.grid.impostazioni().abilitaTimerRic);
  search(host, "CODICE", [&](TRQuovGridForm& form) {
    takeStatements({});
    QTest::keyClicks(form.EditStringa, "abcd");
    EXPECT_EQ(searches(), 4);
    return 2;
  });
}

TEST_F(SearchTest, AllColumnsSearchAndItsSwitch) {
  GridHost host(*database_, kMovimenti, "MOVIMENTI");
  host.open();
  search(host, "CODICE", [&](TRQuovGridForm& form) {
    QTest::keyClicks(form.EditStringa, "x");
    QTest::qWait(1200);
    EXPECT_FALSE(host.grid.CondizioneRicerca().isEmpty());
    form.EditGenerica->setChecked(true);
    EXPECT_EQ(form.windowTitle(), "Ricerca su TUTTI i campi");
    EXPECT_TRUE(form.ButtonEsegui->isEnabled());
    EXPECT_FALSE(form.EditTipoRicerca->isEnabled());
    EXPECT_FALSE(form.EditUpper->isEnabled());
    EXPECT_FALSE(form.EditOrdinamento->isEnabled());
    const auto opened = host.opened.size();
    form.EditStringa->setText("ab");
    QTest::qWait(1200);
    EXPECT_EQ(host.opened.size(), opened) << "typing does not search in this mode";
    form.ButtonEsegui->click();
    EXPECT_EQ(host.lastOpened(),
              with(kMovimenti, {"WHERE(", "(ID CONTAINING 'AB')", "OR(CODICE CONTAINING 'AB')",
                                "OR(QTA CONTAINING 'AB')", "OR(DATA CONTAINING 'AB')",
                                "OR(FOTO CONTAINING 'AB')", ")"}));
    EXPECT_TRUE(host.grid.CondizioneRicerca().isEmpty());
    EXPECT_EQ(host.grid.model()->rowCount(), 2);
    form.EditGenerica->setChecked(false);
    EXPECT_EQ(form.windowTitle(), "Ricerca su CODICE");
    EXPECT_FALSE(form.ButtonEsegui->isEnabled());
    EXPECT_TRUE(form.EditUpper->isEnabled());
    return 2;
  });
  EXPECT_TRUE(grid::allColumnsCondition({"SELECT * FROM T", "WHERE A=1"}, {"A", "B C"}, "o'k")
                  .startsWith("AND("));
  EXPECT_EQ(grid::allColumnsCondition({"SELECT * FROM T"}, {"A", "B C"}, "o'k"),
            QStringList({"WHERE(", "(A CONTAINING 'o''k')", ")"}));
}

TEST_F(SearchTest, F6AndEscapeGiveBackTheInitialStatement) {
  timerOff();
  GridHost host(*database_, kMovimenti, "MOVIMENTI");
  host.open();
  search(host, "CODICE", [&](TRQuovGridForm& form) {
    QTest::keyClicks(form.EditStringa, "ab");
    press(form.EditStringa, Qt::Key_Return);
    return 1;
  });
  host.open();
  EXPECT_EQ(host.lastOpened().size(), 3u);

  int starts = 0, ends = 0;
  host.grid.OnInizioRicerca = [&](QObject*) { ++starts; };
  host.grid.OnFineRicerca = [&](QObject*) { ++ends; };
  host.grid.AnnullaRicerca();
  EXPECT_EQ(host.lastOpened(), with(kMovimenti, {"ORDER BY MOVIMENTI.ID"}));
  EXPECT_TRUE(host.grid.CondizioneRicerca().isEmpty());
  EXPECT_EQ(starts, 1);
  EXPECT_EQ(ends, 1);

  search(host, "CODICE", [&](TRQuovGridForm& form) {
    QTest::keyClicks(form.EditStringa, "ab");
    press(form.EditStringa, Qt::Key_Escape);
    EXPECT_FALSE(form.isVisible());
    return 2;
  });
  EXPECT_EQ(host.lastOpened(), kMovimenti) << "no ordering while the window counts as open";
  EXPECT_TRUE(host.grid.CondizioneRicerca().isEmpty());
  host.open();
  EXPECT_EQ(host.lastOpened(), with(kMovimenti, {"ORDER BY MOVIMENTI.ID"}));
}

TEST_F(SearchTest, ARejectedSearchKeepsTheWindowOpenTheLayoutStoredAndEndsTheSearch) {
  GridHost host(*database_, kEtichette, "ETICHETTE");
  host.open();
  host.grid.SalvaAspettoColonne();
  ASSERT_EQ(storedRows().size(), 17u);
  int starts = 0, ends = 0;
  host.grid.OnInizioRicerca = [&](QObject*) {
    ++starts;
    host.searching = 1;
  };
  host.grid.OnFineRicerca = [&](QObject*) {
    ++ends;
    host.searching = 0;
  };

  // A number column, ">=", a value the column's type rejects, Enter.
  search(host, "ID", [&](TRQuovGridForm& form) {
    form.EditTipoRicerca->setItemIndex(grid::ModoMaggiore);
    QTest::keyClicks(form.EditStringa, "x");
    press(form.EditStringa, Qt::Key_Return);
    EXPECT_TRUE(form.isVisible()) << "the window stays open for a correction";
    EXPECT_EQ(prompter_.messages().size(), 1u);
    EXPECT_EQ(ends, 0) << "the search is still running";
    EXPECT_TRUE(host.grid.CondizioneRicerca().isEmpty()) << "the rejected condition is dropped";
    EXPECT_FALSE(host.query.isActive());
    EXPECT_TRUE(host.grid.colonne().empty());
    host.grid.SalvaAspettoColonne();
    EXPECT_EQ(storedRows().size(), 17u) << "a closed grid saves nothing";

    // A correction that works.
    form.EditStringa->setText("25");
    press(form.EditStringa, Qt::Key_Return);
    EXPECT_FALSE(form.isVisible());
    return 1;
  });
  EXPECT_EQ(prompter_.messages().size(), 1u);
  EXPECT_EQ(starts, 1);
  EXPECT_EQ(ends, 2) << "Enter ends the search, and so does the window closing";
  EXPECT_EQ(host.grid.CondizioneRicerca(), "AND(ETICHETTE.ID >= '25')");
  EXPECT_EQ(host.grid.model()->rowCount(), 6);

  // Rejected again, then the window is closed without Escape: the grid shows
  // the search still in force, and closing the host keeps the layout.
  search(host, "ID", [&](TRQuovGridForm& form) {
    form.EditStringa->setText("y");
    press(form.EditStringa, Qt::Key_Return);
    EXPECT_EQ(prompter_.messages().size(), 2u);
    return 2;
  });
  EXPECT_EQ(starts, 2);
  EXPECT_EQ(ends, 3) << "ended once, as the window closed";
  EXPECT_TRUE(host.query.isActive());
  EXPECT_EQ(host.grid.CondizioneRicerca(), "AND(ETICHETTE.ID >= '25')");
  EXPECT_EQ(host.grid.model()->rowCount(), 6);
  host.query.close();
  EXPECT_EQ(storedRows().size(), 17u);

  // Commands that fail before the window opens, or while removing the
  // search, still end the search.
  host.open();
  run("DROP TABLE STOASP1");
  prompter_.reset();
  host.grid.setCurrentIndex(host.grid.model()->index(0, host.column("ID")));
  host.grid.azioniMenu()[0]->trigger();
  EXPECT_EQ(prompter_.messages().size(), 1u);
  EXPECT_EQ(starts, 3);
  EXPECT_EQ(ends, 4);
  host.grid.azioniMenu()[1]->trigger();
  EXPECT_EQ(prompter_.messages().size(), 2u);
  EXPECT_EQ(starts, 4);
  EXPECT_EQ(ends, 5);
  EXPECT_EQ(host.searching, 0);
}

TEST_F(SearchTest, TheWindowRemembersItsPositionAndOptions) {
  GridHost host(*database_, kMovimenti, "MOVIMENTI");
  host.open();
  search(host, "CODICE", [&](TRQuovGridForm& form) {
    form.move(120, 80);
    form.EditUpper->setChecked(false);
    form.EditTipoRicerca->setItemIndex(2);
    form.EditOrdinamento->setItemIndex(0);
    return 2;
  });
  db::Transaction transaction(*database_);
  db::Query stored(*database_, transaction);
  stored.sql << "SELECT POSX, POSY, INFO1, INFO3, INFO4 FROM STOPOS1";
  stored.open();
  EXPECT_EQ(stored.recordCount(), 1);
  EXPECT_EQ(stored.value("POSX").toInt(), 120);
  EXPECT_EQ(stored.value("POSY").toInt(), 80);
  EXPECT_EQ(stored.value("INFO1").toInt(), 0);
  EXPECT_EQ(stored.value("INFO3").toInt(), 2);
  EXPECT_EQ(stored.value("INFO4").toInt(), 0);
  stored.close();

  takeStatements({});
  search(host, "CODICE", [&](TRQuovGridForm& form) {
    EXPECT_EQ(form.pos(), QPoint(120, 80));
    EXPECT_FALSE(form.EditUpper->isChecked());
    EXPECT_EQ(form.EditTipoRicerca->ItemIndex(), 2);
    EXPECT_EQ(form.EditOrdinamento->ItemIndex(), 0);
    return 2;
  });
  EXPECT_TRUE(takeStatements("UPDATE").empty()) << "an unchanged position is not rewritten";
}

TEST(SearchLines, ConditionAndOrderingLinesByFieldClass) {
  grid::SearchRequest text;
  text.keyword = grid::searchKeyword({"SELECT * FROM ETICHETTE E"});
  text.expression = "E.CODICE";
  text.text = "ab";
  text.mode = grid::ModoContiene;
  EXPECT_EQ(grid::conditionLine(text), "WHERE(UPPER(E.CODICE) LIKE '%AB%')");
  EXPECT_EQ(grid::searchOrderLine(text), "ORDER BY UPPER(E.CODICE)");
  text.order = grid::OrdineDecres;
  EXPECT_EQ(grid::searchOrderLine(text), "ORDER BY UPPER(E.CODICE) DESC");
  text.upper = false;
  EXPECT_EQ(grid::conditionLine(text), "WHERE(E.CODICE LIKE '%ab%')");
  EXPECT_EQ(grid::searchOrderLine(text), "ORDER BY E.CODICE DESC");
  text.order = grid::OrdineNo;
  EXPECT_TRUE(grid::searchOrderLine(text).isEmpty());
  text.text.clear();
  EXPECT_TRUE(grid::conditionLine(text).isEmpty()) << "nothing typed, no condition";

  grid::SearchRequest number = text;
  number.keyword = grid::searchKeyword({"SELECT * FROM ETICHETTE E", "where E.ID > 0"});
  number.fieldClass = grid::fieldClassOf(db::FieldType::Integer);
  number.expression = "E.ID";
  number.text = "1_";
  number.upper = true;
  number.mode = grid::ModoMaggiore;
  EXPECT_EQ(grid::conditionLine(number), "AND(E.ID >= '1_')") << "no escaping outside LIKE";
  number.order = grid::OrdineCresc;
  EXPECT_EQ(grid::searchOrderLine(number), "ORDER BY E.ID") << "numbers are never upper-cased";

  grid::SearchRequest date;
  date.keyword = "WHERE";
  date.fieldClass = grid::fieldClassOf(db::FieldType::Date);
  date.expression = "E.DATA";
  date.firstDate = QDate(2024, 1, 31);
  EXPECT_EQ(grid::conditionLine(date), "WHERE(E.DATA >= '01/31/2024')");
  EXPECT_EQ(grid::fieldClassOf(db::FieldType::Blob), grid::FieldClass::Blob);
  EXPECT_EQ(grid::fieldClassOf(db::FieldType::Memo), grid::FieldClass::Text);

  EXPECT_TRUE(grid::filterAccepts("Giacca", "GIA", true, grid::ModoInizia));
  EXPECT_FALSE(grid::filterAccepts("Giacca", "GIA", false, grid::ModoInizia));
  EXPECT_TRUE(grid::filterAccepts("abito", "B", true, grid::ModoContiene));
  EXPECT_TRUE(grid::filterAccepts("M", "L", false, grid::ModoMaggiore));
  EXPECT_FALSE(grid::filterAccepts("A", "L", false, grid::ModoMaggiore));
}
