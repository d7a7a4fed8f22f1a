#pragma once

#include <QObject>
#include <functional>

// SIGTERM and SIGINT end the program in an orderly way: long work polls
// terminationRequested() and stops at its next safe point (undoing what it
// has not finished), and the event loop of a program with windows is woken
// to close them, so open transactions are rolled back rather than cut off.
namespace core {

// Blocks SIGTERM and SIGINT in the calling thread and in every thread it
// starts from then on, and reads them from a signal descriptor instead, so
// that no thread of another library (the Firebird engine's) is interrupted
// by them. A program calls it first thing in main(), before any thread
// exists; later calls only block them in the calling thread. Processes
// started afterwards inherit the block.
void installTerminationHandlers();

// True once SIGTERM or SIGINT has arrived (after installTerminationHandlers).
// A library loaded into such a program sees the program's signals too.
bool terminationRequested();

// The signal that arrived, or 0.
int terminationSignal();

// Calls `handler` on the event loop of `context`'s thread the first time a
// termination signal arrives; installs the handlers when needed. The call
// ends with `context`.
void onTermination(QObject* context, std::function<void()> handler);

// Calls `callback` on a thread of its own each time a termination signal
// arrives, while the program's other threads may be busy inside a long call
// (a database statement) and cannot look at the flag. The callback runs
// beside the rest of the program: it must be quick and thread-safe. Does
// nothing in a process that has not installed the handlers, where the
// signals keep their default action. Up to four callbacks; each once.
void watchTermination(void (*callback)());

// Clears the flag; for tests that raise the signal themselves.
void resetTerminationRequest();

}  // namespace core
