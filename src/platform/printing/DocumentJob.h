#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

// Printing a finished document file (a PDF) as one job, converted by the
// queue's own filters for its printer.
namespace platform::printing {

// CUPS job options, name and value ("media", "Custom.62x29mm").
using JobOptions = QList<QPair<QByteArray, QByteArray>>;

// Sends `file` to the queue `destination` (CUPS_SERVER, else the system's
// server) as one job titled `title`. Returns the job's id, or 0 with the
// reason in `error` when the queue refused it.
int printDocumentFile(const QString& destination, const QString& title, const QString& file,
                      const JobOptions& options, QString* error);

}  // namespace platform::printing
