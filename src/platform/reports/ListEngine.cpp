#include "platform/reports/ListEngine.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <cmath>

#include "core/OutputFile.h"
#include "core/Paths.h"
#include "core/TerminationSignals.h"
#include "platform/reports/LabelEngine.h"
#include "platform/reports/ListLayoutEditor.h"
#include "platform/reports/ListLayoutFile.h"
#include "platform/reports/ListPages.h"
#include "platform/reports/PdfCheck.h"
#include "platform/reports/PrintOptionsDialog.h"
#include "platform/reports/PrintWaitBox.h"
#include "ui/Prompter.h"

namespace platform::reports {

namespace {

struct Cell {
  ListColumn column;
  ListExpression expression;
};

struct Line {
  QList<Cell> cells;
  ListExpression condition;
};

struct Text {
  ListText text;
  QList<ListExpression> paragraphs;
  ListExpression condition;
};

// An empty text prints nothing; anything else must read as an expression.
bool compileText(const QString& text, ListExpression& expression, QString& error) {
  if (text.trimmed().isEmpty()) return true;
  return expression.compile(text, error);
}

bool compileLines(const QList<ListLine>& source, QList<Line>& target, QString& error) {
  for (const ListLine& line : source) {
    Line compiled;
    if (!compileText(line.condition, compiled.condition, error)) return false;
    for (const ListColumn& column : line.columns) {
      Cell cell{column, {}};
      if (!compileText(column.expression, cell.expression, error)) return false;
      compiled.cells << cell;
    }
    target << compiled;
  }
  return true;
}

}  // namespace

struct ListEngine::Run {
  ListLayout layout;
  QString path;
  QWidget* parent = nullptr;
  QString title;
  int printOptions = 0;
  bool hideCopies = false;
  PrintSettings chosen;
  QList<Line> lines, header, footer;
  QList<Text> texts;
  QHash<int, ListExpression> layers;
  ListExpression tableCondition;
  std::unique_ptr<PrintWaitBox> box;
  QList<ListPage> pages;
  double cursor = 0;
  bool headerDone = false;
  int linesOnPage = 0;
  bool ended = false;
  ListTextMeasure measure;
};

ListValue listValue(const QString& text, unsigned type) {
  switch (type) {
    case kListNumeric: {
      bool ok = false;
      double number = text.trimmed().toDouble(&ok);
      if (!ok) number = QLocale().toDouble(text.trimmed(), &ok);
      return ListValue::ofNumber(ok ? number : 0);
    }
    case kListDate: {
      bool ok = false;
      // Days since 30/12/1899; beyond any calendar (or no number) is no date.
      const double days = text.trimmed().toDouble(&ok);
      if (!ok || !(std::fabs(days) < 1e8)) return ListValue::ofDate(QDate());
      return ListValue::ofDate(QDate(1899, 12, 30).addDays(qint64(days)));
    }
    case kListBoolean: {
      const QString t = text.trimmed().toLower();
      return ListValue::ofBoolean(t == QLatin1String("true") || t == QLatin1String("1") ||
                                  t == QLatin1String("si") || t == QLatin1String("yes"));
    }
    default:
      return ListValue::ofText(text);
  }
}

ListEngine::ListEngine(QObject* parent) : QObject(parent) {}

ListEngine::~ListEngine() = default;

void ListEngine::LlDefineVariableStart() {
  variables_.clear();
}

void ListEngine::LlDefineVariableExt(const QString& name, const QString& value, unsigned type) {
  variables_.insert(name.toLower(), listValue(value, type));
}

void ListEngine::LlDefineFieldStart() {
  fields_.clear();
}

void ListEngine::LlDefineFieldExt(const QString& name, const QString& value, unsigned type) {
  fields_.insert(name.toLower(), listValue(value, type));
}

const ListValue* ListEngine::variable(const QString& name) const {
  const auto it = variables_.constFind(name.toLower());
  return it == variables_.constEnd() ? nullptr : &*it;
}

const ListValue* ListEngine::field(const QString& name) const {
  const auto it = fields_.constFind(name.toLower());
  return it == fields_.constEnd() ? nullptr : &*it;
}

int ListEngine::fail(int code, const QString& message) {
  lastError_ = message;
  return code;
}

int ListEngine::previewPages() const {
  return run_ && run_->ended && run_->chosen.destination == Destination::Preview
             ? static_cast<int>(run_->pages.size())
             : 0;
}

void ListEngine::setValues(const QHash<QString, ListValue>& variables,
                           const QHash<QString, ListValue>& fields) {
  variables_ = variables;
  fields_ = fields;
}

const ListPage* ListEngine::page(int index) const {
  return run_ && index >= 0 && index < run_->pages.size() ? &run_->pages[index] : nullptr;
}

QSizeF ListEngine::pageSize() const {
  return run_ ? run_->layout.page : QSizeF();
}

int ListEngine::LlPrintWithBoxStart(int, const QString& projectFile, int printOptions, int boxType,
                                    QWidget* parent, const QString& title) {
  run_.reset();
  lastError_.clear();
  pagesPrinted_ = 0;
  const QString path = core::nativePath(projectFile);
  if (!QFileInfo(path).isFile())
    return fail(kListProjectMissing, QStringLiteral("File non trovato: %1").arg(projectFile));
  auto run = std::make_unique<Run>();
  QStringList lines;
  QString error;
  if (!loadListLayout(path, run->layout, lines, error)) return fail(kListProjectInvalid, error);
  const ListTable& table = run->layout.table;
  if (!compileText(table.condition, run->tableCondition, error) ||
      !compileLines(table.lines, run->lines, error) ||
      !compileLines(table.header, run->header, error) ||
      !compileLines(table.footer, run->footer, error))
    return fail(kListProjectInvalid, error);
  for (auto it = run->layout.layerConditions.cbegin(); it != run->layout.layerConditions.cend();
       ++it) {
    ListExpression condition;
    if (!compileText(it.value(), condition, error)) return fail(kListProjectInvalid, error);
    run->layers.insert(it.key(), condition);
  }
  for (const ListText& text : run->layout.texts) {
    Text compiled{text, {}, {}};
    if (!compileText(text.condition, compiled.condition, error))
      return fail(kListProjectInvalid, error);
    for (const QString& paragraph : text.expressions) {
      ListExpression expression;
      if (!compileText(paragraph, expression, error)) return fail(kListProjectInvalid, error);
      compiled.paragraphs << expression;
    }
    run->texts << compiled;
  }

  // Every name must have been defined: a layout made for other fields (or
  // for totals this print does not have) is not this query's.
  const auto defined = [this](const ListExpression& expression, QString& unknown) {
    for (const QString& name : expression.names())
      if (!variable(name) && !field(name)) {
        unknown = name;
        return false;
      }
    return true;
  };
  QString unknown;
  bool known = defined(run->tableCondition, unknown);
  for (const QList<Line>* group : {&run->lines, &run->header, &run->footer})
    for (const Line& line : *group) {
      known = known && defined(line.condition, unknown);
      for (const Cell& cell : line.cells) known = known && defined(cell.expression, unknown);
    }
  for (const Text& text : run->texts) {
    known = known && defined(text.condition, unknown);
    for (const ListExpression& paragraph : text.paragraphs)
      known = known && defined(paragraph, unknown);
  }
  if (!known) return fail(kListProjectInvalid, QStringLiteral("Campo sconosciuto: ") + unknown);

  run->path = path;
  run->parent = parent;
  run->title = title;
  run->printOptions = printOptions;
  run->chosen = settings_;
  if (batch()) {
    run->chosen.destination = Destination::PdfFile;
    run->chosen.pdfFile = pdfOutput_;
  } else if (boxType != 0) {
    run->box = std::make_unique<PrintWaitBox>(parent, title);
    run->box->show();
  }
  run_ = std::move(run);
  return 0;
}

int ListEngine::LlPrintSetOption(int option, int value) {
  if (!run_) return kListNotStarted;
  if (option == kListOptionCopies) run_->hideCopies = value == kListHideCopies;
  return 0;
}

int ListEngine::LlPrintOptionsDialog(QWidget* parent, const QString& text) {
  if (!run_) return kListNotStarted;
  if (batch()) return 0;
  PrintSettings initial = settings_;
  if (run_->printOptions & kListPrintPreview) initial.destination = Destination::Preview;
  PrintOptionsDialog dialog(parent, text, initial);
  if (run_->hideCopies) dialog.hideCopies();
  if (run_->box) run_->box->hide();
  const int answer = ui::runDialog(dialog);
  if (run_->box) run_->box->show();
  if (answer != QDialog::Accepted) return kListUserAborted;
  settings_ = dialog.settings();
  if (run_->hideCopies) settings_.copies = 1;
  run_->chosen = settings_;
  return 0;
}

int ListEngine::LlPrint() {
  if (!run_ || run_->ended) return kListNotStarted;
  if (run_->box && run_->box->stopRequested()) return kListUserAborted;
  Run& run = *run_;
  run.pages.append(ListPage{});
  ListPage& page = run.pages.last();
  const int number = static_cast<int>(run.pages.size());
  run.cursor = run.layout.table.rect.top();
  run.headerDone = false;
  run.linesOnPage = 0;
  // Text objects read variables before fields.
  const ListScope scope{[this](const QString& name) {
                          const ListValue* value = variable(name);
                          return value ? value : field(name);
                        },
                        number};
  for (const Text& text : run.texts) {
    const auto layer = run.layers.constFind(text.text.layer);
    if (layer != run.layers.constEnd() && !layer->isEmpty() && !layer->evaluate(scope).isTrue())
      continue;
    if (!text.condition.isEmpty() && !text.condition.evaluate(scope).isTrue()) continue;
    const double height = run.measure.lineHeight(text.text.font);
    double top = text.text.rect.top();
    for (const ListExpression& paragraph : text.paragraphs) {
      if (top >= text.text.rect.bottom()) break;
      const QString shown = paragraph.evaluate(scope).toText();
      for (const QString& line : run.measure.wrap(text.text.font, shown, text.text.rect.width())) {
        if (top >= text.text.rect.bottom()) break;
        page.texts.append({QRectF(text.text.rect.left(), top, text.text.rect.width(),
                                  std::min(height, text.text.rect.bottom() - top)),
                           line, text.text.font, ListAlign::Left});
        top += height;
      }
    }
  }
  return 0;
}

namespace {

struct LaidCell {
  QRectF rect;
  QStringList lines;
  const ListColumn* column;
};

}  // namespace

int ListEngine::LlPrintFields() {
  if (!run_ || run_->ended) return kListNotStarted;
  if (run_->box && run_->box->stopRequested()) return kListUserAborted;
  if (core::terminationRequested()) return kListUserAborted;
  if (run_->pages.isEmpty()) LlPrint();
  Run& run = *run_;
  const ListTable& table = run.layout.table;
  const int number = static_cast<int>(run.pages.size());
  // Columns read fields before variables.
  const ListScope scope{[this](const QString& name) {
                          const ListValue* value = field(name);
                          return value ? value : variable(name);
                        },
                        number};
  if (!run.tableCondition.isEmpty() && !run.tableCondition.evaluate(scope).isTrue()) return 0;

  // Lays a line out from `top`: its cells and its height.
  const auto layOut = [&](const Line& line, double top, QList<LaidCell>& cells) {
    double x = table.rect.left();
    double height = 0;
    for (const Cell& cell : line.cells) {
      if (x >= table.rect.right() - 0.01) break;
      const ListColumn& column = cell.column;
      const double width = std::min(column.width, table.rect.right() - x);
      const double inner = std::max(0.0, width - column.space.left() - column.space.right());
      QString text = cell.expression.evaluate(scope).toText();
      QStringList lines;
      if (column.fit) {
        lines = run.measure.wrap(column.font, text, inner);
      } else {
        text.replace(QLatin1Char('\r'), QLatin1Char(' '))
            .replace(QLatin1Char('\n'), QLatin1Char(' '));
        lines << text;
      }
      const double cellHeight = lines.size() * run.measure.lineHeight(column.font) +
                                column.space.top() + column.space.bottom();
      height = std::max(height, cellHeight);
      cells.append(
          {QRectF(x + column.space.left(), top + column.space.top(), inner, 0), lines, &column});
      x += width;
    }
    return height;
  };

  QList<QList<LaidCell>> headerCells, lineCells;
  QList<double> headerHeights, lineHeights;
  QList<int> lineIndexes;
  double needed = 0;
  if (!run.headerDone) {
    for (const Line& line : run.header) {
      if (!line.condition.isEmpty() && !line.condition.evaluate(scope).isTrue()) continue;
      headerCells.emplaceBack();
      headerHeights << layOut(line, 0, headerCells.last());
      needed += headerHeights.last();
    }
  }
  for (int i = 0; i < run.lines.size(); ++i) {
    const Line& line = run.lines[i];
    if (!line.condition.isEmpty() && !line.condition.evaluate(scope).isTrue()) continue;
    lineCells.emplaceBack();
    lineHeights << layOut(line, 0, lineCells.last());
    lineIndexes << i;
    needed += lineHeights.last();
  }
  if (lineCells.isEmpty()) return 0;
  // A page that holds no line yet takes the line whatever its height.
  if (run.cursor + needed > table.rect.bottom() + 0.001 && run.linesOnPage > 0)
    return kListPageFull;

  ListPage& page = run.pages.last();
  const auto place = [&](const QList<LaidCell>& cells, double height) {
    double right = table.rect.left();
    for (const LaidCell& cell : cells) {
      const double lineHeight = run.measure.lineHeight(cell.column->font);
      double top = run.cursor + cell.rect.top();
      for (const QString& text : cell.lines) {
        page.texts.append({QRectF(cell.rect.left(), top, cell.rect.width(), lineHeight), text,
                           cell.column->font, cell.column->align});
        top += lineHeight;
      }
      right = cell.rect.right() + cell.column->space.right();
    }
    run.cursor += height;
    return right;
  };
  for (int i = 0; i < headerCells.size(); ++i) {
    const double right = place(headerCells[i], headerHeights[i]);
    page.rules << QLineF(table.rect.left(), run.cursor, right, run.cursor);
  }
  run.headerDone = true;
  for (int i = 0; i < lineCells.size(); ++i) {
    // Lines after the first kind (totals) stand under a rule.
    const double top = run.cursor;
    const double right = place(lineCells[i], lineHeights[i]);
    if (lineIndexes[i] > 0) page.rules << QLineF(table.rect.left(), top, right, top);
  }
  ++run.linesOnPage;
  return 0;
}

int ListEngine::LlPrintFieldsEnd() {
  if (!run_ || run_->ended) return kListNotStarted;
  return 0;
}

int ListEngine::LlPrintSetBoxText(const QString& text, int percentage) {
  if (!run_) return kListNotStarted;
  if (run_->box) {
    run_->box->setStatusText(text);
    run_->box->setProgress(percentage);
    QCoreApplication::processEvents(QEventLoop::ExcludeSocketNotifiers);
    if (run_->box->stopRequested()) return kListUserAborted;
  }
  return core::terminationRequested() ? kListUserAborted : 0;
}

int ListEngine::LlPrintEnd(int) {
  if (!run_ || run_->ended) return kListNotStarted;
  run_->ended = true;
  run_->box.reset();
  if (run_->pages.isEmpty()) return 0;
  if (run_->chosen.destination == Destination::Preview) return 0;
  const int result = deliver();
  if (result != 0 && !batch()) ui::error(lastError_);
  return result;
}

int ListEngine::deliver() {
  Run& run = *run_;
  const bool toPdf = run.chosen.destination == Destination::PdfFile;
  QPrinter printer(QPrinter::HighResolution);
  std::unique_ptr<core::OutputFile> pdf;
  if (toPdf) {
    pdf = std::make_unique<core::OutputFile>(run.chosen.pdfFile);
    if (!pdf->open())
      return fail(kListOutputFailed,
                  QStringLiteral("Impossibile scrivere il file PDF %1").arg(run.chosen.pdfFile));
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf->temporaryPath());
  } else {
    QString name = run.chosen.printer;
    if (name.isEmpty()) name = defaultLabelPrinter();
    if (name.isEmpty())
      return fail(kListOutputFailed, QStringLiteral("Nessuna stampante disponibile"));
    printer.setPrinterName(name);
    printer.setCopyCount(std::max(1, run.chosen.copies));
  }
  printer.setDocName(run.title);
  printer.setCreator(QStringLiteral("Orbelan"));
  setUpListPrinter(printer, run.layout.page);
  QPainter painter;
  if (!painter.begin(&printer))
    return fail(
        kListOutputFailed,
        toPdf
            ? QStringLiteral("Impossibile scrivere il file PDF %1").arg(run.chosen.pdfFile)
            : QStringLiteral("Impossibile stampare sulla stampante %1").arg(printer.printerName()));
  const double dotsPerMm = printer.resolution() / 25.4;
  bool ok = true;
  bool stopped = false;
  for (int i = 0; i < run.pages.size() && ok && !stopped; ++i) {
    // A termination signal abandons the document between pages: the PDF's
    // temporary file goes, a printer job is aborted.
    stopped = core::terminationRequested();
    if (stopped) continue;
    if (i > 0) ok = printer.newPage();
    paintListPage(painter, run.pages[i], dotsPerMm);
  }
  if (stopped) {
    if (!toPdf) printer.abort();
    painter.end();
    return fail(kListUserAborted, QStringLiteral("Stampa interrotta"));
  }
  ok = painter.end() && ok && printer.printerState() != QPrinter::Error;
  if (toPdf) ok = ok && pdfIsWhole(pdf->temporaryPath()) && pdf->commit();
  if (!ok)
    return fail(kListOutputFailed,
                toPdf ? QStringLiteral("Errore durante la scrittura del file PDF %1: %2")
                            .arg(run.chosen.pdfFile, pdf->error())
                      : QStringLiteral("Errore durante la stampa sulla stampante %1")
                            .arg(printer.printerName()));
  pagesPrinted_ = static_cast<int>(run.pages.size());
  return 0;
}

int ListEngine::LlPreviewDisplay(const QString&, const QString&, QWidget* parent) {
  if (previewPages() == 0) return 0;
  Run& run = *run_;
  QPrinter printer(QPrinter::HighResolution);
  const QString name = run.chosen.printer.isEmpty() ? defaultLabelPrinter() : run.chosen.printer;
  if (name.isEmpty())
    printer.setOutputFormat(QPrinter::PdfFormat);
  else
    printer.setPrinterName(name);
  printer.setDocName(run.title);
  setUpListPrinter(printer, run.layout.page);
  QPrintPreviewDialog dialog(&printer, parent);
  dialog.setObjectName(QStringLiteral("ListPreviewDialog"));
  dialog.setWindowTitle(run.title);
  connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&run](QPrinter* target) {
    QPainter painter(target);
    const double dotsPerMm = target->resolution() / 25.4;
    for (int i = 0; i < run.pages.size(); ++i) {
      if (i > 0) target->newPage();
      paintListPage(painter, run.pages[i], dotsPerMm);
    }
  });
  ui::runDialog(dialog);
  return 0;
}

int ListEngine::LlPreviewDeleteFiles(const QString&, const QString&) {
  // The preview's pages live in memory: dropping them is all there is.
  if (run_ && run_->ended) run_.reset();
  return 0;
}

int ListEngine::LlDefineLayout(QWidget* parent, const QString& title, int,
                               const QString& projectFile) {
  const QString path = core::nativePath(projectFile);
  if (!QFileInfo(path).isFile())
    return fail(kListProjectMissing, QStringLiteral("File non trovato: %1").arg(projectFile));
  if (designHandler_) designHandler_();
  QString error;
  if (!editListLayout(parent, title, path, variables_, fields_, error)) {
    lastError_ = error;
    if (!error.isEmpty()) ui::error(error);
    return kListProjectInvalid;
  }
  return 0;
}

}  // namespace platform::reports
