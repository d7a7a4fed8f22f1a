#include "platform/crystal/PrintEngine.h"

#include <QEventLoop>

#include "core/Paths.h"
#include "platform/crystal/ChartWindow.h"
#include "platform/crystal/Formula.h"
#include "platform/crystal/TextReportWindow.h"
#include "platform/localstore/LocalTable.h"

namespace platform::crystal {

namespace {

// The longest table location the location record holds.
constexpr int kMaxLocation = 255;

}  // namespace

PrintEngine::~PrintEngine() = default;

bool PrintEngine::fail(const QString& message) {
  error_ = message;
  return false;
}

PrintEngine::Job* PrintEngine::find(int job) {
  const auto found = jobs_.find(job);
  if (found == jobs_.end()) {
    fail(QStringLiteral("il lavoro di stampa %1 non è aperto").arg(job));
    return nullptr;
  }
  return &found->second;
}

int PrintEngine::openPrintJob(const QString& reportPath) {
  error_.clear();
  Job job;
  job.path = core::nativePath(reportPath);
  if (!loadReportFile(job.path, job.report, error_, &missing_)) return 0;
  for (const auto& [name, text] : job.report.formulas) job.formulas.insert(name, text);
  jobs_.emplace(++lastJob_, std::move(job));
  return lastJob_;
}

bool PrintEngine::setNthTableLocation(int job, int index, const QString& location) {
  Job* found = find(job);
  if (!found) return false;
  if (index < 0) return fail(QStringLiteral("tabella %1 inesistente").arg(index));
  if (location.size() > kMaxLocation)
    return fail(QStringLiteral("il percorso della tabella %1 è troppo lungo (%2 caratteri, al "
                               "massimo %3)")
                    .arg(location)
                    .arg(location.size())
                    .arg(kMaxLocation));
  found->tables.insert(index, location);
  return true;
}

bool PrintEngine::setFormula(int job, const QString& name, const QString& text) {
  Job* found = find(job);
  if (!found) return false;
  for (auto it = found->formulas.begin(); it != found->formulas.end(); ++it) {
    if (it.key().compare(name, Qt::CaseInsensitive) != 0) continue;
    if (!formulaValue(text))
      return fail(QStringLiteral("la formula %1 non è un testo tra apici: %2").arg(name, text));
    it.value() = text;
    return true;
  }
  return fail(QStringLiteral("il report %1 non definisce la formula %2").arg(found->path, name));
}

bool PrintEngine::outputToWindow(int job, const QString& title, int left, int top, int width,
                                 int height, int style, QWidget* parent) {
  (void)style;  // the window's style is the engine's own
  Job* found = find(job);
  if (!found) return false;
  found->destination = Destination::Window;
  found->title = title;
  found->left = left;
  found->top = top;
  found->width = width;
  found->height = height;
  found->parent = parent;
  return true;
}

bool PrintEngine::outputToFile(int job, const QString& path) {
  Job* found = find(job);
  if (!found) return false;
  found->destination = Destination::File;
  found->file = path;
  return true;
}

bool PrintEngine::startPrintJob(int job, bool waitUntilDone) {
  Job* found = find(job);
  if (!found) return false;
  if (found->destination == Destination::None)
    return fail(QStringLiteral("il lavoro di stampa %1 non ha una destinazione").arg(job));
  switch (found->report.kind) {
    case ReportKind::Chart:
      return startChart(*found, waitUntilDone);
    case ReportKind::Text:
      return startText(*found, waitUntilDone);
  }
  return false;
}

bool PrintEngine::startChart(Job& job, bool waitUntilDone) {
  if (!job.tables.contains(0))
    return fail(QStringLiteral("il report %1 non ha la posizione della tabella 0").arg(job.path));
  const QString location = job.tables.value(0);
  localstore::LocalColumns columns;
  QList<QVariantList> rows;
  QString problem;
  ChartContent content;
  content.definition = job.report.chart;
  if (!localstore::readLocalTable(core::storedDirectory(location), core::storedFileName(location),
                                  &columns, &rows, &problem) ||
      !chartPoints(columns, rows, content.points, problem))
    return fail(problem);
  const auto formula = [&](const char* name) {
    return formulaValue(job.formulas.value(QLatin1String(name))).value_or(QString());
  };
  content.texts = {formula("Titolo"), formula("DescrizioneX"), formula("DescrizioneY"),
                   formula("DescrizioneZ")};

  if (job.destination == Destination::File) {
    return saveChart(content, job.file, QSizeF(kFileChartWidth, kFileChartHeight), problem) ||
           fail(problem);
  }
  auto* window = new ChartWindow(content, job.title, job.parent);
  windows_.append(window);
  window->resize(700, 450);
  showWindow(window, job, waitUntilDone);
  return true;
}

bool PrintEngine::startText(Job& job, bool waitUntilDone) {
  for (int table : {0, 1})
    if (!job.tables.contains(table))
      return fail(QStringLiteral("il report %1 non ha la posizione della tabella %2")
                      .arg(job.path)
                      .arg(table));
  QList<TextPage> pages;
  QString problem;
  if (!readTextPages(job.tables.value(0), job.tables.value(1), pages, problem))
    return fail(problem);
  if (job.destination == Destination::File) {
    if (!job.file.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
      return fail(QStringLiteral("%1: la stampa si salva come documento .pdf").arg(job.file));
    return saveTextReport(job.report.text, pages, job.file, problem) || fail(problem);
  }
  auto* window = new TextReportWindow(job.report.text, std::move(pages), job.title, job.parent);
  textWindows_.append(window);
  window->resize(800, 900);
  showWindow(window, job, waitUntilDone);
  return true;
}

void PrintEngine::showWindow(QWidget* window, const Job& job, bool waitUntilDone) {
  if (job.left != kDefaultPlace && job.top != kDefaultPlace) window->move(job.left, job.top);
  if (job.width > 0 && job.height > 0) window->resize(job.width, job.height);
  window->show();
  if (waitUntilDone) {
    QEventLoop loop;
    QObject::connect(window, &QObject::destroyed, &loop, &QEventLoop::quit);
    loop.exec();
  }
}

bool PrintEngine::closePrintJob(int job) {
  if (!find(job)) return false;
  jobs_.erase(job);
  return true;
}

QList<ChartWindow*> PrintEngine::windows() const {
  QList<ChartWindow*> open;
  for (const QPointer<ChartWindow>& window : windows_)
    if (window) open.append(window.data());
  return open;
}

QList<TextReportWindow*> PrintEngine::textWindows() const {
  QList<TextReportWindow*> open;
  for (const QPointer<TextReportWindow>& window : textWindows_)
    if (window) open.append(window.data());
  return open;
}

}  // namespace platform::crystal
