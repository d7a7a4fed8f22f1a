#include "ui/QtPrompter.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>
#include <QPushButton>

namespace ui {

namespace {

struct ButtonText {
  Button button;
  QMessageBox::StandardButton standard;
  const char* text;
};

constexpr ButtonText kButtons[] = {
    {Ok, QMessageBox::Ok, "OK"},
    {Cancel, QMessageBox::Cancel, "Annulla"},
    {Yes, QMessageBox::Yes, "&Sì"},
    {No, QMessageBox::No, "&No"},
    {Abort, QMessageBox::Abort, "Interrompi"},
    {Retry, QMessageBox::Retry, "Riprova"},
    {Ignore, QMessageBox::Ignore, "Ignora"},
};

QMessageBox::Icon iconFor(MessageKind kind) {
  switch (kind) {
    case MessageKind::Warning:
      return QMessageBox::Warning;
    case MessageKind::Error:
      return QMessageBox::Critical;
    case MessageKind::Information:
      return QMessageBox::Information;
    case MessageKind::Confirmation:
      return QMessageBox::Question;
    case MessageKind::Plain:
      break;
  }
  return QMessageBox::NoIcon;
}

QString defaultCaption(MessageKind kind) {
  switch (kind) {
    case MessageKind::Warning:
      return QStringLiteral("Attenzione");
    case MessageKind::Error:
      return QStringLiteral("Errore");
    case MessageKind::Information:
      return QStringLiteral("Informazione");
    case MessageKind::Confirmation:
      return QStringLiteral("Conferma");
    case MessageKind::Plain:
      break;
  }
  return QApplication::applicationDisplayName();
}

}  // namespace

Button QtPrompter::message(MessageKind kind, const QString& text, Buttons buttons,
                           const QString& caption) {
  QMessageBox box(iconFor(kind), caption.isEmpty() ? defaultCaption(kind) : caption, text,
                  QMessageBox::NoButton, QApplication::activeWindow());
  for (const ButtonText& entry : kButtons)
    if (buttons & entry.button)
      box.addButton(entry.standard)->setText(QString::fromUtf8(entry.text));
  box.exec();
  const auto pressed = box.standardButton(box.clickedButton());
  for (const ButtonText& entry : kButtons)
    if (entry.standard == pressed) return entry.button;
  return (buttons & Cancel) ? Cancel : NoButton;
}

int QtPrompter::runDialog(QDialog& dialog) {
  return dialog.exec();
}

QString QtPrompter::chooseOpenFile(QWidget* parent, const QString& caption, const QString& dir,
                                   const QString& filter) {
  return QFileDialog::getOpenFileName(parent, caption, dir, filter);
}

QString QtPrompter::chooseSaveFile(QWidget* parent, const QString& caption, const QString& dir,
                                   const QString& filter) {
  return QFileDialog::getSaveFileName(parent, caption, dir, filter);
}

QString QtPrompter::chooseOpenOrNewFile(QWidget* parent, const QString& caption, const QString& dir,
                                        const QString& filter) {
  QFileDialog dialog(parent, caption, dir, filter);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setLabelText(QFileDialog::Accept, QStringLiteral("&Apri"));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().constFirst();
}

QString QtPrompter::chooseDirectory(QWidget* parent, const QString& caption, const QString& dir) {
  return QFileDialog::getExistingDirectory(parent, caption, dir);
}

std::optional<QColor> QtPrompter::chooseColor(QWidget* parent, const QColor& initial) {
  const QColor color = QColorDialog::getColor(initial, parent);
  if (!color.isValid()) return std::nullopt;
  return color;
}

std::optional<QFont> QtPrompter::chooseFont(QWidget* parent, const QFont& initial) {
  bool ok = false;
  const QFont font = QFontDialog::getFont(&ok, initial, parent);
  if (!ok) return std::nullopt;
  return font;
}

}  // namespace ui
