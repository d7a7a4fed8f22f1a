#pragma once

#include "ui/ModalDialog.h"

class QPushButton;
class QVBoxLayout;

namespace query::designer {

// The frame of the designer's small dialogs: its caption, the contents the
// dialog lays out in contents(), and below them a confirming and a cancelling
// button at the right, the first the default one. Cancel and Esc close with
// 2; the confirming button calls confirm(), which closes with 1 unless the
// dialog checks its boxes first.
class DesignerDialog : public ui::ModalDialog {
  Q_OBJECT

 public:
  QPushButton* okButton() const { return ok_; }
  QPushButton* cancelButton() const { return cancel_; }

 protected:
  DesignerDialog(const QString& objectName, const QString& caption, QWidget* parent,
                 const QString& okText = QStringLiteral("OK"),
                 const QString& cancelText = QStringLiteral("Annulla"));

  QVBoxLayout* contents() const { return contents_; }
  virtual void confirm();

 private:
  QVBoxLayout* contents_;
  QPushButton* ok_;
  QPushButton* cancel_;
};

// A flat button standing for a caption that puts the focus in its box.
QPushButton* focusCaption(const QString& text, const QString& name, QWidget* box, QWidget* parent);

}  // namespace query::designer
