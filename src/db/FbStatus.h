#pragma once

#include <firebird/Interface.h>

#include "db/DbError.h"

// Glue between the client library's status objects and DbError. Private to db/.
namespace db::detail {

using Status = Firebird::ThrowStatusWrapper;

// Turns a client-library exception into a DbError with the formatted message.
[[noreturn]] void rethrow(const Firebird::FbException& error);
DbError toDbError(const Firebird::IStatus* status);

// Runs f with a throwing status wrapper; client-library exceptions come out
// as DbError.
template <typename F>
auto call(F&& f) {
  Firebird::IStatus* raw = Firebird::fb_get_master_interface()->getStatus();
  Status status(raw);
  struct Disposer {
    Firebird::IStatus* s;
    ~Disposer() { s->dispose(); }
  } disposer{raw};
  try {
    return f(&status);
  } catch (const Firebird::FbException& error) {
    rethrow(error);
  }
}

// Closes an open cursor and frees a prepared statement, quietly: when the
// server refuses (the connection is gone) the handle is only released.
// Either way the pointer is null afterwards.
void closeQuietly(Firebird::IResultSet*& cursor);
void freeQuietly(Firebird::IStatement*& statement);

}  // namespace db::detail
