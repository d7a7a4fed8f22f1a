#pragma once

#include <exception>

#include "db/DbError.h"
#include "grid/QuovGrid.h"
#include "ui/Prompter.h"

// Commands started by the user (menu items, keys, mouse, the search timer)
// run through this: a failure reaches the user as an error message instead
// of leaving the event loop. False when the command failed.
template <class Command>
bool TQuovGrid::protetto(Command command) {
  try {
    command();
    return true;
  } catch (const db::DbError& failure) {
    ui::error(failure.text());
  } catch (const std::exception& failure) {
    ui::error(QString::fromLocal8Bit(failure.what()));
  }
  return false;
}
