#include "DemoReports.h"

#include "DemoLabels.h"

namespace host {

QStringList installDemoReports(const QString& reportDir, QString* error) {
  return installDemoFiles(QStringLiteral("report"), {}, reportDir, error);
}

}  // namespace host
