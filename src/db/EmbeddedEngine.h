#pragma once

#include <QString>

// Firebird's embedded engine runs by default in its Super mode, in which the
// first process to open a database keeps it for itself: a second process (a
// batch import while the label window is open, two host programs of one user)
// is refused with "Database already opened with engine instance, incompatible
// with current". In SuperClassic mode every process coordinates through the
// lock files in FIREBIRD_LOCK (default /tmp/firebird) and they all share the
// database. The mode is a setting of the engine's firebird.conf, read once
// per process from the Firebird root folder (the FIREBIRD variable).
namespace db {

// Before the client library is first used: unless FIREBIRD is already set,
// writes a Firebird root folder of our own (a firebird.conf that includes the
// system's and sets ServerMode = SuperClassic, links to the system's message
// file and other configuration files) and points FIREBIRD at it. Returns the
// folder, or an empty string when FIREBIRD was set already or the system's
// Firebird folder was not found (the engine then keeps its own defaults).
QString configureEmbeddedEngine();

// The folder that configureEmbeddedEngine() writes: $XDG_CACHE_HOME (or
// ~/.cache) + "/orbelan/firebird".
QString embeddedEngineFolder();

}  // namespace db
