#pragma once

#include "ui/Prompter.h"

namespace ui {

// Real dialogs: message boxes with Italian button texts, file, directory,
// colour and font dialogs.
class QtPrompter : public Prompter {
 public:
  Button message(MessageKind kind, const QString& text, Buttons buttons,
                 const QString& caption) override;
  int runDialog(QDialog& dialog) override;
  QString chooseOpenFile(QWidget* parent, const QString& caption, const QString& dir,
                         const QString& filter) override;
  QString chooseSaveFile(QWidget* parent, const QString& caption, const QString& dir,
                         const QString& filter) override;
  QString chooseOpenOrNewFile(QWidget* parent, const QString& caption, const QString& dir,
                              const QString& filter) override;
  QString chooseDirectory(QWidget* parent, const QString& caption, const QString& dir) override;
  std::optional<QColor> chooseColor(QWidget* parent, const QColor& initial) override;
  std::optional<QFont> chooseFont(QWidget* parent, const QFont& initial) override;
};

}  // namespace ui
