#pragma once

#include <QByteArray>
#include <QString>

// A file that appears whole or not at all. It is written to a temporary file
// beside its final name; every write, the flush to disk and the close are
// checked, and only when all of them succeeded is the temporary file renamed
// over the final name. A failure at any point removes the temporary file and
// leaves an older file of the final name exactly as it was: never deleted,
// never truncated.
//
// The temporary file is hidden and named after the final one and the process
// (".NAME.tmp<pid>"). One left by a run that was killed before it finished is
// removed by the next run that writes the same file, once no process of its
// number exists any more.
//
// A full disk or a file-size limit is a failure like any other: opening the
// first output file of the process makes the file-size signal (SIGXFSZ)
// ignored when nobody handles it, so that a write past the limit fails with
// an error instead of ending the program half-way through its work.
namespace core {

class OutputFile {
 public:
  // `path` is the native path of the final file. A symbolic link is followed:
  // the file it points to is replaced, the link stays.
  explicit OutputFile(const QString& path);
  // Whatever was not committed is discarded.
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Removes the temporary files of this final name left by processes that
  // are gone, then creates the temporary file, with the permissions of the
  // file it will replace when there is one. False with error() set.
  bool open();
  bool isOpen() const { return fd_ >= 0; }

  // The final and the temporary file's native paths. A writer that opens the
  // temporary file by its name (a PDF printer) must have closed it before
  // commit().
  const QString& path() const { return path_; }
  const QString& temporaryPath() const { return temporaryPath_; }

  // Appends bytes (kept in a buffer and written in large blocks). False from
  // the first failure on, with error() set.
  bool write(const QByteArray& bytes);

  // Writes what is buffered, forces the data to disk, closes the file and
  // renames it over the final name. False with error() set, and the
  // temporary file removed, when any of it fails.
  bool commit();

  // Removes the temporary file; the final name is left as it was.
  void discard();

  const QString& error() const { return error_; }

 private:
  bool flushBuffer();
  bool fail(const QString& what, int error);

  QString path_;
  QString temporaryPath_;
  QByteArray buffer_;
  int fd_ = -1;
  bool failed_ = false;
  QString error_;
};

}  // namespace core
