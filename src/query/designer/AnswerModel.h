#pragma once

#include "grid/GridModel.h"

namespace query::model {
class AnswerCodes;
}

namespace query::designer {

// The answer as the result view shows it: the grid's rows fetched as the
// view scrolls, float and BCD cells with the digit grouping of their
// column's code (right-aligned, zero empty), and titles cut to the width
// of their column.
class AnswerModel : public grid::GridModel {
  Q_OBJECT
 public:
  AnswerModel(const model::AnswerCodes& codes, QObject* parent = nullptr);

  // Width in pixels of one character of the grid's font: column widths in
  // characters are measured with it.
  void setCharacterWidth(int pixels) { characterWidth_ = pixels > 0 ? pixels : 1; }
  int characterWidth() const { return characterWidth_; }

  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  const model::AnswerCodes& codes_;
  int characterWidth_ = 8;
};

}  // namespace query::designer
