#pragma once

#include <QHash>
#include <QList>
#include <QStringList>
#include <initializer_list>
#include <string>

#include "query/engine/DeterminaTipoCampo.h"
#include "query/model/Row.h"

// Designer rows written as the tests need them, and the field types of a
// small database: ETICHETTE, LANCISTAMPA, ACQUISIZIONI.
namespace enginetest {

using query::model::Row;
namespace Mostra = query::model::Mostra;

inline Row shown(const QString& nome, const QString& condizione = QString()) {
  return Row{0, nome, Mostra::Shown, condizione};
}
inline Row hidden(const QString& nome, const QString& condizione = QString()) {
  return Row{0, nome, Mostra::Hidden, condizione};
}
inline Row frozen(const QString& nome, const QString& condizione = QString()) {
  return Row{0, nome, Mostra::Frozen, condizione};
}
inline Row leftJoin(const QString& table, const QString& letter,
                    const QString& option = QString()) {
  return Row{0, table + QStringLiteral(" = ") + letter, Mostra::LeftJoin, option};
}
inline Row rightJoin(const QString& table, const QString& letter) {
  return Row{0, table + QStringLiteral(" = ") + letter, Mostra::RightJoin, QString()};
}
inline Row key(const QString& nome, const QString& equals) {
  return Row{0, nome, Mostra::LinkKey, equals};
}
inline Row lock(const QString& condizione = QString()) {
  return Row{0, QStringLiteral("QUERY BLOCCATA"), Mostra::Lock, condizione};
}
inline Row partHeader() {
  return Row{0, QStringLiteral("ETICHETTE"), Mostra::LeftJoin, "UNION"};
}
inline Row headerCopy() {
  return Row{0, QStringLiteral("UNION"), Mostra::LeftJoin, QString()};
}

// The rows numbered 1 to n in the order given.
inline QList<Row> rows(std::initializer_list<Row> list) {
  QList<Row> numbered(list);
  for (qsizetype i = 0; i < numbered.size(); ++i) numbered[i].numero = static_cast<int>(i + 1);
  return numbered;
}

inline query::engine::FieldTypeLookup fieldTypes() {
  using db::FieldType;
  static const QHash<QString, FieldType> types{
      {"ETICHETTE.CODICE", FieldType::String},
      {"ETICHETTE.DESCRIZIONE", FieldType::String},
      {"ETICHETTE.NOTE", FieldType::Memo},
      {"ETICHETTE.FOTO", FieldType::Blob},
      {"ETICHETTE.DATADOC", FieldType::Date},
      {"ETICHETTE.IDLANCIOSTAMPA", FieldType::Integer},
      {"ETICHETTE.IDACQUISIZIONE", FieldType::Integer},
      {"LANCISTAMPA.ID", FieldType::Integer},
      {"LANCISTAMPA.NOTE", FieldType::String},
      {"LANCISTAMPA.DATALANCIO", FieldType::DateTime},
      {"ACQUISIZIONI.ID", FieldType::Integer},
      {"ACQUISIZIONI.FILE", FieldType::Memo},
  };
  return [](const QString& table, const QString& field) {
    return types.value(table + u'.' + field, FieldType::Unknown);
  };
}

// Lines as one text, each ending in "|" so trailing blanks show in a failure.
inline std::string render(const QStringList& lines) {
  std::string text;
  for (const QString& line : lines) text += line.toStdString() + "|\n";
  return text;
}

}  // namespace enginetest
