#include "ui/Prompter.h"

#include "ui/QtPrompter.h"

namespace ui {

namespace {

Prompter* installed = nullptr;

}  // namespace

Prompter& prompter() {
  if (installed) return *installed;
  static QtPrompter qtPrompter;
  return qtPrompter;
}

Prompter* installPrompter(Prompter* replacement) {
  Prompter* previous = installed;
  installed = replacement;
  return previous;
}

void warning(const QString& text) {
  prompter().message(MessageKind::Warning, text, Ok, {});
}
void error(const QString& text) {
  prompter().message(MessageKind::Error, text, Ok, {});
}
void information(const QString& text) {
  prompter().message(MessageKind::Information, text, Ok, {});
}
void plain(const QString& text) {
  prompter().message(MessageKind::Plain, text, Ok, {});
}

void show(const core::UserMessages& messages) {
  for (const core::UserMessage& message : messages) {
    switch (message.severity) {
      case core::UserMessage::Severity::Information:
        information(message.text);
        break;
      case core::UserMessage::Severity::Warning:
        warning(message.text);
        break;
      case core::UserMessage::Severity::Error:
        error(message.text);
        break;
    }
  }
}

bool confirm(const QString& text) {
  return prompter().message(MessageKind::Confirmation, text, Yes | No, {}) == Yes;
}

Button ask(const QString& text, Buttons buttons) {
  return prompter().message(MessageKind::Confirmation, text, buttons, {});
}

int runDialog(QDialog& dialog) {
  return prompter().runDialog(dialog);
}

}  // namespace ui
