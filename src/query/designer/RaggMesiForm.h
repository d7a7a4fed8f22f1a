#pragma once

#include <QStringList>

#include "query/designer/DesignerDialog.h"

class QComboBox;
class QLineEdit;
class TRadioGroup;

namespace query::designer {

// The computed column that extracts the year ("(EXTRACT (YEAR from F)) AS
// name") or the month ("(EXTRACT (MONTH from F)) AS name") of a date field.
QString extractCondition(const QString& field, bool month, const QString& name);

}  // namespace query::designer

// Asks which date field ("EditNomiCampi", the first one chosen) gives its
// year or month ("RadioGroup1", nothing chosen at first) to an answer column
// named in "EditNomeCampoRisposta". Choosing the datum names an unnamed
// column after it. OK checks the three choices in turn, says which one is
// missing and stays open; with all three it closes with 1 and condition().
class TRaggMesiForm : public query::designer::DesignerDialog {
  Q_OBJECT

 public:
  explicit TRaggMesiForm(const QStringList& dateFields, QWidget* parent = nullptr);

  QComboBox* EditNomiCampi() const { return editNomiCampi_; }
  QLineEdit* EditNomeCampoRisposta() const { return editNomeCampoRisposta_; }
  TRadioGroup* RadioGroup1() const { return radioGroup1_; }

  // The condition the choices make; meaningful after a result of 1.
  const QString& condition() const { return condition_; }

 protected:
  void confirm() override;

 private:
  void RadioGroup1Click(int index);

  QComboBox* editNomiCampi_;
  QLineEdit* editNomeCampoRisposta_;
  TRadioGroup* radioGroup1_;
  QString condition_;
};
