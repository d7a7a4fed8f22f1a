#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <vector>

#include "query/designer/BloccaQForm.h"
#include "query/designer/ElabAvanForm.h"
#include "query/model/QueryLock.h"
#include "support/ScriptedUi.h"

namespace {

using namespace query::model;

const QString kStoredKey = CriptaChiave("ABCDEF");

class LockDialogsTest : public ::testing::Test {
 protected:
  // Three fields, then the lock row of `state` (keyed with ABCDEF).
  void fill(LockState state) {
    RiempiTabIntTmp(rows_, {"CODICE", "DESCRIZIONE", "PREZZO"});
    InternalChange change(rows_);
    if (state != LockState::None)
      rows_.append(kLockName, Mostra::Lock, state == LockState::Keyed ? kStoredKey : QString());
    flags_.locked = state != LockState::None;
  }

  ScriptedPrompter answers_;
  ScopedPrompter installed_{answers_};
  RowList rows_;
  DesignerFlags flags_;
};

TEST_F(LockDialogsTest, AdvancedWindowChecksTheFlagsBeforeReturningItsCommand) {
  struct Case {
    bool locked;
    bool sideBySide;
    const char* button;
    QString command;  // empty: refused (window open) or closed without one
    QString message;
  };
  const QString refused = QStringLiteral("Attenzione: operazione non possibile, ");
  const std::vector<Case> cases = {
      {false, false, "ButtonCampiVisibili", "CampiVisibili", ""},
      {true, false, "ButtonCampiVisibili", "", refused + "la Query è bloccata!"},
      {true, false, "ButtonBloccaQuery", "BloccaQuery", ""},
      {true, true, "ButtonBloccaQuery", "", refused + "la Query è affiancata!"},
      {false, false, "ButtonAggiungiQueryAffiancata", "",
       refused + "la Query deve essere bloccata!"},
      {true, true, "ButtonAggiungiQueryAffiancata", "QueryAffiancata", ""},
      {true, false, "ButtonTogliQueryAffiancata", "",
       refused + "la Query deve avere almeno un affiancamento!"},
      {true, true, "ButtonTogliQueryAffiancata", "TogliQueryAffiancata", ""},
      {true, true, "ButtonPassaPrecedente", "", refused + "la Query non è successiva!"},
      {false, false, "ButtonPassaSuccessiva", "PassaSuccessiva", ""},
      {true, true, "ButtonEliminaSuccessiva", "", refused + "nessuna query successiva presente!"},
      {true, true, "ButtonChiudi", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.button);
    answers_.reset();
    TElabAvanForm window(c.locked, c.sideBySide, "DEMO");
    EXPECT_EQ(window.windowTitle(), "Elaborazioni avanzate - Ditta: DEMO");
    window.show();
    control<QPushButton>(window, c.button)->click();
    EXPECT_EQ(window.command(), c.command);
    EXPECT_EQ(window.isVisible(), !c.message.isEmpty());
    EXPECT_EQ(answers_.texts(), c.message.isEmpty() ? QStringList() : QStringList{c.message});
  }
}

TEST_F(LockDialogsTest, OpensOnTheLockTheRowsHold) {
  for (LockState state : {LockState::None, LockState::Simple, LockState::Keyed}) {
    SCOPED_TRACE(static_cast<int>(state));
    fill(state);
    TBloccaQForm window(rows_, flags_, "DEMO");
    window.show();
    EXPECT_EQ(window.windowTitle(), "Elaborazione Blocco/Sblocco query - Ditta: DEMO");
    EXPECT_EQ(window.CheckBloccata()->isChecked(), state != LockState::None);
    EXPECT_EQ(window.CheckBloccata()->isEnabled(), state != LockState::Keyed);
    EXPECT_EQ(window.CheckChiave()->isVisible(), state != LockState::None);
    EXPECT_EQ(window.CheckChiave()->isChecked(), state == LockState::Keyed);
    EXPECT_EQ(window.CheckChiave()->isEnabled(), state != LockState::Keyed);
    EXPECT_EQ(window.PanelChiave()->isVisible(), state == LockState::Keyed);
  }
}

TEST_F(LockDialogsTest, BoxesShowTheKeyPanelAndANewKeyLocks) {
  fill(LockState::None);
  TBloccaQForm window(rows_, flags_, "DEMO");
  window.show();
  window.CheckBloccata()->click();
  EXPECT_TRUE(window.CheckChiave()->isVisible());
  window.CheckChiave()->click();
  EXPECT_TRUE(window.PanelChiave()->isVisible());
  EXPECT_FALSE(window.CheckBloccata()->isEnabled());

  // Five and six equal characters are refused when accepting and on OK.
  typeInto(window, "EditChiave", "QWERT");
  window.ButtonAccettaChiave()->click();
  typeInto(window, "EditChiave", "QQQQQQ");
  window.ButtonAccettaChiave()->click();
  typeInto(window, "EditChiave", "QQQQQQQ");  // the box takes six
  EXPECT_EQ(window.EditChiave()->text(), "QQQQQQ");
  EXPECT_EQ(clickButton(window, "ButtonOk"), ui::ResultCancel);
  EXPECT_EQ(
      answers_.texts(),
      (QStringList{"La chiave inserita deve essere composta da sei caratteri!",
                   "Impossibile inserire una chiave con tutti i caratteri uguali!", kKeyNotValid}));
  EXPECT_EQ(rows_.count(), 3);
  EXPECT_FALSE(flags_.locked);

  answers_.reset();
  TBloccaQForm again(rows_, flags_, "DEMO");
  again.show();
  again.CheckBloccata()->click();
  again.CheckChiave()->click();
  typeInto(again, "EditChiave", "ABCDEF");
  again.ButtonAccettaChiave()->click();
  EXPECT_EQ(clickButton(again, "ButtonOk"), ui::ResultOk);
  EXPECT_EQ(answers_.texts(), QStringList{"Nuova chiave corretta"});
  EXPECT_EQ(rows_.at(3), (Row{4, kLockName, Mostra::Lock, kStoredKey}));
  EXPECT_TRUE(flags_.locked);
}

TEST_F(LockDialogsTest, KeyedLockNeedsItsKeyBeforeItIsLifted) {
  fill(LockState::Keyed);
  {
    TBloccaQForm window(rows_, flags_, "DEMO");
    window.show();
    typeInto(window, "EditChiave", "QWERTY");
    window.ButtonAccettaChiave()->click();
    EXPECT_FALSE(window.CheckChiave()->isEnabled());
    // Unlocking is tried anyway: the boxes are unchecked by code.
    window.CheckChiave()->setChecked(false);
    window.CheckBloccata()->setChecked(false);
    EXPECT_EQ(clickButton(window, "ButtonOk"), ui::ResultCancel);
    EXPECT_EQ(answers_.texts(), (QStringList{"Chiave Errata", kKeyNotValid}));
    EXPECT_EQ(currentLock(rows_).state, LockState::Keyed);
    EXPECT_TRUE(flags_.locked);
  }
  answers_.reset();
  TBloccaQForm window(rows_, flags_, "DEMO");
  window.show();
  typeInto(window, "EditChiave", "ABCDEF");
  window.ButtonAccettaChiave()->click();
  EXPECT_TRUE(answers_.texts().isEmpty());
  EXPECT_TRUE(window.EditChiave()->isReadOnly());
  EXPECT_FALSE(window.ButtonAccettaChiave()->isEnabled());
  ASSERT_TRUE(window.CheckChiave()->isEnabled());
  window.CheckChiave()->click();
  EXPECT_TRUE(window.CheckBloccata()->isEnabled());
  window.CheckBloccata()->click();
  EXPECT_EQ(clickButton(window, "ButtonOk"), ui::ResultOk);
  EXPECT_EQ(rows_.count(), 3);
  EXPECT_FALSE(flags_.locked);
}

}  // namespace
