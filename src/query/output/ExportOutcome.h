#pragma once

#include "core/UserMessage.h"

namespace query::output {

// How an export ended and what the user is to be told, in order.
struct ExportOutcome {
  bool done = false;
  // Failed in a way the plain text export from the shown rows may still
  // overcome (the designer then offers it).
  bool fallback = false;
  core::UserMessages messages;
};

}  // namespace query::output
