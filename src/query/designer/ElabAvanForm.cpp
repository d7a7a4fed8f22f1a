#include "query/designer/ElabAvanForm.h"

#include <QPushButton>
#include <QVBoxLayout>

#include "ui/Prompter.h"

namespace {

QString refusedUnless(bool allowed, const QString& what) {
  return allowed ? QString() : QStringLiteral("Attenzione: operazione non possibile, ") + what;
}

}  // namespace

TElabAvanForm::TElabAvanForm(bool locked, bool sideBySide, const QString& ditta, QWidget* parent)
    : ui::ModalDialog(parent, Qt::Dialog) {
  setObjectName(QStringLiteral("ElabAvanForm"));
  setWindowTitle(QStringLiteral("Elaborazioni avanzate - Ditta: ") + ditta);
  new QVBoxLayout(this);

  QPushButton* first = addButton(QStringLiteral("ButtonCampiVisibili"),
                                 QStringLiteral("&Campi visibili"), QStringLiteral("CampiVisibili"),
                                 refusedUnless(!locked, QStringLiteral("la Query è bloccata!")));
  addButton(QStringLiteral("ButtonBloccaQuery"), QStringLiteral("&Blocca Query"),
            QStringLiteral("BloccaQuery"),
            refusedUnless(!sideBySide, QStringLiteral("la Query è affiancata!")));
  buttonAffiancata_ =
      addButton(QStringLiteral("ButtonAggiungiQueryAffiancata"),
                QStringLiteral("&Aggiungi query affiancata"), QStringLiteral("QueryAffiancata"),
                refusedUnless(locked, QStringLiteral("la Query deve essere bloccata!")));
  addButton(
      QStringLiteral("ButtonTogliQueryAffiancata"), QStringLiteral("&Togli query affiancata"),
      QStringLiteral("TogliQueryAffiancata"),
      refusedUnless(sideBySide, QStringLiteral("la Query deve avere almeno un affiancamento!")));
  addButton(QStringLiteral("ButtonPassaPrecedente"), QStringLiteral("Passa a query &precedente"),
            QString(), refusedUnless(false, QStringLiteral("la Query non è successiva!")));
  addButton(QStringLiteral("ButtonPassaSuccessiva"), QStringLiteral("Passa a query &successiva"),
            QStringLiteral("PassaSuccessiva"), QString());
  addButton(QStringLiteral("ButtonEliminaSuccessiva"), QStringLiteral("&Elimina query successiva"),
            QString(), refusedUnless(false, QStringLiteral("nessuna query successiva presente!")));
  QPushButton* chiudi =
      addButton(QStringLiteral("ButtonChiudi"), QStringLiteral("Ch&iudi"), QString(), QString());
  setCancelButton(chiudi);
  setFirstFocus(first);
}

QPushButton* TElabAvanForm::addButton(const QString& name, const QString& caption,
                                      const QString& command, const QString& refusal) {
  auto* button = new QPushButton(caption, this);
  button->setObjectName(name);
  button->setAutoDefault(false);
  layout()->addWidget(button);
  connect(button, &QPushButton::clicked, this, [this, command, refusal] {
    if (!refusal.isEmpty()) {
      ui::warning(refusal);
      return;
    }
    command_ = command;
    done(command.isEmpty() ? ui::ResultCancel : ui::ResultOk);
  });
  return button;
}
