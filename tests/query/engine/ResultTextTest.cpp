#include <gtest/gtest.h>

#include <QLocale>
#include <vector>

#include "query/engine/DigitGrouping.h"
#include "query/engine/SingleRecord.h"

using db::FieldType;
using query::engine::splitLongText;

namespace {

const QLocale kItalian(QLocale::Italian, QLocale::Italy);

// `count` words of `letters` letters, one blank after each but the last.
QString words(int count, int letters) {
  QStringList list;
  for (int i = 0; i < count; ++i) list << QString(letters, QChar('a' + i % 26));
  return list.join(' ');
}

}  // namespace

TEST(ResultTextTest, GroupedCellsFollowTheLocale) {
  struct Case {
    QVariant value;
    FieldType type;
    int grouping;
    QLocale locale;
    QString text;
  };
  const std::vector<Case> cases = {
      {1234.5, FieldType::Float, 1, kItalian, "1.234,50"},
      {1234.6, FieldType::Float, 2, kItalian, "1.235"},
      {1234567.891, FieldType::Bcd, 1, kItalian, "1.234.567,89"},
      {-1234.5, FieldType::Float, 1, QLocale::c(), "-1,234.50"},
      {0.0, FieldType::Float, 1, kItalian, ""},
      {0.0, FieldType::Bcd, 2, kItalian, ""},
      {QVariant(), FieldType::Float, 1, kItalian, ""},
      {1234.5, FieldType::Float, 0, kItalian, "1234.5"},
      {1234.5, FieldType::Float, 3, kItalian, "1234.5"},
      {qint64(1234), FieldType::Integer, 1, kItalian, "1234"},
      {qint64(0), FieldType::Integer, 1, kItalian, "0"},
      {"1234", FieldType::String, 2, kItalian, "1234"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text.toStdString());
    EXPECT_EQ(query::engine::groupedCellText(c.value, c.type, c.grouping, c.locale), c.text);
  }
  EXPECT_EQ(query::engine::recordCountText(1234567, kItalian), "Numero record presenti: 1.234.567");
  // The C locale leaves its separator out unless asked.
  EXPECT_EQ(query::engine::recordCountText(1234567, QLocale::c()),
            "Numero record presenti: 1,234,567");
  EXPECT_EQ(query::engine::recordCountText(0, kItalian), "Numero record presenti: 0");
}

TEST(ResultTextTest, LongTextsBreakAtBlanksAndLineEnds) {
  const QString w120(120, 'w');
  struct Case {
    const char* what;
    QString text;
    QStringList pieces;
  };
  const std::vector<Case> cases = {
      {"short words", words(50, 4), {words(20, 4), words(40, 4).mid(100), words(50, 4).mid(200)}},
      {"a word crossing the limit starts the next piece",
       QString(95, 'a') + " " + QString(10, 'b'),
       {QString(95, 'a'), QString(10, 'b')}},
      {"a blank right at the limit", QString(100, 'a') + " b", {QString(100, 'a'), "b"}},
      {"a single long word is cut", w120, {w120.left(100), w120.mid(100)}},
      {"after a short word", "ab " + w120 + " cd", {"ab", w120.left(100), w120.mid(100) + " cd"}},
      {"line ends", "uno\r\ndue\nTre\r\rquattro\r\n", {"uno", "due", "Tre", "", "quattro"}},
      {"empty", "", {""}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(splitLongText(c.text), c.pieces);
  }
}

TEST(ResultTextTest, TheSingleRecordViewHasARowPerFieldOrPiece) {
  const QString memo = words(50, 4) + ' ';  // 250 characters
  ASSERT_EQ(memo.size(), 250);
  const QString text = QString(150, 'x') + QString(100, 'y');
  const QList<query::engine::RecordValue> fields{
      {"NOTE", FieldType::Memo, memo, 0},
      {"DESCRIZIONE", FieldType::String, text, 0},
      {"IMPORTO", FieldType::Float, 1234.5, 1},
      {"SCONTO", FieldType::Float, 0.0, 2},
      {"RIGHE", FieldType::String, "uno\r\ndue", 0},
      {"PAROLA", FieldType::Memo, QString(120, 'w'), 0},
  };
  const query::engine::RecordView view = query::engine::MostraUnRecord(fields, kItalian);
  QStringList names;
  QStringList data;
  for (const query::model::RecordField& row : view.rows) {
    names << row.nomeCampo;
    data << row.dato;
  }
  EXPECT_EQ(names, (QStringList{"NOTE", "NOTE", "NOTE", "DESCRIZIONE", "IMPORTO", "SCONTO", "RIGHE",
                                "PAROLA", "PAROLA"}));
  EXPECT_EQ(data.mid(3, 4), (QStringList{QString(100, 'x'), "1.234,50", "", "uno  due"}));
  EXPECT_EQ(data.mid(7), (QStringList{QString(100, 'w'), QString(20, 'w')}));
  EXPECT_EQ(view.longest, 100);
  EXPECT_EQ(query::engine::MostraUnRecord({{"A", FieldType::String, "abc", 0}}, kItalian).longest,
            3);
}
