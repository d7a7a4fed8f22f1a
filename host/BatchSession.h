#pragma once

#include <QApplication>
#include <QString>
#include <memory>

#include "ConsolePrompter.h"
#include "entry/Ambiente.h"
#include "ui/Prompter.h"

// What every batch command of the host program sets up: an application
// object without a screen (the library's dialogs need one even when they are
// answered from the console), the console prompter, and the user's
// environment with the main database connected.
namespace host {

class BatchSession {
 public:
  // name: the command, as the messages begin ("orbelan import").
  explicit BatchSession(QString name);
  ~BatchSession();
  BatchSession(const BatchSession&) = delete;
  BatchSession& operator=(const BatchSession&) = delete;

  // The environment of the user with the bin directory and the archive
  // loaded and the archive connected. False after saying why on stderr.
  bool open(int user);
  TTabXForm& ambiente() { return *ambiente_; }

  // A message on stderr, prefixed with the command's name.
  void say(const QString& text) const;

 private:
  QString name_;
  int argc_ = 1;
  char programName_[8] = "orbelan";
  char* argv_[2] = {programName_, nullptr};
  std::unique_ptr<QApplication> application_;
  ConsolePrompter prompter_;
  ui::Prompter* previousPrompter_ = nullptr;
  entry::Ambiente ambiente_;
};

}  // namespace host
