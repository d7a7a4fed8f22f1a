#include "platform/printing/RawPrintJob.h"

#include <cups/cups.h>

namespace platform::printing {

QList<QByteArray> passThroughBlocks(const QByteArray& document, qsizetype blockSize) {
  QList<QByteArray> blocks;
  if (blockSize < 1) blockSize = kPassThroughBlockSize;
  for (qsizetype at = 0; at < document.size(); at += blockSize)
    blocks.append(document.mid(at, blockSize));
  return blocks;
}

RawPrinter::RawPrinter(QString destination) : destination_(std::move(destination)) {}

QString RawPrinter::failure(const QString& what) const {
  return QStringLiteral("Stampante \"%1\": %2 (%3)")
      .arg(destination_, what, QString::fromUtf8(cupsLastErrorString()));
}

bool RawPrinter::acceptsRaw() {
  error_.clear();
  if (destination_.isEmpty()) {
    error_ = QStringLiteral("Nessuna stampante predefinita");
    return false;
  }
  const QByteArray name = destination_.toUtf8();
  char uri[HTTP_MAX_URI];
  httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(),
                   "/printers/%s", name.constData());
  ipp_t* request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
               cupsUser());
  static const char* const kAttributes[] = {"document-format-supported",
                                            "printer-is-accepting-jobs"};
  ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                std::size(kAttributes), nullptr, kAttributes);
  ipp_t* response = cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/");  // frees the request
  if (!response || cupsLastError() >= IPP_STATUS_ERROR_BAD_REQUEST) {
    error_ = failure(cupsLastError() == IPP_STATUS_ERROR_NOT_FOUND
                         ? QStringLiteral("stampante non installata")
                         : QStringLiteral("stampante non raggiungibile"));
    ippDelete(response);
    return false;
  }
  ipp_attribute_t* accepting =
      ippFindAttribute(response, "printer-is-accepting-jobs", IPP_TAG_BOOLEAN);
  ipp_attribute_t* formats =
      ippFindAttribute(response, "document-format-supported", IPP_TAG_MIMETYPE);
  if (accepting && !ippGetBoolean(accepting, 0))
    error_ = QStringLiteral("Stampante \"%1\": non accetta lavori").arg(destination_);
  else if (!formats || !ippContainsString(formats, CUPS_FORMAT_RAW))
    error_ =
        QStringLiteral("Stampante \"%1\": non accetta la stampa diretta (raw)").arg(destination_);
  ippDelete(response);
  return error_.isEmpty();
}

int RawPrinter::print(const QString& title, const QByteArray& document) {
  error_.clear();
  if (destination_.isEmpty()) {
    error_ = QStringLiteral("Nessuna stampante predefinita");
    return 0;
  }
  if (document.isEmpty()) {
    error_ =
        QStringLiteral("Stampante \"%1\": documento vuoto, niente da stampare").arg(destination_);
    return 0;
  }
  const QByteArray name = destination_.toUtf8();
  const QByteArray jobTitle = title.toUtf8();
  const int job =
      cupsCreateJob(CUPS_HTTP_DEFAULT, name.constData(), jobTitle.constData(), 0, nullptr);
  if (job == 0) {
    error_ = failure(QStringLiteral("lavoro rifiutato"));
    return 0;
  }
  bool sent = false;
  if (cupsStartDocument(CUPS_HTTP_DEFAULT, name.constData(), job, jobTitle.constData(),
                        CUPS_FORMAT_RAW, 1) == HTTP_STATUS_CONTINUE) {
    sent = true;
    for (const QByteArray& block : passThroughBlocks(document)) {
      if (cupsWriteRequestData(CUPS_HTTP_DEFAULT, block.constData(),
                               static_cast<size_t>(block.size())) != HTTP_STATUS_CONTINUE) {
        sent = false;
        break;
      }
    }
    // Also after a failed write: the answer says why the queue stopped reading.
    if (cupsFinishDocument(CUPS_HTTP_DEFAULT, name.constData()) >= IPP_STATUS_ERROR_BAD_REQUEST)
      sent = false;
  }
  if (sent) return job;
  error_ = failure(QStringLiteral("lavoro %1 non inviato").arg(job));
  cupsCancelJob2(CUPS_HTTP_DEFAULT, name.constData(), job, 1);
  return 0;
}

}  // namespace platform::printing
