#include "ConsolePrompter.h"

#include <QDialog>
#include <cstdio>

namespace host {

namespace {

void write(const QString& text) {
  QString lines = text;
  // Message texts break lines with CR LF or a lone CR, as on Windows.
  lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace('\r', '\n');
  std::fprintf(stderr, "%s\n", lines.toLocal8Bit().constData());
}

const char* kindName(ui::MessageKind kind) {
  switch (kind) {
    case ui::MessageKind::Warning:
      return "warning";
    case ui::MessageKind::Error:
      return "error";
    case ui::MessageKind::Information:
      return "information";
    case ui::MessageKind::Confirmation:
      return "question";
    case ui::MessageKind::Plain:
      break;
  }
  return "message";
}

}  // namespace

ui::Button ConsolePrompter::message(ui::MessageKind kind, const QString& text, ui::Buttons buttons,
                                    const QString&) {
  write(QLatin1String(kindName(kind)) + QStringLiteral(": ") + text);
  for (ui::Button button : {ui::Ok, ui::No, ui::Cancel, ui::Abort, ui::Ignore})
    if (buttons & button) return button;
  return ui::NoButton;
}

int ConsolePrompter::runDialog(QDialog& dialog) {
  write(QStringLiteral("question not asked (no one to answer): ") + dialog.windowTitle());
  return 2;  // the input dialogs' Cancel
}

QString ConsolePrompter::chooseOpenFile(QWidget*, const QString&, const QString&, const QString&) {
  return {};
}

QString ConsolePrompter::chooseSaveFile(QWidget*, const QString&, const QString&, const QString&) {
  return {};
}

QString ConsolePrompter::chooseDirectory(QWidget*, const QString&, const QString&) {
  return {};
}

std::optional<QColor> ConsolePrompter::chooseColor(QWidget*, const QColor&) {
  return std::nullopt;
}

std::optional<QFont> ConsolePrompter::chooseFont(QWidget*, const QFont&) {
  return std::nullopt;
}

}  // namespace host
