#pragma once

#include <gtest/gtest.h>
#include <QColor>
#include <QDialog>
#include <QFont>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "support/QtPrinters.h"
#include "ui/Prompter.h"

// A message box as the code under test showed it.
struct RecordedMessage {
  ui::MessageKind kind;
  QString text;
  ui::Buttons buttons;
  QString caption;
};

// A file, directory, colour or font question as the code under test asked it.
enum class ChoiceKind { OpenFile, SaveFile, Directory, Color, Font };

struct RecordedChoice {
  ChoiceKind kind;
  QString caption;  // empty for colour and font
  QString dir;
  QString filter;
};

// The prompter tests install instead of real dialogs. It records every
// message and every question in order and answers from queues the test fills
// beforehand, each queue consumed front first:
//
//  - message boxes: the queued buttons. With the queue empty the box's
//    default button answers, the one Enter would press, which is the first
//    of the box: the first offered of Ok, Yes, Abort, Retry, Ignore, No,
//    Cancel. A queued answer that the box does not offer fails the current
//    test.
//  - modal dialogs (runDialog): the queued scripts. The dialog is shown (not
//    modally), then the script receives it, fills its controls (found by
//    object name) and returns the result code, usually by clicking a button;
//    a dialog still open afterwards is closed with done(code), and result()
//    is the code in any case.
//    With the queue empty the current test fails and the result is 2, the
//    Cancel of the input dialogs.
//  - file, directory, colour and font choices: the queued values; with the
//    queue empty the user is taken to cancel (empty path, nullopt).
//
// Answers still queued when the prompter is destroyed fail the current test:
// a question the test expected was never asked.
class ScriptedPrompter : public ui::Prompter {
 public:
  using DialogScript = std::function<int(QDialog&)>;

  ScriptedPrompter() = default;
  ~ScriptedPrompter() override;
  ScriptedPrompter(const ScriptedPrompter&) = delete;
  ScriptedPrompter& operator=(const ScriptedPrompter&) = delete;

  void answer(ui::Button button) { answers_.push_back(button); }
  void script(DialogScript script) { scripts_.push_back(std::move(script)); }
  void openFile(const QString& path) { openFiles_.push_back(path); }
  void saveFile(const QString& path) { saveFiles_.push_back(path); }
  void directory(const QString& path) { directories_.push_back(path); }
  void color(std::optional<QColor> color) { colors_.push_back(color); }
  void font(std::optional<QFont> font) { fonts_.push_back(std::move(font)); }

  const std::vector<RecordedMessage>& messages() const { return messages_; }
  // The texts of the messages, in order.
  QStringList texts() const;
  const std::vector<RecordedChoice>& choices() const { return choices_; }
  // The window titles of the dialogs run, in order.
  const QStringList& dialogs() const { return dialogs_; }

  // Forgets what was recorded and every answer still queued.
  void reset();

  // The answer to a box offering `offered` when no answer is queued.
  static ui::Button defaultAnswer(ui::Buttons offered);

  ui::Button message(ui::MessageKind kind, const QString& text, ui::Buttons buttons,
                     const QString& caption) override;
  int runDialog(QDialog& dialog) override;
  QString chooseOpenFile(QWidget* parent, const QString& caption, const QString& dir,
                         const QString& filter) override;
  QString chooseSaveFile(QWidget* parent, const QString& caption, const QString& dir,
                         const QString& filter) override;
  QString chooseDirectory(QWidget* parent, const QString& caption, const QString& dir) override;
  std::optional<QColor> chooseColor(QWidget* parent, const QColor& initial) override;
  std::optional<QFont> chooseFont(QWidget* parent, const QFont& initial) override;

 private:
  std::deque<ui::Button> answers_;
  std::deque<DialogScript> scripts_;
  std::deque<QString> openFiles_;
  std::deque<QString> saveFiles_;
  std::deque<QString> directories_;
  std::deque<std::optional<QColor>> colors_;
  std::deque<std::optional<QFont>> fonts_;

  std::vector<RecordedMessage> messages_;
  std::vector<RecordedChoice> choices_;
  QStringList dialogs_;
};

// Installs a prompter for the lifetime of the object and then puts back the
// one that was installed before.
class ScopedPrompter {
 public:
  explicit ScopedPrompter(ui::Prompter& prompter) : previous_(ui::installPrompter(&prompter)) {}
  ~ScopedPrompter() { ui::installPrompter(previous_); }
  ScopedPrompter(const ScopedPrompter&) = delete;
  ScopedPrompter& operator=(const ScopedPrompter&) = delete;

 private:
  ui::Prompter* previous_;
};

// Helpers for dialog scripts and window tests.

// The child of `parent` named `name`; fails the current test and returns
// nullptr when there is none of that type.
template <class T>
T* control(const QObject& parent, const QString& name) {
  T* found = parent.findChild<T*>(name);
  if (!found)
    ADD_FAILURE() << "no " << T::staticMetaObject.className() << " named " << name.toStdString()
                  << " in " << parent.objectName().toStdString();
  return found;
}

// Empties the named line edit and types `text` into it key by key, as a user
// would, so that the box's own key handling runs.
void typeInto(const QObject& parent, const QString& name, const QString& text);

// Clicks the named button of `dialog` and returns the dialog's result code.
int clickButton(QDialog& dialog, const QString& name);
