#include "platform/printing/DocumentJob.h"

#include <cups/cups.h>

#include <QFile>
#include <vector>

namespace platform::printing {

int printDocumentFile(const QString& destination, const QString& title, const QString& file,
                      const JobOptions& options, QString* error) {
  if (destination.isEmpty()) {
    *error = QStringLiteral("Nessuna stampante indicata");
    return 0;
  }
  std::vector<cups_option_t> cupsOptions;
  for (const auto& [name, value] : options)
    cupsOptions.push_back(
        {const_cast<char*>(name.constData()), const_cast<char*>(value.constData())});
  const QByteArray queue = destination.toUtf8();
  const int job = cupsPrintFile2(CUPS_HTTP_DEFAULT, queue.constData(),
                                 QFile::encodeName(file).constData(), title.toUtf8().constData(),
                                 static_cast<int>(cupsOptions.size()), cupsOptions.data());
  if (job == 0)
    *error = QStringLiteral("Stampante \"%1\": lavoro rifiutato (%2)")
                 .arg(destination, QString::fromUtf8(cupsLastErrorString()));
  return job;
}

}  // namespace platform::printing
