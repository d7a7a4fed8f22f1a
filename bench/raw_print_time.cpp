// Raw jobs through a private CUPS scheduler to a socket printer played by
// this program: how many jobs per second the printing layer hands to the
// queue, and, as the reference, how long CUPS takes to accept the same number
// of raw jobs submitted with `lp -o raw`. For both, the time until the last
// job reached the printer.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

#include "platform/printing/RawPrintJob.h"
#include "support/PrivateCups.h"
#include "support/SocketPrinter.h"

namespace {

// A thermal label as a ZPL printer receives it, about 200 bytes.
const QByteArray kLabel =
    "^XA\r\n^CI28\r\n^FO40,30^A0N,30,30^FDL\xb4"
    "ABITO BLU - TG 48^FS\r\n"
    "^FO40,70^A0N,24,24^FDMod. 1234 Var. 07^FS\r\n"
    "^FO40,110^BY2^BCN,80,Y,N,N^FD8012345678901234^FS\r\n"
    "^FO40,230^A0N,22,22^FDOrdine 2024/117^FS\r\n^XZ\r\n";

double seconds(const QElapsedTimer& timer) {
  return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

bool delivered(SocketPrinter& printer, qsizetype total, int timeoutMs) {
  return printer.waitForJobs(static_cast<int>(total), timeoutMs).size() >= total;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const int jobs = argc > 1 ? std::max(1, atoi(argv[1])) : 1000;
  const int deliveryTimeoutMs = 600000;

  SocketPrinter printer;
  PrivateCups cups;
  if (!cups.isRunning()) {
    std::fprintf(stderr, "no private CUPS scheduler: %s\n", qPrintable(cups.error()));
    return 1;
  }
  if (printer.port() == 0 || !cups.addRawQueue(QStringLiteral("Termica"), printer.port())) {
    std::fprintf(stderr, "no raw queue: %s\n", qPrintable(cups.error()));
    return 1;
  }
  platform::printing::RawPrinter termica(QStringLiteral("Termica"));
  if (!termica.acceptsRaw() || termica.print(QStringLiteral("prova"), kLabel) == 0 ||
      !delivered(printer, 1, 30000)) {
    std::fprintf(stderr, "warm-up job failed: %s\n", qPrintable(termica.error()));
    return 1;
  }
  qsizetype expected = 1;

  // Through the printing layer.
  QElapsedTimer timer;
  timer.start();
  for (int i = 0; i < jobs; ++i) {
    if (termica.print(QStringLiteral("Etichetta %1").arg(i + 1), kLabel) == 0) {
      std::fprintf(stderr, "job %d refused: %s\n", i + 1, qPrintable(termica.error()));
      return 1;
    }
  }
  const double layerAccepted = seconds(timer);
  expected += jobs;
  if (!delivered(printer, expected, deliveryTimeoutMs)) {
    std::fprintf(stderr, "only %lld of %lld jobs reached the printer\n",
                 static_cast<long long>(printer.jobs().size()), static_cast<long long>(expected));
    return 1;
  }
  const double layerDelivered = seconds(timer);

  // The reference: the same jobs submitted with lp.
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("label.zpl"));
  {
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(kLabel) != kLabel.size()) return 1;
  }
  // One shell running lp in a loop, as a person would submit them.
  const QString loop = QStringLiteral(
      "i=0; while [ $i -lt %1 ]; do lp -d Termica -o raw -t Etichetta \"$1\" >/dev/null || exit 1; "
      "i=$((i+1)); done");
  timer.restart();
  if (!cups.run(QStringLiteral("sh"),
                {QStringLiteral("-c"), loop.arg(jobs), QStringLiteral("sh"), file}, {},
                deliveryTimeoutMs)) {
    std::fprintf(stderr, "%s\n", qPrintable(cups.error()));
    return 1;
  }
  const double lpAccepted = seconds(timer);
  expected += jobs;
  if (!delivered(printer, expected, deliveryTimeoutMs)) {
    std::fprintf(stderr, "only %lld of %lld lp jobs reached the printer\n",
                 static_cast<long long>(printer.jobs().size()), static_cast<long long>(expected));
    return 1;
  }
  const double lpDelivered = seconds(timer);

  const QList<QByteArray> received = printer.jobs();
  const bool unchanged = std::all_of(received.begin(), received.end(),
                                     [](const QByteArray& job) { return job == kLabel; });
  std::printf("%d raw jobs of %lld bytes, private CUPS raw queue to a socket printer\n", jobs,
              static_cast<long long>(kLabel.size()));
  std::printf("printing layer: accepted in %.2f s (%.0f jobs/s), all printed after %.2f s\n",
              layerAccepted, jobs / layerAccepted, layerDelivered);
  std::printf("lp -o raw:      accepted in %.2f s (%.0f jobs/s), all printed after %.2f s\n",
              lpAccepted, jobs / lpAccepted, lpDelivered);
  std::printf("bytes unchanged at the printer: %s\n", unchanged ? "yes" : "NO");
  return unchanged ? 0 : 1;
}
