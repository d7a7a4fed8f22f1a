#pragma once

#include <QStringList>

#include "query/designer/DesignerDialog.h"

class QComboBox;

// Asks which joined table to remove: "EditNomeTabella" offers the headers of
// the left-joined tables (such as "LANCISTAMPA = A"), none chosen to begin
// with. OK closes with 1 whether or not one was chosen.
class TEliminaForm : public query::designer::DesignerDialog {
  Q_OBJECT

 public:
  explicit TEliminaForm(const QStringList& tableHeaders, QWidget* parent = nullptr);

  QComboBox* EditNomeTabella() const { return editNomeTabella_; }

 private:
  QComboBox* editNomeTabella_;
};
