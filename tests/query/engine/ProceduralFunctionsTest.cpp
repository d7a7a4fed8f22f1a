#include <gtest/gtest.h>

#include "query/engine/ProceduralColumns.h"
#include "query/engine/ProceduralFunctions.h"

namespace {

using namespace query::engine;
using query::model::Row;

TEST(ProceduralFunctionsTest, ArgumentsAndResultNamesIgnoreBlanks) {
  // As EstraiCalc hands the text over: after CALC, without the closing one.
  EXPECT_EQ(EstraiNomeCampoSommaProg(" (SOMMAPROG(IMPORTO,DATADOC,NUMERO)) AS PROGR"), "PROGR");
  EXPECT_EQ(EstraiNomeCampoSommaProg(" (SOMMAPROG(IMPORTO)) as Pro gr"), "Progr");
  EXPECT_EQ(EstraiNomeCampoSommaProg(" (SOMMAPROG(IMPORTO))"), kUnnamedResult);
  EXPECT_EQ(EstraiNomeCampoSommaProg(" (SOMMAPROG(MAS , DATADOC))"), kUnnamedResult)
      << "a field ending in AS is no result name";
  EXPECT_EQ(EstraiNomeCampoSommaProg(" (INTEROQUOV(PREZZO)) AS INTERO"), "INTERO");

  EXPECT_EQ(EstraiNomeCampoDaSommare(" (SOMMAPROG( IMPORTO , DATA DOC )) AS P"),
            (SommaProgArguments{"IMPORTO", "DATADOC"}));
  EXPECT_EQ(EstraiNomeCampoDaSommare(" (sommaprog(IMPORTO,DATADOC, NUMERO))"),
            (SommaProgArguments{"IMPORTO", "DATADOC,NUMERO"}));
  EXPECT_EQ(EstraiNomeCampoDaSommare(" (SOMMAPROG(IMPORTO))"), (SommaProgArguments{"IMPORTO", ""}));
  EXPECT_EQ(EstraiNomeCampoDaCalcolareIntero(" (INTEROQUOV( PREZZO , X)) AS I"), "PREZZO,X");
  EXPECT_EQ(EliminaSpazzi(" a b  c "), "abc");
}

TEST(ProceduralFunctionsTest, FormulasOfTheRowsInRowOrderWithDistinctUnnamedResults) {
  const QList<Row> rows{{1, "IMPORTO", 1, "(CALC (SOMMAPROG(IMPORTO,DATADOC)))"},
                        {2, "PREZZO", 1, "(CALC (INTEROQUOV(PREZZO)))"},
                        {3, "NUMERO", 0, "(Calc (SommaProg(IMPORTO)) as Secondo)"},
                        {4, "QTA", 0, "(CALC (SOMMAPROG(QTA,NUMERO)))"},
                        {5, "NOTE", 1, "sommaprog"},
                        {6, "X", 0, "(CALC (PREZZO*2) AS DOPPIO)"}};
  const QList<ProceduralFormula> sums = proceduralFormulas(rows, ProceduralKind::SommaProg);
  ASSERT_EQ(sums.size(), 3);
  EXPECT_EQ(sums[0].risultato, "XXXXXX");
  EXPECT_EQ(sums[1], (ProceduralFormula{ProceduralKind::SommaProg, "Secondo", "IMPORTO", ""}));
  EXPECT_EQ(sums[2].risultato, "XXXXXX3") << "numbered across both functions";
  EXPECT_EQ(sommaProgOrdering(sums), "NUMERO") << "the last formula's ordering";
  EXPECT_EQ(sommaProgOrdering(sums.mid(0, 2)), "") << "the last has none: no ordering";

  const QList<ProceduralFormula> integers = proceduralFormulas(rows, ProceduralKind::InteroQuov);
  ASSERT_EQ(integers.size(), 1);
  EXPECT_EQ(integers[0], (ProceduralFormula{ProceduralKind::InteroQuov, "XXXXXX2", "PREZZO", ""}));
  EXPECT_EQ(repeatedName({"ID", "Progr", "PROGR"}), "PROGR");
  EXPECT_EQ(repeatedName({"ID", "XXXXXX", "XXXXXX2"}), "");
}

TEST(ProceduralFunctionsTest, OrderingTextsNameFieldsOnly) {
  EXPECT_TRUE(isOrderingText("DATADOC,NUMERO"));
  EXPECT_TRUE(isOrderingText("A.DATA,2"));
  EXPECT_FALSE(isOrderingText(""));
  EXPECT_FALSE(isOrderingText("DATADOC,"));
  EXPECT_FALSE(isOrderingText("DATADOC;DELETEFROMX"));
  EXPECT_FALSE(isOrderingText("(SELECTMAX(ID)FROMT)"));
  EXPECT_FALSE(isOrderingText("0"));
}

TEST(ProceduralFunctionsTest, NumbersAndIntegerParts) {
  bool ok = false;
  EXPECT_EQ(numericValue(QVariant(), &ok), std::nullopt);
  EXPECT_TRUE(ok);
  EXPECT_EQ(numericValue(QVariant(QStringLiteral("  ")), &ok), std::nullopt);
  EXPECT_TRUE(ok);
  EXPECT_EQ(numericValue(QVariant(QStringLiteral("12,5")), &ok), 12.5);
  EXPECT_EQ(numericValue(QVariant(qint64(7)), &ok), 7.0);
  EXPECT_EQ(numericValue(QVariant(QStringLiteral("dodici")), &ok), std::nullopt);
  EXPECT_FALSE(ok);

  EXPECT_EQ(integerPart(-2.5), -2.0);
  EXPECT_EQ(integerPart(7.9), 7.0);
  EXPECT_EQ(integerPart(-7.9), -7.0);
}

TEST(ProceduralFunctionsTest, ResultColumnsAreComputedRowByRow) {
  using platform::localstore::ColumnType;
  const platform::localstore::LocalColumns columns{{"IMPORTO", ColumnType::Text, 10},
                                                   {"PROGR", ColumnType::Float},
                                                   {"PROGR2", ColumnType::Float}};
  // The second total reads the first one's result of the same row.
  const QList<ProceduralFormula> formulas{{ProceduralKind::SommaProg, "PROGR", "importo", ""},
                                          {ProceduralKind::SommaProg, "PROGR2", "PROGR", ""}};
  ProceduralColumns results;
  QString failure;
  ASSERT_TRUE(results.bind(columns, formulas, &failure)) << failure.toStdString();
  QStringList seen;
  for (const QVariant& value : {QVariant("10"), QVariant(), QVariant(" 20,5 "), QVariant("")}) {
    QVariantList values{value, QVariant(), QVariant()};
    ASSERT_TRUE(results.compute(values, &failure)) << failure.toStdString();
    seen << values[1].toString() + u'/' + values[2].toString();
  }
  EXPECT_EQ(seen, QStringList({"10/10", "10/20", "30.5/50.5", "30.5/81"}));

  QVariantList wrong{QVariant("dieci"), QVariant(), QVariant()};
  EXPECT_FALSE(results.compute(wrong, &failure));
  EXPECT_EQ(failure, "Il campo 'importo' contiene un valore non numerico: dieci");

  const QList<ProceduralFormula> integer{{ProceduralKind::InteroQuov, "I", "IMPORTO", ""}};
  const platform::localstore::LocalColumns withInteger{{"IMPORTO", ColumnType::Float},
                                                       {"I", ColumnType::Float}};
  ASSERT_TRUE(results.bind(withInteger, integer, &failure));
  QVariantList negative{QVariant(-2.5), QVariant()};
  ASSERT_TRUE(results.compute(negative, &failure));
  EXPECT_EQ(negative[1], QVariant(-2.0));
  QVariantList empty{QVariant(), QVariant(7)};
  ASSERT_TRUE(results.compute(empty, &failure));
  EXPECT_TRUE(empty[1].isNull()) << "the integer part of nothing is nothing";

  EXPECT_FALSE(
      results.bind(withInteger, {{ProceduralKind::SommaProg, "S", "PREZZO", ""}}, &failure));
  EXPECT_EQ(failure, "Campo 'PREZZO' non trovato");
}

}  // namespace
