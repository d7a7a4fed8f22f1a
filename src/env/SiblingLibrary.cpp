#include "env/SiblingLibrary.h"

#include <dlfcn.h>

#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <QStringList>
#include <cstdint>
#include <exception>

namespace env {

namespace {

bool isSharedLibrary(const QFileInfo& binary) {
  return binary.fileName().endsWith(QLatin1String(".so")) ||
         binary.fileName().contains(QLatin1String(".so."));
}

// The file of the binary this code was linked into: a shared library or the
// program.
QFileInfo ownBinary() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&ownBinary), &info) == 0 || !info.dli_fname) return {};
  const QFileInfo binary(QString::fromLocal8Bit(info.dli_fname));
  if (isSharedLibrary(binary)) return binary;
  // For the program itself the loader gives the name it was started by
  // (`orbelan`, found on the PATH), not where it lies.
  return QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath());
}

QString ownDirectory() {
  const QFileInfo binary = ownBinary();
  return binary.filePath().isEmpty() ? QString() : binary.absolutePath();
}

}  // namespace

QString libraryDirectory() {
  const QString chosen = qEnvironmentVariable("ORBELAN_LIBRARY_DIR");
  if (!chosen.isEmpty()) return chosen;
  const QFileInfo binary = ownBinary();
  if (binary.filePath().isEmpty()) return {};
  if (isSharedLibrary(binary)) return binary.absolutePath();
  return QDir::cleanPath(binary.absolutePath() + QLatin1Char('/') +
                         QStringLiteral(ORBELAN_PROGRAM_TO_LIBRARY_DIR));
}

QStringList siblingLibraryCandidates(const QString& libraryName) {
  QString base = QFileInfo(QString(libraryName).replace('\\', '/')).fileName();
  if (base.endsWith(QStringLiteral(".dll"), Qt::CaseInsensitive)) base.chop(4);
  const QString soName =
      base.startsWith(QStringLiteral("lib")) ? base + ".so" : "lib" + base + ".so";
  QStringList candidates;
  const QString libraryDir = qEnvironmentVariable("ORBELAN_LIBRARY_DIR");
  if (!libraryDir.isEmpty()) candidates << libraryDir + '/' + soName;
  const QString own = ownDirectory();
  if (!own.isEmpty()) candidates << own + '/' + soName;
  const QString libraries = libraryDirectory();
  if (!libraries.isEmpty() && !candidates.contains(libraries + '/' + soName))
    candidates << libraries + '/' + soName;
  candidates << soName;
  return candidates;
}

bool callSiblingFunction(const QString& libraryName, const QString& functionName, int argument) {
  using Entry = std::int32_t (*)(std::int32_t);
  for (const QString& candidate : siblingLibraryCandidates(libraryName)) {
    // Never unloaded: windows the function opened live on. Destroying the
    // QLibrary object leaves the library loaded.
    QLibrary library(candidate);
    if (!library.load()) continue;
    auto entry = reinterpret_cast<Entry>(library.resolve(functionName.toLatin1().constData()));
    if (!entry) return false;
    entry(argument);
    return true;
  }
  return false;
}

SiblingCallResult callSiblingOnce(const QString& libraryName, const QString& functionName,
                                  const std::function<void(QFunctionPointer)>& call) {
  return callSiblingWithSymbols(libraryName, functionName,
                                [&](QFunctionPointer entry, const SiblingSymbols&) { call(entry); })
      .result;
}

SiblingCall callSiblingWithSymbols(
    const QString& libraryName, const QString& functionName,
    const std::function<void(QFunctionPointer entry, const SiblingSymbols& symbols)>& call) {
  SiblingCall outcome;
  for (const QString& candidate : siblingLibraryCandidates(libraryName)) {
    QLibrary library(candidate);
    if (!library.load()) continue;
    const QFunctionPointer entry = library.resolve(functionName.toLatin1().constData());
    if (!entry) {
      library.unload();
      outcome.result = SiblingCallResult::NoFunction;
      return outcome;
    }
    bool failed = false;
    try {
      call(entry, [&library](const char* name) { return library.resolve(name); });
    } catch (const std::exception& error) {
      failed = outcome.raised = true;
      outcome.error = QString::fromLocal8Bit(error.what());
    } catch (...) {
      failed = outcome.raised = true;
    }
    if (!library.unload()) {
      failed = true;
      outcome.unloadFailed = true;
    }
    outcome.result = failed ? SiblingCallResult::Failed : SiblingCallResult::Called;
    return outcome;
  }
  return outcome;
}

}  // namespace env
