#include "query/designer/BloccaQForm.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "query/designer/DesignerRowsModel.h"
#include "ui/Prompter.h"

using namespace query;

TBloccaQForm::TBloccaQForm(model::RowList& rows, model::DesignerFlags& flags, const QString& ditta,
                           QWidget* parent)
    : DesignerDialog(QStringLiteral("BloccaQForm"),
                     QStringLiteral("Elaborazione Blocco/Sblocco query - Ditta: ") + ditta, parent),
      rows_(rows),
      flags_(flags),
      lock_(model::currentLock(rows)),
      checkBloccata_(new QCheckBox(QStringLiteral("Query bloccata"), this)),
      checkChiave_(new QCheckBox(QStringLiteral("Blocco con chiave"), this)),
      panelChiave_(new QWidget(this)),
      editChiave_(new QLineEdit(panelChiave_)),
      buttonAccetta_(new QPushButton(QStringLiteral("&Accetta chiave"), panelChiave_)) {
  checkBloccata_->setObjectName(QStringLiteral("CheckBloccata"));
  checkChiave_->setObjectName(QStringLiteral("CheckChiave"));
  panelChiave_->setObjectName(QStringLiteral("PanelChiave"));
  editChiave_->setObjectName(QStringLiteral("EditChiave"));
  buttonAccetta_->setObjectName(QStringLiteral("ButtonAccettaChiave"));
  editChiave_->setMaxLength(6);

  auto* key = new QHBoxLayout(panelChiave_);
  key->setContentsMargins(0, 0, 0, 0);
  key->addWidget(new QLabel(QStringLiteral("Chiave:"), panelChiave_));
  key->addWidget(editChiave_);
  key->addWidget(buttonAccetta_);
  contents()->addWidget(checkBloccata_);
  contents()->addWidget(checkChiave_);
  contents()->addWidget(panelChiave_);

  const bool keyed = lock_.state == model::LockState::Keyed;
  checkBloccata_->setChecked(lock_.state != model::LockState::None);
  checkChiave_->setChecked(keyed);
  checkChiave_->setVisible(lock_.state != model::LockState::None);
  panelChiave_->setVisible(keyed);
  // A keyed lock changes only after its key has been given.
  checkBloccata_->setEnabled(!keyed);
  checkChiave_->setEnabled(!keyed);

  connect(checkBloccata_, &QCheckBox::toggled, checkChiave_, &QWidget::setVisible);
  connect(checkChiave_, &QCheckBox::toggled, this, [this](bool checked) {
    panelChiave_->setVisible(checked);
    checkBloccata_->setEnabled(!checked);
  });
  connect(buttonAccetta_, &QPushButton::clicked, this, &TBloccaQForm::accettaChiave);
}

void TBloccaQForm::accettaChiave() {
  const model::KeyAcceptance result = model::acceptKey(lock_, editChiave_->text());
  keyAccepted_ = result.accepted;
  if (result.accepted && lock_.state == model::LockState::Keyed) {
    checkChiave_->setEnabled(true);
    editChiave_->setReadOnly(true);
    QPalette palette = editChiave_->palette();
    palette.setColor(QPalette::Base, designer::DesignerRowsModel::kindColour(model::Mostra::Shown));
    editChiave_->setPalette(palette);
    buttonAccetta_->setEnabled(false);
  }
  if (result.message.isEmpty()) return;
  if (result.accepted)
    ui::information(result.message);
  else
    ui::warning(result.message);
}

void TBloccaQForm::confirm() {
  const model::LockRequest request{checkBloccata_->isChecked(), checkChiave_->isChecked(),
                                   editChiave_->text(), keyAccepted_};
  const QString refusal = model::applyLock(rows_, flags_, request);
  if (refusal.isEmpty()) {
    done(ui::ResultOk);
    return;
  }
  ui::warning(refusal);
  done(ui::ResultCancel);
}
