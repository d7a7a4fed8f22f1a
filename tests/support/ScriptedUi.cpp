#include "support/ScriptedUi.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QTest>

namespace {

template <class Queue>
auto takeFront(Queue& queue) {
  auto front = std::move(queue.front());
  queue.pop_front();
  return front;
}

}  // namespace

ScriptedPrompter::~ScriptedPrompter() {
  const std::size_t left = answers_.size() + scripts_.size() + openFiles_.size() +
                           saveFiles_.size() + directories_.size() + colors_.size() + fonts_.size();
  if (left == 0) return;
  ADD_FAILURE() << "scripted answers never used: " << answers_.size() << " message answers, "
                << scripts_.size() << " dialog scripts, " << openFiles_.size() << " open files, "
                << saveFiles_.size() << " save files, " << directories_.size() << " directories, "
                << colors_.size() << " colours, " << fonts_.size() << " fonts";
}

QStringList ScriptedPrompter::texts() const {
  QStringList result;
  for (const RecordedMessage& message : messages_) result << message.text;
  return result;
}

void ScriptedPrompter::reset() {
  answers_.clear();
  scripts_.clear();
  openFiles_.clear();
  saveFiles_.clear();
  directories_.clear();
  colors_.clear();
  fonts_.clear();
  messages_.clear();
  choices_.clear();
  dialogs_.clear();
}

ui::Button ScriptedPrompter::defaultAnswer(ui::Buttons offered) {
  for (ui::Button button : {ui::Ok, ui::Yes, ui::Abort, ui::Retry, ui::Ignore, ui::No, ui::Cancel})
    if (offered & button) return button;
  return ui::NoButton;
}

ui::Button ScriptedPrompter::message(ui::MessageKind kind, const QString& text, ui::Buttons buttons,
                                     const QString& caption) {
  messages_.push_back({kind, text, buttons, caption});
  if (answers_.empty()) return defaultAnswer(buttons);
  const ui::Button answer = takeFront(answers_);
  if (!(buttons & answer))
    ADD_FAILURE() << "scripted answer " << int(answer) << " is not offered by the message \""
                  << text.toStdString() << "\" (buttons " << buttons << ")";
  return answer;
}

int ScriptedPrompter::runDialog(QDialog& dialog) {
  dialogs_ << dialog.windowTitle();
  if (scripts_.empty()) {
    ADD_FAILURE() << "no script for the dialog " << dialog.objectName().toStdString() << " \""
                  << dialog.windowTitle().toStdString() << "\"";
    dialog.setResult(2);
    return 2;
  }
  // Shown as exec() would show it, so that what the dialog does on showing
  // (focus, filling in) has happened when the script looks at it.
  dialog.setResult(0);
  dialog.show();
  const int result = takeFront(scripts_)(dialog);
  if (dialog.isVisible())
    dialog.done(result);
  else
    dialog.setResult(result);
  return result;
}

QString ScriptedPrompter::chooseOpenFile(QWidget*, const QString& caption, const QString& dir,
                                         const QString& filter) {
  choices_.push_back({ChoiceKind::OpenFile, caption, dir, filter});
  return openFiles_.empty() ? QString() : takeFront(openFiles_);
}

QString ScriptedPrompter::chooseSaveFile(QWidget*, const QString& caption, const QString& dir,
                                         const QString& filter) {
  choices_.push_back({ChoiceKind::SaveFile, caption, dir, filter});
  return saveFiles_.empty() ? QString() : takeFront(saveFiles_);
}

QString ScriptedPrompter::chooseDirectory(QWidget*, const QString& caption, const QString& dir) {
  choices_.push_back({ChoiceKind::Directory, caption, dir, {}});
  return directories_.empty() ? QString() : takeFront(directories_);
}

std::optional<QColor> ScriptedPrompter::chooseColor(QWidget*, const QColor&) {
  choices_.push_back({ChoiceKind::Color, {}, {}, {}});
  return colors_.empty() ? std::nullopt : takeFront(colors_);
}

std::optional<QFont> ScriptedPrompter::chooseFont(QWidget*, const QFont&) {
  choices_.push_back({ChoiceKind::Font, {}, {}, {}});
  return fonts_.empty() ? std::nullopt : takeFront(fonts_);
}

void typeInto(const QObject& parent, const QString& name, const QString& text) {
  if (auto* box = control<QLineEdit>(parent, name)) {
    box->clear();
    QTest::keyClicks(box, text);
  }
}

int clickButton(QDialog& dialog, const QString& name) {
  if (auto* button = control<QAbstractButton>(dialog, name)) button->click();
  return dialog.result();
}
