#pragma once

#include <QDialog>
#include <QFont>
#include <QString>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TRadioGroup;

// The print options dialog of the query printing: title, default notes,
// report type, report file, lines per page, page numbering, extended memo
// fields and orientation. The six settings are kept per company (the
// section) in the global settings file and written only on OK.
class TTitStForm : public QDialog {
  Q_OBJECT

 public:
  // Esito values.
  static constexpr int kConfermato = 1;
  static constexpr int kAnnullato = 2;

  TTitStForm(QWidget* owner, QString& note, const QString& sezione, bool& numeraPagine,
             QString& titolo);

  int Esito() const { return esito_; }
  QString NumeroRighe() const { return numeroRighe_; }
  QString NomeReport() const { return nomeReport_; }
  QString StampaMemoEstesi() const { return memoEstesi_; }
  int TipoStampa() const;
  int Orientamento() const;

  // The folder reports are chosen from (stored form, no trailing backslash
  // needed).
  void setDirectoryIniziale(const QString& directory) { directoryIniziale_ = directory; }
  const QString& directoryIniziale() const { return directoryIniziale_; }

  // The print font, and the font the font dialog starts from.
  QFont FontStampa;
  QFont FontDialogo;

  QLineEdit* EditTitolo;
  QLineEdit* EditNoteDefault;
  QLineEdit* EditNumeroRigheStQuery;
  QLineEdit* EditNomeReport;
  QLabel* LabelNumeroRighe;
  QCheckBox* CheckStampaMemoEstesi;
  QCheckBox* CheckNumeraPagine;
  TRadioGroup* RadioGroup1;
  TRadioGroup* RadioGroup2;
  QPushButton* ButtonFont;
  QPushButton* ButtonEditaReport;
  QPushButton* ButtonSfoglia;
  QPushButton* ButtonOK;
  QPushButton* ButtonCancel;

  void ButtonSfogliaClick();
  void ButtonOKClick();
  void ButtonCancelClick();

  // The file filter "Sfoglia" offers for the report type in hand.
  QString filtroReport() const;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void applicaTipo(int tipo);

  QString& note_;
  QString sezione_;
  bool& numeraPagine_;
  QString& titolo_;
  int esito_ = kAnnullato;
  QString numeroRighe_;
  QString nomeReport_;
  QString memoEstesi_;
  QString directoryIniziale_;
};
