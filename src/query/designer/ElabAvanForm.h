#pragma once

#include <QString>

#include "ui/ModalDialog.h"

class QPushButton;

// The advanced elaborations window: a column of buttons, each checking the
// designer's locked and side-by-side flags before it closes the window with
// its command word (command()), "Ch&iudi" closing it with none. A refused
// button says why and leaves the window open.
class TElabAvanForm : public ui::ModalDialog {
  Q_OBJECT

 public:
  TElabAvanForm(bool locked, bool sideBySide, const QString& ditta, QWidget* parent = nullptr);

  // The command chosen; empty when the window closed without one.
  const QString& command() const { return command_; }
  QPushButton* ButtonAggiungiQueryAffiancata() const { return buttonAffiancata_; }

 private:
  // A button that closes with `command` unless `refusal` is not empty.
  QPushButton* addButton(const QString& name, const QString& caption, const QString& command,
                         const QString& refusal);

  QString command_;
  QPushButton* buttonAffiancata_ = nullptr;
};
