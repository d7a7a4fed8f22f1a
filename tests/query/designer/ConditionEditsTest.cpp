#include <gtest/gtest.h>

#include <QString>
#include <vector>

#include "query/designer/ConditionEdits.h"

using db::FieldType;
using namespace query::designer;

TEST(ConditionEditsTest, FieldClassesAndDateBoxes) {
  struct Case {
    FieldType type;
    FieldClass kind;
    bool date;
  };
  const std::vector<Case> cases = {
      {FieldType::SmallInt, FieldClass::Numeric, false},
      {FieldType::Integer, FieldClass::Numeric, false},
      {FieldType::Word, FieldClass::Numeric, false},
      {FieldType::Float, FieldClass::Numeric, false},
      // Exact and large numbers are written as text, which the database converts.
      {FieldType::Currency, FieldClass::Text, false},
      {FieldType::Bcd, FieldClass::Text, false},
      {FieldType::LargeInt, FieldClass::Text, false},
      {FieldType::String, FieldClass::Text, false},
      {FieldType::Date, FieldClass::Date, true},
      {FieldType::Time, FieldClass::Date, false},
      {FieldType::DateTime, FieldClass::Date, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.type));
    EXPECT_EQ(fieldClass(c.type), c.kind);
    EXPECT_EQ(asksForDate(c.type), c.date);
  }
}

TEST(ConditionEditsTest, Parenthesis) {
  struct Case {
    const char* before;
    const char* after;
    bool edit;
  };
  const std::vector<Case> cases = {
      {"", "(", true},
      {"(A>1", "(A>1)", false},
      {"A>1", "(A>1", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.before);
    const Parenthesis result = parenthesize(QString::fromUtf8(c.before));
    EXPECT_EQ(result.condition, QString::fromUtf8(c.after));
    EXPECT_EQ(result.edit, c.edit);
  }
}

TEST(ConditionEditsTest, Range) {
  struct Case {
    const char* field;
    FieldType type;
    RangeEntries entries;
    const char* expected;
  };
  const QString current = QStringLiteral("(VECCHIA=1)");
  const std::vector<Case> cases = {
      {"QTA", FieldType::Integer, {{}, {}, {}, "10"}, "(QTA<=10)"},
      {"QTA", FieldType::Integer, {{}, {}, "1", {}}, "(QTA>=1)"},
      {"QTA", FieldType::SmallInt, {{}, {}, "1", "10"}, "(QTA>=1)AND(QTA<=10)"},
      {"COD", FieldType::String, {{}, {}, "A", "M"}, "(COD>='A')AND(COD<='M')"},
      {"COD", FieldType::String, {{}, {}, {}, "M"}, "(COD<='M')"},
      // A typed apostrophe stays inside the literal.
      {"COD", FieldType::String, {{}, {}, "O'N", {}}, "(COD>='O''N')"},
      {"ORA", FieldType::Time, {{}, {}, "08:00", {}}, "(ORA>='08:00')"},
      // Dates stay day first, as typed: the statement builder swaps them.
      {"DATA",
       FieldType::Date,
       {"01/02/2005", "31/12/2005", {}, {}},
       "(DATA>='01/02/2005')AND(DATA<='31/12/2005')"},
      {"DATA", FieldType::DateTime, {{}, "31/12/2005", {}, {}}, "(DATA<='31/12/2005')"},
      {"DATA", FieldType::Date, {"nodate", {}, {}, {}}, "(DATA>='nodate')"},
      // The values, coming later, replace the dates.
      {"DATA", FieldType::Date, {"01/02/2005", {}, "X", {}}, "(DATA>='X')"},
      // Dates count for date fields only; nothing filled keeps the condition.
      {"QTA", FieldType::Integer, {"01/02/2005", "31/12/2005", {}, {}}, "(VECCHIA=1)"},
      {"QTA", FieldType::Integer, {}, "(VECCHIA=1)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    EXPECT_EQ(rangeCondition(QString::fromUtf8(c.field), c.type, c.entries, current),
              QString::fromUtf8(c.expected));
  }
}

TEST(ConditionEditsTest, SingleValue) {
  struct Case {
    const char* field;
    FieldType type;
    const char* value;
    const char* expected;
  };
  const std::vector<Case> cases = {
      {"COD", FieldType::String, "X1", "(COD='X1')"},
      {"QTA", FieldType::Integer, "5", "(QTA=5)"},
      {"PREZZO", FieldType::Bcd, "5.5", "(PREZZO='5.5')"},
      {"COD", FieldType::String, "O'NEIL", "(COD='O''NEIL')"},
      {"COD", FieldType::String, "", "(COD='')"},
      {"DATA", FieldType::Date, "31/12/2005", "(DATA='31/12/2005')"},
      {"DATA", FieldType::Date, "31/12/", "(DATA='31/12/')"},
      {"ORA", FieldType::Time, "10:30", "(ORA='10:30')"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    EXPECT_EQ(singleValueCondition(QString::fromUtf8(c.field), c.type, QString::fromUtf8(c.value)),
              QString::fromUtf8(c.expected));
  }
}

TEST(ConditionEditsTest, FormulaEditorAndSum) {
  EXPECT_EQ(formulaCondition(QStringLiteral("A+B"), {}), QStringLiteral("(CALC (A+B))"));
  EXPECT_EQ(formulaCondition(QStringLiteral("A*B"), QStringLiteral("TOT")),
            QStringLiteral("(CALC (A*B) AS TOT)"));
  EXPECT_EQ(editedCondition(QStringLiteral("(A>1)\r\nAND\n(B<2)\r")),
            QStringLiteral("(A>1)AND(B<2)"));
  EXPECT_EQ(groupSumCondition(QStringLiteral("QTA"), QStringLiteral("Tot")),
            QStringLiteral("(Calc (Sum(QTA)) as Tot)"));
}
