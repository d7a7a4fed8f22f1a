#include "platform/reports/ListLayoutEditor.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QVBoxLayout>

#include "core/OutputFile.h"
#include "platform/reports/ListEngine.h"
#include "platform/reports/ListLayoutFile.h"
#include "platform/reports/ListPages.h"
#include "ui/Prompter.h"

namespace platform::reports {

namespace {

// Rows of sample data the preview prints.
constexpr int kPreviewRows = 5;

QString replaceValue(const QString& line, const QString& key, const QString& value) {
  QString result = line;
  const QRegularExpression pattern(QStringLiteral("([ ,]") + QRegularExpression::escape(key) +
                                   QStringLiteral("=)[^,]*"));
  const QRegularExpressionMatch match = pattern.match(result);
  if (!match.hasMatch()) return result;
  return result.replace(match.capturedStart(), match.capturedLength(), match.captured(1) + value);
}

QString thousandths(double millimetres) {
  return QString::number(qRound(millimetres * 1000));
}

// "(l,t,r,b)" with r and b exchanged.
QString swappedRect(const QRectF& rect) {
  return QStringLiteral("(%1,%2,%3,%4)")
      .arg(thousandths(rect.left()), thousandths(rect.top()), thousandths(rect.bottom()),
           thousandths(rect.right()));
}

}  // namespace

ListLayoutEditor::ListLayoutEditor(QWidget* parent, const QString& title, QString nativePath,
                                   QStringList lines, QHash<QString, ListValue> variables,
                                   QHash<QString, ListValue> fields)
    : QDialog(parent),
      path_(std::move(nativePath)),
      lines_(std::move(lines)),
      variables_(std::move(variables)),
      fields_(std::move(fields)) {
  setObjectName(QStringLiteral("ListLayoutEditor"));
  setWindowTitle(title);
  table_ = new QTableWidget(0, 2, this);
  table_->setObjectName(QStringLiteral("ColumnTable"));
  table_->setHorizontalHeaderLabels({QStringLiteral("Titolo"), QStringLiteral("Larghezza (mm)")});
  table_->horizontalHeader()->setStretchLastSection(true);
  orientation_ = new QComboBox(this);
  orientation_->setObjectName(QStringLiteral("OrientationBox"));
  orientation_->addItems({QStringLiteral("Verticale"), QStringLiteral("Orizzontale")});
  auto* font = new QPushButton(QStringLiteral("&Carattere..."), this);
  font->setObjectName(QStringLiteral("FontButton"));
  preview_ = new QLabel(this);
  preview_->setObjectName(QStringLiteral("PreviewLabel"));
  preview_->setMinimumSize(300, 420);
  preview_->setAlignment(Qt::AlignCenter);

  auto* buttons = new QDialogButtonBox(this);
  QPushButton* saveButton =
      buttons->addButton(QStringLiteral("&Salva"), QDialogButtonBox::AcceptRole);
  saveButton->setObjectName(QStringLiteral("SaveButton"));
  QPushButton* cancel = buttons->addButton(QStringLiteral("Annulla"), QDialogButtonBox::RejectRole);
  cancel->setObjectName(QStringLiteral("CancelButton"));
  connect(saveButton, &QPushButton::clicked, this, [this] {
    if (save()) accept();
  });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(font, &QPushButton::clicked, this, &ListLayoutEditor::chooseFont);
  connect(orientation_, &QComboBox::currentIndexChanged, this,
          [this](int index) { setLandscape(index == 1); });
  connect(table_, &QTableWidget::cellChanged, this, [this](int row, int column) {
    if (filling_ || column != 0) return;
    setColumnTitle(row, table_->item(row, 0)->text());
  });

  auto* side = new QVBoxLayout;
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("Orientamento:"), orientation_);
  side->addLayout(form);
  side->addWidget(font);
  side->addWidget(table_, 1);
  auto* main = new QHBoxLayout;
  main->addLayout(side, 1);
  main->addWidget(preview_, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(main, 1);
  layout->addWidget(buttons);
  reparse();
  fillTable();
  refreshPreview();
}

void ListLayoutEditor::reparse() {
  ListLayout parsed;
  QString error;
  if (parseListLayout(listLayoutBytes(lines_), parsed, error)) layout_ = parsed;
}

const QList<ListColumn>* ListLayoutEditor::titleColumns() const {
  if (!layout_.table.header.isEmpty()) return &layout_.table.header.first().columns;
  if (!layout_.table.lines.isEmpty()) return &layout_.table.lines.first().columns;
  return nullptr;
}

int ListLayoutEditor::columnCount() const {
  const QList<ListColumn>* columns = titleColumns();
  return columns ? static_cast<int>(columns->size()) : 0;
}

void ListLayoutEditor::fillTable() {
  filling_ = true;
  const QList<ListColumn>* columns = titleColumns();
  table_->setRowCount(columnCount());
  for (int i = 0; i < columnCount(); ++i) {
    QString title = columns->at(i).expression;
    if (title.size() >= 2 && title.startsWith(QLatin1Char('"')) && title.endsWith(QLatin1Char('"')))
      title = title.mid(1, title.size() - 2);
    table_->setItem(i, 0, new QTableWidgetItem(title));
    auto* width = new QDoubleSpinBox(table_);
    width->setObjectName(QStringLiteral("WidthBox%1").arg(i));
    width->setRange(1, 400);
    width->setDecimals(1);
    width->setValue(columns->at(i).width);
    connect(width, &QDoubleSpinBox::valueChanged, this, [this, i](double value) {
      if (!filling_) setColumnWidth(i, value);
    });
    table_->setCellWidget(i, 1, width);
  }
  const QSignalBlocker blocker(orientation_);
  orientation_->setCurrentIndex(layout_.page.width() > layout_.page.height() ? 1 : 0);
  filling_ = false;
}

void ListLayoutEditor::setColumnWidth(int column, double millimetres) {
  if (column < 0 || column >= columnCount() || millimetres <= 0) return;
  // The column of that place in every line, so that the lines stay aligned.
  for (const QList<ListLine>* group :
       {&layout_.table.header, &layout_.table.lines, &layout_.table.footer})
    for (const ListLine& line : *group)
      if (column < line.columns.size() && line.columns[column].sourceLine >= 0) {
        QString& text = lines_[line.columns[column].sourceLine];
        text = replaceValue(text, QStringLiteral("Width"), thousandths(millimetres));
      }
  reparse();
  refreshPreview();
}

void ListLayoutEditor::setColumnTitle(int column, const QString& title) {
  if (layout_.table.header.isEmpty()) return;
  const QList<ListColumn>& columns = layout_.table.header.first().columns;
  if (column < 0 || column >= columns.size() || columns[column].sourceLine < 0) return;
  QString& text = lines_[columns[column].sourceLine];
  const QString quote = QString(QChar(0x00A8));
  const qsizetype start = text.indexOf(QStringLiteral("Text=") + quote);
  if (start < 0) return;
  QString plain = title;
  plain.remove(QLatin1Char('"')).remove(QChar(0x00A8));
  text = text.left(start + 6) + QLatin1Char('"') + plain + QLatin1Char('"') + quote;
  reparse();
  refreshPreview();
}

void ListLayoutEditor::setLandscape(bool landscape) {
  const bool now = layout_.page.width() > layout_.page.height();
  if (now == landscape) return;
  // Sizes exchanged, the list's rectangle turned with the page, objects
  // below the list kept at their distance from its bottom right corner.
  for (const int at : layout_.sizeLines) {
    QString& line = lines_[at];
    if (line.contains(QLatin1String("xSize=")))
      line = replaceValue(line, QStringLiteral("xSize"), thousandths(layout_.page.height()));
    else
      line = replaceValue(line, QStringLiteral("ySize"), thousandths(layout_.page.width()));
  }
  for (const int at : layout_.orientationLines)
    lines_[at] = replaceValue(lines_[at], QStringLiteral("Orientation"),
                              landscape ? QStringLiteral("2") : QStringLiteral("1"));
  const QRectF table = layout_.table.rect;
  if (layout_.rectLine >= 0)
    lines_[layout_.rectLine] = QStringLiteral(" Rect=") + swappedRect(table);
  const double dx = table.bottom() - table.right();
  const double dy = table.right() - table.bottom();
  for (int at = 0; at < lines_.size(); ++at) {
    if (at == layout_.rectLine || !lines_[at].startsWith(QLatin1String(" Rect="))) continue;
    QRectF rect;
    const QStringList parts = lines_[at].mid(7).chopped(1).split(QLatin1Char(','));
    if (parts.size() != 4) continue;
    rect = QRectF(QPointF(parts[0].toDouble() / 1000, parts[1].toDouble() / 1000),
                  QPointF(parts[2].toDouble() / 1000, parts[3].toDouble() / 1000));
    if (rect.top() < table.bottom()) continue;
    rect.translate(dx, dy);
    lines_[at] = QStringLiteral(" Rect=(%1,%2,%3,%4)")
                     .arg(thousandths(rect.left()), thousandths(rect.top()),
                          thousandths(rect.right()), thousandths(rect.bottom()));
  }
  reparse();
  const QSignalBlocker blocker(orientation_);
  orientation_->setCurrentIndex(landscape ? 1 : 0);
  refreshPreview();
}

void ListLayoutEditor::setListFont(const ListFont& font) {
  if (layout_.fontLine < 0) return;
  lines_[layout_.fontLine] = QStringLiteral(" Font=") + listFontText(font);
  reparse();
  refreshPreview();
}

void ListLayoutEditor::chooseFont() {
  QFont initial = printFont(layout_.table.font);
  const std::optional<QFont> chosen = ui::prompter().chooseFont(this, initial);
  if (!chosen) return;
  ListFont font = layout_.table.font;
  font.name = chosen->family();
  font.pointSize = chosen->pointSizeF() > 0 ? chosen->pointSizeF() : font.pointSize;
  font.bold = chosen->bold();
  font.italic = chosen->italic();
  font.underline = chosen->underline();
  font.strikeout = chosen->strikeOut();
  setListFont(font);
}

bool ListLayoutEditor::save() {
  core::OutputFile file(path_);
  if (file.open() && file.write(listLayoutBytes(lines_)) && file.commit()) return true;
  ui::error(QStringLiteral("Impossibile salvare il report %1: %2").arg(path_, file.error()));
  return false;
}

QImage ListLayoutEditor::previewImage(int width) const {
  // The edited project printed into memory with the sample values.
  QTemporaryDir dir;
  const QString file = dir.path() + QStringLiteral("/anteprima.lst");
  {
    core::OutputFile out(file);
    if (!out.open() || !out.write(listLayoutBytes(lines_)) || !out.commit()) return {};
  }
  ListEngine engine;
  engine.setValues(variables_, fields_);
  engine.setPdfOutput(dir.path() + QStringLiteral("/anteprima.pdf"));
  if (engine.LlPrintWithBoxStart(kListProjectType, file, 0, 0, nullptr, {}) != 0) return {};
  engine.LlPrint();
  for (int i = 0; i < kPreviewRows; ++i)
    if (engine.LlPrintFields() != 0) break;
  const ListPage* page = engine.page(0);
  const QSizeF size = engine.pageSize();
  if (!page || size.width() <= 0) return {};
  const double dotsPerMm = width / size.width();
  QImage image(width, int(size.height() * dotsPerMm), QImage::Format_RGB32);
  image.fill(Qt::white);
  image.setDotsPerMeterX(int(dotsPerMm * 1000));
  image.setDotsPerMeterY(int(dotsPerMm * 1000));
  QPainter painter(&image);
  paintListPage(painter, *page, dotsPerMm);
  return image;
}

void ListLayoutEditor::refreshPreview() {
  preview_->setPixmap(QPixmap::fromImage(previewImage(preview_->minimumWidth())));
}

bool editListLayout(QWidget* parent, const QString& title, const QString& nativePath,
                    const QHash<QString, ListValue>& variables,
                    const QHash<QString, ListValue>& fields, QString& error) {
  ListLayout layout;
  QStringList lines;
  if (!loadListLayout(nativePath, layout, lines, error)) return false;
  ListLayoutEditor editor(parent, title, nativePath, lines, variables, fields);
  ui::runDialog(editor);
  return true;
}

}  // namespace platform::reports
