#include "core/OutputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QSet>
#include <cerrno>
#include <csignal>

namespace core {

namespace {

// Written in blocks of this size; larger lines go out at once.
constexpr qsizetype kBufferSize = 64 * 1024;

QByteArray encoded(const QString& path) {
  return QFile::encodeName(path);
}

// A write past the file-size limit raises SIGXFSZ, whose default action ends
// the process; ignored, the write fails with EFBIG and is reported.
void ignoreFileSizeSignal() {
  static const bool done = [] {
    struct sigaction current = {};
    if (sigaction(SIGXFSZ, nullptr, &current) == 0 && current.sa_handler == SIG_DFL) {
      struct sigaction ignore = {};
      ignore.sa_handler = SIG_IGN;
      sigemptyset(&ignore.sa_mask);
      sigaction(SIGXFSZ, &ignore, nullptr);
    }
    return true;
  }();
  (void)done;
}

// The temporary files this process has open: one named with this process's
// number but not among them was left by an earlier process of that number.
QMutex liveTemporariesMutex;
QSet<QString> liveTemporaries;

void setLive(const QString& path, bool live) {
  const QMutexLocker locker(&liveTemporariesMutex);
  if (live)
    liveTemporaries.insert(path);
  else
    liveTemporaries.remove(path);
}

bool isLive(const QString& path) {
  const QMutexLocker locker(&liveTemporariesMutex);
  return liveTemporaries.contains(path);
}

// The process a temporary name ".NAME.tmp<pid>" or ".NAME.tmp<pid>-<n>"
// belongs to; 0 when the rest of the name is not of that form.
qint64 temporaryOwner(const QString& entry, const QString& stem) {
  if (!entry.startsWith(stem)) return 0;
  const QString rest = entry.mid(stem.size());
  const QString number = rest.section(QLatin1Char('-'), 0, 0);
  bool ok = false;
  const qint64 pid = number.toLongLong(&ok);
  for (const QChar c : rest)
    if (!c.isDigit() && c != QLatin1Char('-')) return 0;
  return ok && pid > 0 ? pid : 0;
}

// Removes the temporary files of `fileName` in `directory` that a run which
// ended without finishing left behind: those whose process no longer exists,
// and those of this process's number that this process did not open. A file
// whose process is alive, or cannot be told, is never touched.
void removeLeftTemporaries(const QString& directory, const QString& fileName) {
  const QString stem = QStringLiteral(".") + fileName + QStringLiteral(".tmp");
  const QDir dir(directory);
  const QStringList entries =
      dir.entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
  for (const QString& entry : entries) {
    const qint64 pid = temporaryOwner(entry, stem);
    if (pid <= 0) continue;
    const QString path = dir.filePath(entry);
    bool gone = false;
    if (pid == ::getpid())
      gone = !isLive(path);
    else
      gone = ::kill(static_cast<pid_t>(pid), 0) == -1 && errno == ESRCH;
    if (gone) ::unlink(encoded(path).constData());
  }
}

}  // namespace

OutputFile::OutputFile(const QString& path) : path_(path) {
  const QFileInfo info(path);
  if (info.isSymLink()) {
    const QString target = info.canonicalFilePath();
    if (!target.isEmpty()) path_ = target;
  }
}

OutputFile::~OutputFile() {
  discard();
}

bool OutputFile::fail(const QString& what, int error) {
  failed_ = true;
  // The system's reason when there is one: the callers say what they were
  // doing with which file.
  error_ = error ? qt_error_string(error) : what;
  return false;
}

bool OutputFile::open() {
  ignoreFileSizeSignal();
  discard();
  failed_ = false;
  error_.clear();
  const QFileInfo info(path_);
  if (info.isDir()) return fail(QStringLiteral("è una cartella"), 0);
  removeLeftTemporaries(info.absolutePath(), info.fileName());
  // Hidden, beside the final file: on the same file system, so that the
  // rename is atomic. Named with the process, so that the next run that
  // writes this file can tell one left by a run that was killed.
  const QString stem = info.absolutePath() + QStringLiteral("/.") + info.fileName() +
                       QStringLiteral(".tmp") + QString::number(::getpid());
  for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
    temporaryPath_ = attempt ? stem + QStringLiteral("-%1").arg(attempt) : stem;
    fd_ =
        ::open(encoded(temporaryPath_).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ < 0 && errno != EEXIST) break;
  }
  if (fd_ >= 0) setLive(temporaryPath_, true);
  if (fd_ < 0) {
    const int error = errno;
    temporaryPath_.clear();
    return fail({}, error);
  }
  // The new file keeps the permissions of the one it replaces.
  struct stat existing = {};
  if (::stat(encoded(path_).constData(), &existing) == 0 && S_ISREG(existing.st_mode))
    ::fchmod(fd_, existing.st_mode & 07777);
  return true;
}

bool OutputFile::write(const QByteArray& bytes) {
  if (failed_) return false;
  if (fd_ < 0) return fail(QStringLiteral("file non aperto"), 0);
  buffer_ += bytes;
  return buffer_.size() < kBufferSize || flushBuffer();
}

bool OutputFile::flushBuffer() {
  const char* data = buffer_.constData();
  qsizetype left = buffer_.size();
  while (left > 0) {
    const ssize_t written = ::write(fd_, data, static_cast<size_t>(left));
    if (written < 0) {
      if (errno == EINTR) continue;
      return fail({}, errno);
    }
    data += written;
    left -= written;
  }
  buffer_.clear();
  return true;
}

bool OutputFile::commit() {
  if (fd_ < 0) return fail(error_.isEmpty() ? QStringLiteral("file non aperto") : error_, 0);
  bool ok = !failed_ && flushBuffer();
  if (ok && ::fsync(fd_) != 0) ok = fail({}, errno);
  // Closed in any case; a failing close may report a write that failed late.
  if (::close(fd_) != 0 && ok) ok = fail({}, errno);
  fd_ = -1;
  if (ok && ::rename(encoded(temporaryPath_).constData(), encoded(path_).constData()) != 0)
    ok = fail({}, errno);
  if (!ok) {
    discard();
    return false;
  }
  setLive(temporaryPath_, false);
  temporaryPath_.clear();
  // The rename itself made durable; the file is in place whatever this says.
  const int dir = ::open(encoded(QFileInfo(path_).absolutePath()).constData(),
                         O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return true;
}

void OutputFile::discard() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  buffer_.clear();
  if (!temporaryPath_.isEmpty()) {
    ::unlink(encoded(temporaryPath_).constData());
    setLive(temporaryPath_, false);
  }
  temporaryPath_.clear();
}

}  // namespace core
