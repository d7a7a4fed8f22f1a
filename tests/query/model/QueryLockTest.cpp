#include <gtest/gtest.h>

#include <vector>

#include "query/model/QueryLock.h"

namespace {

using namespace query::model;

const QString kKey = QStringLiteral("ABCDEF");
const QString kStoredKey = QStringLiteral("184 191 188 189 186 187");

// A base table of `fields` fields, then the lock row of `state` (keyed with kKey).
void fill(RowList& rows, int fields, LockState state) {
  QStringList names;
  for (int i = 1; i <= fields; ++i) names << QStringLiteral("F%1").arg(i);
  RiempiTabIntTmp(rows, names);
  InternalChange change(rows);
  if (state == LockState::Simple) rows.append(kLockName, Mostra::Lock);
  if (state == LockState::Keyed) rows.append(kLockName, Mostra::Lock, kStoredKey);
}

TEST(QueryLock, ScramblesEachCharacterWithTheOneBefore) {
  EXPECT_EQ(CriptaChiave(kKey), kStoredKey);
  EXPECT_EQ(CriptaChiave("QWERTY"), "166 174 184 171 173 170");
  // Characters are Windows-1252 bytes: the euro sign is 0x80.
  EXPECT_EQ(CriptaChiave(QString(QChar(0x20AC)) + "ab9Zz"), "245 30 159 204 167 133");
}

TEST(QueryLock, KeyChecksOnAcceptingAndTheirMessages) {
  const CurrentLock none{};
  const CurrentLock keyed{LockState::Keyed, kStoredKey};
  struct Case {
    CurrentLock lock;
    QString key;
    bool accepted;
    QString message;
  };
  const std::vector<Case> cases = {
      {none, "", false, "Inserire una chiave"},
      {none, "ABCDE", false, "La chiave inserita deve essere composta da sei caratteri!"},
      {none, "AAAAA", false, "La chiave inserita deve essere composta da sei caratteri!"},
      {none, "ABCDEFG", false, "La chiave inserita deve essere composta da sei caratteri!"},
      {none, "AAAAAA", false, "Impossibile inserire una chiave con tutti i caratteri uguali!"},
      {keyed, "ZZZZZZ", false, "Impossibile inserire una chiave con tutti i caratteri uguali!"},
      {none, "AAAAAB", true, "Nuova chiave corretta"},
      {keyed, "QWERTY", false, "Chiave Errata"},
      {keyed, "ABCDEF", true, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key.toStdString());
    const KeyAcceptance result = acceptKey(c.lock, c.key);
    EXPECT_EQ(result.accepted, c.accepted);
    EXPECT_EQ(result.message, c.message);
  }
}

TEST(QueryLock, EveryTransitionOnTheRows) {
  struct Case {
    const char* name;
    LockState from;
    LockRequest request;
    QString refusal;
    LockState to;
    bool locked;
  };
  const std::vector<Case> cases = {
      {"none to none", LockState::None, {false, false, "", false}, "", LockState::None, false},
      {"none to simple", LockState::None, {true, false, "", false}, "", LockState::Simple, true},
      {"none to keyed", LockState::None, {true, true, kKey, true}, "", LockState::Keyed, true},
      {"none to keyed, key of five",
       LockState::None,
       {true, true, "ABCDE", false},
       kKeyNotValid,
       LockState::None,
       false},
      {"none to keyed, six equal",
       LockState::None,
       {true, true, "BBBBBB", false},
       kKeyNotValid,
       LockState::None,
       false},
      {"simple to none", LockState::Simple, {false, false, "", false}, "", LockState::None, false},
      {"simple to keyed", LockState::Simple, {true, true, kKey, true}, "", LockState::Keyed, true},
      {"simple to keyed, six equal",
       LockState::Simple,
       {true, true, "BBBBBB", true},
       kKeyNotValid,
       LockState::Simple,
       true},
      {"keyed to simple", LockState::Keyed, {true, false, kKey, true}, "", LockState::Simple, true},
      {"keyed to none", LockState::Keyed, {false, false, kKey, true}, "", LockState::None, false},
      {"keyed to none, key not accepted",
       LockState::Keyed,
       {false, false, kKey, false},
       kKeyNotValid,
       LockState::Keyed,
       true},
      {"keyed to simple, key not accepted",
       LockState::Keyed,
       {true, false, "", false},
       kKeyNotValid,
       LockState::Keyed,
       true},
      {"keyed kept without the key",
       LockState::Keyed,
       {true, true, "", false},
       "",
       LockState::Keyed,
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RowList rows;
    fill(rows, 40, c.from);
    DesignerFlags flags;
    flags.locked = c.from != LockState::None;
    EXPECT_EQ(applyLock(rows, flags, c.request), c.refusal);
    EXPECT_FALSE(rows.internalChange());
    EXPECT_EQ(flags.locked, c.locked);
    EXPECT_EQ(currentLock(rows).state, c.to);
    EXPECT_EQ(rows.count(), c.to == LockState::None ? 40 : 41);
    if (c.to == LockState::None) continue;
    // The lock row follows the last field: Numero 41.
    EXPECT_EQ(rows.at(40), (Row{41, kLockName, Mostra::Lock,
                                c.to == LockState::Keyed ? kStoredKey : QString()}));
  }
}

}  // namespace
