#pragma once

#include "query/designer/DesignerDialog.h"
#include "query/output/ExportSettings.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TRadioGroup;

// The export settings window: the type of export, the target's name and
// directory, the text file's separator and switches, the Excel program and
// template workbook. Its settings are read and stored through the store it
// is given (the designer's environment or the global settings file).
// Closes with 1 for "OK", 8 for "Apri Excel", 2 for Annulla.
class TQIBEspForm : public query::designer::DesignerDialog {
  Q_OBJECT
 public:
  static constexpr int ResultApriExcel = 8;

  TQIBEspForm(query::output::SettingsStore store, const QString& ditta, const QString& defaultName,
              const QString& defaultSeparator, QWidget* parent = nullptr);

  // What was chosen, as the window shows it.
  query::output::ExportChoice choice() const;

  // The commands, as the controls run them.
  void RadioTipoClick();
  void CheckLunghezzaFissaClick();
  void ButtonSelezPercorsoClick();
  void ButtonEseguibileExcelClick();
  void ButtonExcelPreimpostatoClick();
  void ButtonApriExcelClick();

 protected:
  void confirm() override;

 private:
  query::output::ExportType type() const;
  void storeChoices();

  query::output::SettingsStore store_;
  QString textFileName_;  // the file name shown when the window opened
  TRadioGroup* radioTipo_;
  QLabel* labelNome_;
  QLineEdit* editNome_;
  QPushButton* buttonPercorso_;
  QLineEdit* editPercorso_;
  QLabel* labelSeparatore_;
  QLineEdit* editSeparatore_;
  QCheckBox* checkLunghezzaFissa_;
  QCheckBox* checkMemoEstesi_;
  QCheckBox* checkMemoRtf_;
  QCheckBox* checkNoIntestazioni_;
  QLineEdit* editEseguibile_;
  QLineEdit* editPreimpostato_;
  QPushButton* buttonApriExcel_;
};
