#include "query/designer/RangeForm.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "core/Dates.h"
#include "ui/EditData.h"
#include "ui/Prompter.h"

using query::designer::RangeKind;

namespace {

// Writes a box that reads as a date in the short date form; false when the
// box holds something else. An empty box is left alone and counts as good.
bool normaliseDate(QLineEdit& box) {
  if (box.text().isEmpty()) return true;
  const QDate date = core::parseShortDate(box.text());
  if (!date.isValid()) return false;
  box.setText(core::shortDate(date));
  return true;
}

}  // namespace

TRangeForm::TRangeForm(RangeKind kind, QWidget* parent)
    : DesignerDialog(QStringLiteral("RangeForm"), QStringLiteral("Range Valori"), parent),
      edit1_(new QLineEdit(this)),
      edit2_(new QLineEdit(this)),
      editData1_(new TEditData(this)),
      editData2_(new TEditData(this)) {
  edit1_->setObjectName(QStringLiteral("Edit1"));
  edit2_->setObjectName(QStringLiteral("Edit2"));
  editData1_->setObjectName(QStringLiteral("EditData1"));
  editData2_->setObjectName(QStringLiteral("EditData2"));

  const bool dates = kind == RangeKind::Data;
  edit1_->setVisible(!dates);
  edit2_->setVisible(!dates);
  editData1_->setVisible(dates);
  editData2_->setVisible(dates);
  setFirstFocus(dates ? static_cast<QLineEdit*>(editData1_) : edit1_);
  editData1_->installEventFilter(this);
  editData2_->installEventFilter(this);

  auto* bounds = new QGridLayout;
  bounds->addWidget(new QLabel(QStringLiteral("iniziale:"), this), 0, 0);
  bounds->addWidget(edit1_, 0, 1);
  bounds->addWidget(editData1_, 0, 1);
  bounds->addWidget(new QLabel(QStringLiteral("finale  :"), this), 1, 0);
  bounds->addWidget(edit2_, 1, 1);
  bounds->addWidget(editData2_, 1, 1);
  bounds->setColumnMinimumWidth(1, 160);

  contents()->addWidget(new QLabel(QStringLiteral("Inserisci i valori dell' intervallo"), this));
  contents()->addLayout(bounds);
  layout()->setSizeConstraint(QLayout::SetFixedSize);
}

bool TRangeForm::eventFilter(QObject* watched, QEvent* event) {
  // Leaving a date box shows what it will mean; a text that is no date
  // stays as typed, for OK to refuse.
  if (event->type() == QEvent::FocusOut) {
    if (auto* box = qobject_cast<QLineEdit*>(watched)) normaliseDate(*box);
  }
  return DesignerDialog::eventFilter(watched, event);
}

void TRangeForm::confirm() {
  bool valid = true;
  // Compared as text, character by character, as the bounds are typed.
  if (!edit1_->text().isEmpty() && !edit2_->text().isEmpty() && edit1_->text() > edit2_->text())
    valid = false;
  // Both boxes are rewritten even when the first is wrong.
  const bool firstDate = normaliseDate(*editData1_);
  const bool secondDate = normaliseDate(*editData2_);
  valid = valid && firstDate && secondDate;

  if (valid) {
    done(ui::ResultOk);
    return;
  }
  ui::warning(QStringLiteral("Impostare correttamente i valori del range"));
  done(ui::ResultUnset);
}
