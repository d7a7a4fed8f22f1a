#include <gtest/gtest.h>

#include <vector>

#include "query/model/JoinedTables.h"

namespace {

using namespace query::model;

TableJoin join(const QString& table, JoinMode mode = JoinMode::Left) {
  return TableJoin{table, mode, {{"CODICE", "CODART"}}, {"CODART", "DESCR"}};
}

// Main table ETIC with CODICE, DESCR and QTA.
void fillMain(RowList& rows) {
  RiempiTabIntTmp(rows, {"CODICE", "DESCR", "QTA"});
}

TEST(JoinedTables, AppendsHeaderKeysAndFieldsWithTheNextLetter) {
  RowList rows;
  fillMain(rows);
  EXPECT_EQ(appendTableJoin(rows, join("ARTICOLI")), QChar('A'));
  TableJoin second{
      "MODELLI", JoinMode::LeftConditionsFirst, {{"A.CODART", "CODART"}, {"QTA", "NUM"}}, {"MOD"}};
  EXPECT_EQ(appendTableJoin(rows, second), QChar('B'));
  EXPECT_EQ(appendTableJoin(rows, join("VARIANTI", JoinMode::Right)), QChar('C'));
  EXPECT_FALSE(rows.internalChange());
  const QList<Row> expected = {
      {1, "CODICE", 1, ""},          {2, "DESCR", 1, ""},          {3, "QTA", 1, ""},
      {4, "ARTICOLI = A", 9, ""},    {5, "A.CODART", 8, "CODICE"}, {6, "A.CODART", 1, ""},
      {7, "A.DESCR", 1, ""},         {8, "MODELLI = B", 9, "P"},   {9, "B.CODART", 8, "A.CODART"},
      {10, "B.NUM", 8, "QTA"},       {11, "B.MOD", 1, ""},         {12, "VARIANTI = C", 3, ""},
      {13, "C.CODART", 8, "CODICE"}, {14, "C.CODART", 1, ""},      {15, "C.DESCR", 1, ""}};
  EXPECT_EQ(rows.rows(), expected);
}

TEST(JoinedTables, LetterStartsAgainAfterTheJoinedFieldsAreDropped) {
  struct Case {
    const char* what;
    JoinMode mode;
    QChar after;  // the letter of the next join after the rebuild
  };
  // Rebuilding the main table drops right joins that follow it; a left
  // join keeps its header and key, whose letter counts.
  const std::vector<Case> cases = {{"right joins dropped", JoinMode::Right, 'A'},
                                   {"left join keys kept", JoinMode::Left, 'C'}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    RowList rows;
    fillMain(rows);
    EXPECT_EQ(nextTableLetter(rows), QChar('A'));
    EXPECT_EQ(appendTableJoin(rows, join("ARTICOLI", JoinMode::Right)), QChar('A'));
    EXPECT_EQ(appendTableJoin(rows, join("MODELLI", c.mode)), QChar('B'));
    QList<VisibleTable> tables = visibleTables(rows, "ETIC");
    for (VisibleTable& table : tables) table.selezione = true;
    QList<QStringList> fields{{"CODICE", "DESCR", "QTA"}};
    if (tables.size() > 1) fields.append(QStringList{"CODART", "DESCR"});
    QList<FieldLine> lines = fieldLines(rows.rows(), tables, fields);
    setAllFieldLines(lines, false);
    for (FieldLine& line : lines)
      if (line.selezione == Selezione::InUse) line.selezione = Selezione::Listed;
    const QList<Row> rebuilt = rebuildVisibleFields(rows.rows(), tables, lines);
    InternalChange change(rows);
    rows.replaceAll(rebuilt);
    EXPECT_EQ(appendTableJoin(rows, join("VARIANTI")), c.after);
  }
}

TEST(JoinedTables, KeyPairsAreKeptOnce) {
  QList<KeyPair> pairs;
  EXPECT_TRUE(addKeyPair(pairs, {"CODICE", "CODART"}));
  EXPECT_FALSE(addKeyPair(pairs, {"CODICE", "CODART"}));
  EXPECT_TRUE(addKeyPair(pairs, {"CODART", "CODICE"}));
  EXPECT_TRUE(addKeyPair(pairs, {"CODICE", "DESCR"}));
  EXPECT_EQ(pairs,
            QList<KeyPair>({{"CODICE", "CODART"}, {"CODART", "CODICE"}, {"CODICE", "DESCR"}}));
}

TEST(JoinedTables, OnlyAPlainLeftJoinRefusesTheSameTable) {
  struct Case {
    JoinMode mode;
    bool refusedAfter;
  };
  const std::vector<Case> cases = {
      {JoinMode::Left, true}, {JoinMode::Right, false}, {JoinMode::LeftConditionsFirst, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.mode));
    RowList rows;
    fillMain(rows);
    EXPECT_FALSE(joinedAsLeft(rows, "ARTICOLI"));
    appendTableJoin(rows, join("ARTICOLI", c.mode));
    EXPECT_EQ(joinedAsLeft(rows, "ARTICOLI"), c.refusedAfter);
    EXPECT_FALSE(joinedAsLeft(rows, "ARTICOL"));
    EXPECT_FALSE(joinedAsLeft(rows, "ETIC"));
  }
}

TEST(JoinedTables, RefusalsInTheirOrder) {
  const QString table = "Si prega di scegliere una tabella da collegare!!";
  const QString key = "Si prega di creare almeno un collegamento!!";
  const QString field = "Si prega di scegliere almeno un campo da visualizzare!!";
  EXPECT_EQ(joinRefusal(TableJoin{}), table);
  EXPECT_EQ(joinRefusal(TableJoin{"*.db", JoinMode::Left, {{"A", "B"}}, {"B"}}), table);
  EXPECT_EQ(joinRefusal(TableJoin{"T", JoinMode::Left, {}, {}}), key);
  EXPECT_EQ(joinRefusal(TableJoin{"T", JoinMode::Left, {{"A", "B"}}, {}}), field);
  EXPECT_EQ(joinRefusal(join("T")), QString());
}

// Rows of ETIC (CODICE, DESCR, QTA) joined with ARTICOLI = A (left), then
// VARIANTI = B (right), then MODELLI = C (left), then the lock row.
QList<Row> joinedRows() {
  return {{1, "CODICE", 1, ""},          {2, "DESCR", 0, ""},
          {3, "QTA", 0, "> 5"},          {4, "ARTICOLI = A", 9, ""},
          {5, "A.CODART", 8, "CODICE"},  {6, "A.DESCR", 1, ""},
          {7, "VARIANTI = B", 3, ""},    {8, "B.CODVAR", 8, "A.CODART"},
          {9, "B.VAR", 1, ""},           {10, "MODELLI = C", 9, "P"},
          {11, "C.CODMOD", 8, "CODICE"}, {12, "C.MOD", 0, ""},
          {13, "QUERY BLOCCATA", 7, ""}};
}

TEST(JoinedTables, TablesAndFieldLinesFollowTheRows) {
  RowList rows;
  {
    InternalChange change(rows);
    rows.replaceAll(joinedRows());
  }
  QList<VisibleTable> tables = visibleTables(rows, "ETIC");
  ASSERT_EQ(tables.size(), 3);  // the right join is not listed
  EXPECT_EQ(headerName(tables[0]), "ETIC");
  EXPECT_EQ(headerName(tables[1]), "ARTICOLI = A");
  EXPECT_EQ(tables[2].nome, "MODELLI");
  EXPECT_EQ(tables[2].lettera, "C");
  EXPECT_EQ(tables[2].percorso, "P");
  tables[0].selezione = true;
  tables[2].selezione = true;
  QList<FieldLine> lines =
      fieldLines(rows.rows(), tables, {{"CODICE", "DESCR", "QTA", "PESO"}, {"CODMOD", "MOD"}});
  const QList<FieldLine> expected = {{"ETIC", 9},     {"CODICE", 2}, {"DESCR", 1},
                                     {"QTA", 2},      {"PESO", 0},   {"MODELLI = C", 9},
                                     {"C.CODMOD", 0}, {"C.MOD", 1}};
  EXPECT_EQ(lines, expected);
  EXPECT_FALSE(toggleFieldLine(lines[0]));
  EXPECT_FALSE(toggleFieldLine(lines[1]));
  EXPECT_TRUE(toggleFieldLine(lines[2]));
  EXPECT_EQ(lines[2].selezione, 0);
  setAllFieldLines(lines, true);
  EXPECT_EQ(lines[2].selezione, 1);
  EXPECT_EQ(lines[4].selezione, 1);
  EXPECT_EQ(lines[5].selezione, 9);
  setAllFieldLines(lines, false);
  EXPECT_EQ(lines[7].selezione, 0);
  EXPECT_EQ(lines[3].selezione, 2);
}

TEST(JoinedTables, RebuildCases) {
  const QList<Row> rows = joinedRows();
  struct Case {
    const char* what;
    QList<bool> selected;  // ETIC, ARTICOLI, MODELLI
    QList<FieldLine> lines;
    QStringList names;  // of the rebuilt rows, numbered 1, 2, ...
  };
  const std::vector<Case> cases = {
      {"main table only, all fields 0",
       {true, false, false},
       {{"ETIC", 9}, {"CODICE", 0}, {"DESCR", 0}, {"QTA", 0}},
       {"ARTICOLI = A", "A.CODART", "A.DESCR", "VARIANTI = B", "B.CODVAR", "B.VAR", "MODELLI = C",
        "C.CODMOD", "C.MOD", "QUERY BLOCCATA"}},
      {"the right join goes with its left join",
       {false, true, false},
       {{"ARTICOLI = A", 9}, {"A.CODART", 1}, {"A.DESCR", 2}},
       {"CODICE", "DESCR", "QTA", "ARTICOLI = A", "A.CODART", "A.CODART", "A.DESCR", "MODELLI = C",
        "C.CODMOD", "C.MOD", "QUERY BLOCCATA"}},
      {"the lock row goes when its table is rebuilt",
       {false, false, true},
       {{"MODELLI = C", 9}, {"C.CODMOD", 0}, {"C.MOD", 1}},
       {"CODICE", "DESCR", "QTA", "ARTICOLI = A", "A.CODART", "A.DESCR", "VARIANTI = B", "B.CODVAR",
        "B.VAR", "MODELLI = C", "C.CODMOD", "C.MOD"}},
      {"nothing selected keeps every row",
       {false, false, false},
       {},
       {"CODICE", "DESCR", "QTA", "ARTICOLI = A", "A.CODART", "A.DESCR", "VARIANTI = B", "B.CODVAR",
        "B.VAR", "MODELLI = C", "C.CODMOD", "C.MOD", "QUERY BLOCCATA"}},
  };
  RowList list;
  {
    InternalChange change(list);
    list.replaceAll(rows);
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    QList<VisibleTable> tables = visibleTables(list, "ETIC");
    for (int i = 0; i < tables.size(); ++i) tables[i].selezione = c.selected.at(i);
    const QList<Row> rebuilt = rebuildVisibleFields(rows, tables, c.lines);
    QStringList names;
    for (int i = 0; i < rebuilt.size(); ++i) {
      names << rebuilt.at(i).nome;
      EXPECT_EQ(rebuilt.at(i).numero, i + 1);
    }
    EXPECT_EQ(names, c.names);
  }
}

TEST(JoinedTables, RebuiltFieldsKeepTheirKindAndWholeCondition) {
  const QString longName = "CAMPO_CON_UN_NOME_MOLTO_LUNGO_X";  // 31 characters
  const QString longCondition = "(" + QString(600, 'x') + ")";
  const QList<Row> rows = {
      {1, longName, 0, longCondition}, {2, "DESCR", 6, ""}, {3, "QTA", 0, ""}, {4, "PESO", 1, ""}};
  QList<VisibleTable> tables{{"ETIC", "", "", true}};
  const QList<FieldLine> lines = {{"ETIC", 9}, {longName, 2}, {"DESCR", 2},
                                  {"QTA", 1},  {"PESO", 1},   {"NUOVO", 1}};
  const QList<Row> expected = {{1, longName, 0, longCondition},
                               {2, "DESCR", 6, ""},
                               {3, "QTA", 0, ""},
                               {4, "PESO", 0, ""},
                               {5, "NUOVO", 0, ""}};
  EXPECT_EQ(rebuildVisibleFields(rows, tables, lines), expected);
}

}  // namespace
