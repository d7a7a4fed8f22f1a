#include <gtest/gtest.h>

#include <QCheckBox>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <memory>

#include "db/Database.h"
#include "db/Transaction.h"
#include "query/designer/IBCamVisForm.h"
#include "query/designer/IBLQueryForm.h"
#include "support/FirebirdFixture.h"
#include "support/ScriptedUi.h"

namespace {

using query::model::Row;
namespace Mostra = query::model::Mostra;

const QString kRefused = QStringLiteral("Attenzione: operazione non possibile, ");

class ElabAvanzateTest : public FirebirdTest {
 protected:
  void SetUp() override {
    database_ = createDatabase();
    execute(*database_, {"CREATE TABLE ETICHETTE (ID INTEGER, CODICE VARCHAR(20), QTA INTEGER)"});
    transaction_ = std::make_unique<db::Transaction>(
        *database_, QStringList{"isc_tpb_concurrency", "isc_tpb_nowait"});
    form_ = std::make_unique<TIBLQueryForm>(
        *database_, *transaction_,
        query::designer::DesignerSettings{"ETICHETTE", "C:\\bin\\", "C:\\lavoro\\", 0, "DEMO"});
    form_->show();
  }

  // Opens the advanced window and clicks `button` in it; a refused button
  // leaves the window open, which is then closed. `then` drives the window
  // the command opens.
  void advanced(const QString& button, ScriptedPrompter::DialogScript then = {}) {
    prompter_.script([button](QDialog& window) {
      EXPECT_EQ(window.windowTitle(), "Elaborazioni avanzate - Ditta: DEMO");
      EXPECT_EQ(control<QPushButton>(window, "ButtonAggiungiQueryAffiancata")->text(),
                "Affiancamento tramite UNION");
      control<QPushButton>(window, button)->click();
      if (window.isVisible()) control<QPushButton>(window, "ButtonChiudi")->click();
      return window.result();
    });
    if (then) prompter_.script(std::move(then));
    form_->ButtonElabAvanzateClick();
  }

  query::model::RowList& rows() { return form_->TabIntTmp(); }
  int currentRow() { return control<QTableView>(*form_, "GridQuery")->currentIndex().row(); }

  std::unique_ptr<db::Database> database_;
  std::unique_ptr<db::Transaction> transaction_;
  ScriptedPrompter prompter_;
  ScopedPrompter installed_{prompter_};
  std::unique_ptr<TIBLQueryForm> form_;
};

TEST_F(ElabAvanzateTest, VisibleFieldsRebuildTheRowsWhileTheyAreHeld) {
  bool held = false;
  advanced("ButtonCampiVisibili", [&](QDialog& window) {
    held = rows().internalChange();
    EXPECT_NE(qobject_cast<TIBCamVisForm*>(&window), nullptr);
    return 2;
  });
  EXPECT_TRUE(held);
  EXPECT_FALSE(rows().internalChange());
  EXPECT_EQ(rows().count(), 3) << "closed without updating: the rows stay";
}

TEST_F(ElabAvanzateTest, LockAddAndRemovePartsThroughTheAdvancedWindow) {
  {
    query::model::InternalChange change(rows());
    rows().setMostra(2, Mostra::Hidden);
  }
  advanced("ButtonBloccaQuery", [this](QDialog& window) {
    // The rows are held for the lock window while it is open.
    EXPECT_TRUE(rows().internalChange());
    control<QCheckBox>(window, "CheckBloccata")->click();
    return clickButton(window, "ButtonOk");
  });
  EXPECT_FALSE(rows().internalChange());
  EXPECT_TRUE(form_->flags().locked);
  ASSERT_EQ(rows().count(), 4);
  EXPECT_EQ(rows().at(3), (Row{4, "QUERY BLOCCATA", Mostra::Lock, ""}));
  EXPECT_EQ(currentRow(), 3);

  advanced("ButtonCampiVisibili");
  EXPECT_EQ(prompter_.texts(),
            QStringList{"Attenzione: operazione non possibile, la Query è bloccata!"});

  prompter_.reset();
  advanced("ButtonAggiungiQueryAffiancata");
  advanced("ButtonAggiungiQueryAffiancata");
  EXPECT_TRUE(prompter_.texts().isEmpty());
  EXPECT_TRUE(form_->flags().sideBySide);
  ASSERT_EQ(rows().count(), 14);
  EXPECT_EQ(rows().at(4), (Row{5, "ETICHETTE", Mostra::LeftJoin, "UNION"}));
  EXPECT_EQ(rows().at(8), (Row{9, "QUERY BLOCCATA", Mostra::Lock, "UNION"}));

  // A query with parts can't be unlocked.
  advanced("ButtonBloccaQuery");
  EXPECT_EQ(prompter_.texts(), QStringList{kRefused + "la Query è affiancata!"});

  // Cancel keeps the part; OK removes it, the other part staying.
  prompter_.reset();
  prompter_.answer(ui::Cancel);
  advanced("ButtonTogliQueryAffiancata");
  EXPECT_EQ(rows().count(), 14);
  prompter_.answer(ui::Ok);
  advanced("ButtonTogliQueryAffiancata");
  EXPECT_EQ(prompter_.texts(), (QStringList{"Elimino l'ultima query affiancata?",
                                            "Elimino l'ultima query affiancata?"}));
  EXPECT_EQ(rows().count(), 9);
  EXPECT_TRUE(form_->flags().sideBySide);
  EXPECT_EQ(rows().at(0).mostra, Mostra::Frozen);

  prompter_.reset();
  advanced("ButtonPassaSuccessiva");
  EXPECT_EQ(prompter_.texts(),
            QStringList{"Operazione possibile solo in modalità Archivio Storico"});
}

}  // namespace
