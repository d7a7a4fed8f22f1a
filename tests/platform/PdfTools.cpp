#include "PdfTools.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace pdftools {

namespace {

QString run(const QString& program, const QStringList& arguments, bool mayFail = false) {
  QProcess process;
  process.start(program, arguments);
  if (!process.waitForStarted()) {
    ADD_FAILURE() << program.toStdString() << " is not installed (scripts/install-deps.sh)";
    return {};
  }
  process.waitForFinished(60000);
  if (!mayFail && process.exitCode() != 0)
    ADD_FAILURE() << program.toStdString()
                  << " failed: " << process.readAllStandardError().toStdString();
  return QString::fromUtf8(process.readAllStandardOutput());
}

QString info(const QString& pdf, const QString& key) {
  const QRegularExpression line(QStringLiteral("^%1:\\s*(.*)$").arg(key),
                                QRegularExpression::MultilineOption);
  return line.match(run(QStringLiteral("pdfinfo"), {pdf})).captured(1).trimmed();
}

}  // namespace

QString text(const QString& pdf) {
  return run(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
}

int pages(const QString& pdf) {
  return info(pdf, QStringLiteral("Pages")).toInt();
}

QSizeF pageSizeMm(const QString& pdf) {
  // "226.772 x 141.732 pts"
  const QStringList parts = info(pdf, QStringLiteral("Page size")).split(' ');
  if (parts.size() < 3) return {};
  constexpr double kMmPerPoint = 25.4 / 72;
  return QSizeF(parts.at(0).toDouble() * kMmPerPoint, parts.at(2).toDouble() * kMmPerPoint);
}

QStringList barcodes(const QString& pdf, int page) {
  QTemporaryDir dir;
  const QString base = dir.filePath(QStringLiteral("page"));
  const QString number = QString::number(page);
  run(QStringLiteral("pdftoppm"),
      {QStringLiteral("-r"), QStringLiteral("300"), QStringLiteral("-f"), number,
       QStringLiteral("-l"), number, QStringLiteral("-singlefile"), QStringLiteral("-png"), pdf,
       base});
  // zbarimg exits with 4 when it finds no barcode; that is an answer too.
  QStringList values =
      run(QStringLiteral("zbarimg"),
          {QStringLiteral("--raw"), QStringLiteral("-q"), base + QStringLiteral(".png")}, true)
          .split('\n', Qt::SkipEmptyParts);
  values.sort();
  return values;
}

}  // namespace pdftools
