#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Pass-through printing: documents sent to a printer queue unchanged, as raw
// data the queue does not convert, the way text-only thermal printers are
// driven with their own command language.
namespace platform::printing {

// The bytes of one pass-through block: what a printer escape carried at once
// on the system this program comes from.
inline constexpr qsizetype kPassThroughBlockSize = 255;

// A document cut into consecutive blocks of at most `blockSize` bytes, the
// last one shorter; none for an empty document. Joined they give the document.
QList<QByteArray> passThroughBlocks(const QByteArray& document,
                                    qsizetype blockSize = kPassThroughBlockSize);

// A CUPS queue receiving raw jobs. Every call reaches the CUPS server anew
// (CUPS_SERVER, else the system's); failures leave their text in error().
class RawPrinter {
 public:
  explicit RawPrinter(QString destination);

  const QString& destination() const { return destination_; }
  const QString& error() const { return error_; }

  // Whether the queue takes raw documents now: it exists, accepts jobs and
  // lists the raw format among its "document-format-supported".
  bool acceptsRaw();

  // One job holding `document` unchanged, sent in pass-through blocks, so a
  // long document is never cut. Returns the job's id, or 0 when the queue
  // refused it; a refused job is cancelled, so nothing of it is printed.
  // An empty document is refused without asking the queue.
  int print(const QString& title, const QByteArray& document);

 private:
  QString failure(const QString& what) const;

  QString destination_;
  QString error_;
};

}  // namespace platform::printing
