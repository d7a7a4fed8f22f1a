#pragma once

#include <QString>

// Sibling libraries of the suite are named as on Windows ("Vopra.dll"); here
// the same name finds "libVopra.so" beside this library first, then on the
// loader's search path.
namespace env {

// Candidate file names for a library name, in the order they are tried.
QStringList siblingLibraryCandidates(const QString& libraryName);

// Loads the library (it stays loaded), looks up the function and calls it
// with one 32-bit argument. False when the library or the function is missing.
bool callSiblingFunction(const QString& libraryName, const QString& functionName, int argument);

}  // namespace env
