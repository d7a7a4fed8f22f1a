#pragma once

#include "ui/Prompter.h"

namespace host {

// The prompter of the batch commands: nobody is there to answer, so every
// message is written to standard error, prefixed by its kind, and every
// question gets the answer that changes nothing: OK where a box offers it,
// otherwise No or Cancel; dialogs and choices are cancelled.
class ConsolePrompter : public ui::Prompter {
 public:
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
};

}  // namespace host
