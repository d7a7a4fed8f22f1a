#pragma once

#include <QStringList>

#include "query/designer/DesignerDialog.h"

class QComboBox;
class QLineEdit;

// Asks a formula over the query's fields and the name of the answer column
// it makes. "EditNomiCampi" offers the selectable fields (showing the
// current row's), "Aggiungi campo alla formula" appends the chosen one to
// "EditFormula"; "EditNomeCampoRisposta" holds the optional name. A legend
// lists the operators and functions a formula may use. OK without a formula
// says so and closes without a result.
class TFormuleForm : public query::designer::DesignerDialog {
  Q_OBJECT

 public:
  TFormuleForm(const QStringList& fieldNames, const QString& currentName,
               QWidget* parent = nullptr);

  QComboBox* EditNomiCampi() const { return editNomiCampi_; }
  QLineEdit* EditFormula() const { return editFormula_; }
  QLineEdit* EditNomeCampoRisposta() const { return editNomeCampoRisposta_; }

 protected:
  void confirm() override;

 private:
  QComboBox* editNomiCampi_;
  QLineEdit* editFormula_;
  QLineEdit* editNomeCampoRisposta_;
};
