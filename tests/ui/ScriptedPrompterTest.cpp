#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

#include "support/ScriptedUi.h"

namespace {

// A small dialog: a line edit "Name" and a button "Ok" that accepts.
struct NameDialog : QDialog {
  NameDialog() {
    setWindowTitle(QStringLiteral("Nome"));
    auto* name = new QLineEdit(this);
    name->setObjectName(QStringLiteral("Name"));
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("Ok"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  }
};

}  // namespace

TEST(ScriptedPrompterTest, RecordsMessagesAndAnswersFromTheQueue) {
  ScriptedPrompter answers;
  ScopedPrompter installed(answers);
  answers.answer(ui::Ok);
  answers.answer(ui::No);
  answers.answer(ui::Cancel);

  ui::warning(QStringLiteral("Attenzione uno"));
  EXPECT_FALSE(ui::confirm(QStringLiteral("Confermi?")));
  EXPECT_EQ(ui::ask(QStringLiteral("Salvo?"), ui::Yes | ui::No | ui::Cancel), ui::Cancel);
  EXPECT_EQ(ui::ask(QStringLiteral("Riprovo?"), ui::Retry | ui::Cancel), ui::Retry);
  ui::error(QStringLiteral("Errore due"));

  EXPECT_EQ(answers.texts(),
            (QStringList{"Attenzione uno", "Confermi?", "Salvo?", "Riprovo?", "Errore due"}));
  ASSERT_EQ(answers.messages().size(), 5u);
  EXPECT_EQ(answers.messages()[0].kind, ui::MessageKind::Warning);
  EXPECT_EQ(answers.messages()[0].buttons, ui::Ok);
  EXPECT_EQ(answers.messages()[1].kind, ui::MessageKind::Confirmation);
  EXPECT_EQ(answers.messages()[1].buttons, ui::Yes | ui::No);
  EXPECT_EQ(answers.messages()[4].kind, ui::MessageKind::Error);

  EXPECT_EQ(ScriptedPrompter::defaultAnswer(ui::Ok | ui::Cancel), ui::Ok);
  EXPECT_EQ(ScriptedPrompter::defaultAnswer(ui::Yes | ui::No | ui::Cancel), ui::Yes);
  EXPECT_EQ(ScriptedPrompter::defaultAnswer(ui::Abort | ui::Retry | ui::Ignore), ui::Abort);
  EXPECT_EQ(ScriptedPrompter::defaultAnswer(ui::No | ui::Cancel), ui::No);
}

TEST(ScriptedPrompterTest, RunsDialogScriptsShowingTheDialog) {
  ScriptedPrompter answers;
  ScopedPrompter installed(answers);
  answers.script([](QDialog& dialog) {
    EXPECT_TRUE(dialog.isVisible());
    typeInto(dialog, QStringLiteral("Name"), QStringLiteral("Rossi"));
    return clickButton(dialog, QStringLiteral("Ok"));
  });
  answers.script([](QDialog&) { return 7; });  // closed without a button

  NameDialog dialog;
  EXPECT_EQ(ui::runDialog(dialog), QDialog::Accepted);
  EXPECT_EQ(dialog.findChild<QLineEdit*>(QStringLiteral("Name"))->text(), QStringLiteral("Rossi"));
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(ui::runDialog(dialog), 7);
  EXPECT_EQ(dialog.result(), 7);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(answers.dialogs(), (QStringList{"Nome", "Nome"}));
}

TEST(ScriptedPrompterTest, FailsTheTestOnUnexpectedOrMissingQuestions) {
  NameDialog dialog;
  {
    ScriptedPrompter answers;
    ScopedPrompter installed(answers);
    int result = 0;
    EXPECT_NONFATAL_FAILURE(result = ui::runDialog(dialog), "no script for the dialog");
    EXPECT_EQ(result, 2);

    answers.answer(ui::Yes);
    EXPECT_NONFATAL_FAILURE(ui::warning(QStringLiteral("Solo OK")), "is not offered");

    EXPECT_NONFATAL_FAILURE(control<QLineEdit>(dialog, QStringLiteral("Missing")),
                            "no QLineEdit named Missing");
  }
  EXPECT_NONFATAL_FAILURE(
      {
        ScriptedPrompter answers;
        answers.answer(ui::Ok);
        answers.saveFile(QStringLiteral("/tmp/x.csv"));
      },
      "scripted answers never used: 1 message answers, 0 dialog scripts, 0 open files, 1 save");
}

TEST(ScriptedPrompterTest, AnswersChoicesAndCancelsUnscriptedOnes) {
  ScriptedPrompter answers;
  ScopedPrompter installed(answers);
  answers.openFile(QStringLiteral("/data/etichette.txt"));
  answers.color(QColor(Qt::red));
  answers.font(QFont(QStringLiteral("Tahoma"), 8));

  ui::Prompter& p = ui::prompter();
  EXPECT_EQ(p.chooseOpenFile(nullptr, QStringLiteral("Apri"), QStringLiteral("/data"),
                             QStringLiteral("*.txt")),
            QStringLiteral("/data/etichette.txt"));
  EXPECT_EQ(p.chooseOpenFile(nullptr, QStringLiteral("Apri"), {}, {}), QString());
  EXPECT_EQ(p.chooseSaveFile(nullptr, QStringLiteral("Salva"), {}, {}), QString());
  EXPECT_EQ(p.chooseDirectory(nullptr, QStringLiteral("Cartella"), {}), QString());
  EXPECT_EQ(p.chooseColor(nullptr, Qt::black), QColor(Qt::red));
  EXPECT_EQ(p.chooseColor(nullptr, Qt::black), std::nullopt);
  EXPECT_EQ(p.chooseFont(nullptr, QFont())->family(), QStringLiteral("Tahoma"));

  ASSERT_EQ(answers.choices().size(), 7u);
  EXPECT_EQ(answers.choices()[0].kind, ChoiceKind::OpenFile);
  EXPECT_EQ(answers.choices()[0].caption, QStringLiteral("Apri"));
  EXPECT_EQ(answers.choices()[0].dir, QStringLiteral("/data"));
  EXPECT_EQ(answers.choices()[0].filter, QStringLiteral("*.txt"));
  EXPECT_EQ(answers.choices()[3].kind, ChoiceKind::Directory);
  EXPECT_EQ(answers.choices()[6].kind, ChoiceKind::Font);
}

TEST(ScriptedPrompterTest, ScopedPrompterPutsBackThePreviousOne) {
  ScriptedPrompter outer;
  ScopedPrompter outerScope(outer);
  {
    ScriptedPrompter inner;
    ScopedPrompter innerScope(inner);
    ui::information(QStringLiteral("dentro"));
    EXPECT_EQ(inner.texts(), QStringList{QStringLiteral("dentro")});
  }
  ui::information(QStringLiteral("fuori"));
  EXPECT_EQ(outer.texts(), QStringList{QStringLiteral("fuori")});
  EXPECT_EQ(&ui::prompter(), &outer);
}
