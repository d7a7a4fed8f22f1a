#pragma once

#include <QFunctionPointer>
#include <QString>
#include <functional>

// Sibling libraries of the suite are named as on Windows ("Vopra.dll"); here
// the same name finds "libVopra.so" beside this library first, then on the
// loader's search path.
namespace env {

// The folder of libOrbelan and its sibling libraries: ORBELAN_LIBRARY_DIR
// when set; else the folder of the shared library this code is part of; else,
// for code linked into a program (the `orbelan` host), the library folder of
// the program's installation, at the same place relative to the program in
// the build tree and in an installed prefix (bin/ and lib/orbelan/).
QString libraryDirectory();

// Candidate file names for a library name, in the order they are tried:
// ORBELAN_LIBRARY_DIR, the folder of the binary this code is part of, the
// library folder above, then the bare name for the loader's search path.
QStringList siblingLibraryCandidates(const QString& libraryName);

// Loads the library (it stays loaded), looks up the function and calls it
// with one 32-bit argument. False when the library or the function is missing.
bool callSiblingFunction(const QString& libraryName, const QString& functionName, int argument);

// How a call into a sibling library that is loaded for the call only ended.
enum class SiblingCallResult {
  NotLoaded,   // no candidate file could be loaded
  NoFunction,  // the library lacks the function
  Called,      // called and unloaded
  Failed       // the call raised an error or the library could not be unloaded
};

// Loads the library, looks up the function, hands its address to `call`
// (which casts it to the function's real type and calls it) and unloads the
// library right after. An exception leaving `call` counts as a failure and
// does not escape.
SiblingCallResult callSiblingOnce(const QString& libraryName, const QString& functionName,
                                  const std::function<void(QFunctionPointer)>& call);

// The same, telling more of how it ended: the message of an error the call
// raised (a std::exception's text), and whether the library was left
// loaded. `call` also gets a lookup of the library's other symbols, valid
// while it runs (nullptr for a symbol the library lacks).
struct SiblingCall {
  SiblingCallResult result = SiblingCallResult::NotLoaded;
  bool raised = false;        // the call raised an error
  QString error;              // its message, when it had one
  bool unloadFailed = false;  // the call ended, the library stayed loaded
};
using SiblingSymbols = std::function<QFunctionPointer(const char* name)>;
SiblingCall callSiblingWithSymbols(
    const QString& libraryName, const QString& functionName,
    const std::function<void(QFunctionPointer entry, const SiblingSymbols& symbols)>& call);

}  // namespace env
