#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <optional>

#include "core/UserMessage.h"

class QDialog;
class QWidget;

// The one seam through which the library shows a message box or asks a modal
// question. Windows never call QMessageBox or QFileDialog directly: the Qt
// implementation shows real dialogs, tests install a scripted one that
// records every text and answers from a queue.
namespace ui {

enum class MessageKind { Warning, Error, Information, Confirmation, Plain };

// Buttons of a message box; answers are one of them.
enum Button : int {
  NoButton = 0,
  Ok = 0x1,
  Cancel = 0x2,
  Yes = 0x4,
  No = 0x8,
  Abort = 0x10,
  Retry = 0x20,
  Ignore = 0x40,
};
using Buttons = int;

class Prompter {
 public:
  virtual ~Prompter() = default;

  // Shows a message box and returns the button pressed.
  virtual Button message(MessageKind kind, const QString& text, Buttons buttons,
                         const QString& caption) = 0;

  // Runs a modal dialog (an input dialog, a settings window) and returns its
  // result code. The Qt implementation calls exec(); a scripted one fills in
  // the dialog's controls and closes it as a user would.
  virtual int runDialog(QDialog& dialog) = 0;

  // Empty text / nullopt when the user cancels.
  virtual QString chooseOpenFile(QWidget* parent, const QString& caption, const QString& dir,
                                 const QString& filter) = 0;
  virtual QString chooseSaveFile(QWidget* parent, const QString& caption, const QString& dir,
                                 const QString& filter) = 0;
  // A file to open that may not exist yet (a new name is allowed and an
  // existing file is not asked about). The save question unless overridden.
  virtual QString chooseOpenOrNewFile(QWidget* parent, const QString& caption, const QString& dir,
                                      const QString& filter) {
    return chooseSaveFile(parent, caption, dir, filter);
  }
  virtual QString chooseDirectory(QWidget* parent, const QString& caption, const QString& dir) = 0;
  virtual std::optional<QColor> chooseColor(QWidget* parent, const QColor& initial) = 0;
  virtual std::optional<QFont> chooseFont(QWidget* parent, const QFont& initial) = 0;
};

// The prompter in use; the Qt one unless another was installed.
Prompter& prompter();
// Installs a prompter (not owned) and returns the previous one; nullptr
// restores the Qt prompter.
Prompter* installPrompter(Prompter* replacement);

// The message boxes every window uses, with an OK button unless said otherwise.
void warning(const QString& text);
void error(const QString& text);
void information(const QString& text);
void plain(const QString& text);
// Each message in its box, one after the other.
void show(const core::UserMessages& messages);
// A confirmation with Yes and No: true for Yes.
bool confirm(const QString& text);
// A confirmation with the given buttons; returns the button pressed.
Button ask(const QString& text, Buttons buttons);

// Runs a modal dialog through the prompter.
int runDialog(QDialog& dialog);

}  // namespace ui
