#include "query/model/JoinedTables.h"

namespace query::model {

namespace {

const QString kJoinSeparator = QStringLiteral(" = ");

// The row a field line stands for: the first row with that name that is not
// a link key; -1 when there is none.
int fieldRow(const QList<Row>& rows, const QString& nome) {
  for (int i = 0; i < rows.size(); ++i)
    if (rows.at(i).nome == nome && rows.at(i).mostra != Mostra::LinkKey) return i;
  return -1;
}

// The row a field line puts into the rebuilt list, if any.
void appendFieldRow(QList<Row>& out, const QList<Row>& rows, const FieldLine& line) {
  if (line.selezione == Selezione::Listed) {
    out.append(Row{0, line.nomeCampo, Mostra::Hidden, QString()});
  } else if (line.selezione == Selezione::InUse) {
    const int at = fieldRow(rows, line.nomeCampo);
    if (at >= 0) out.append(Row{0, line.nomeCampo, rows.at(at).mostra, rows.at(at).condizione});
  }
}

// Field lines of the `segment`-th header of the fields list, up to the next header.
QList<FieldLine> segmentLines(const QList<FieldLine>& lines, int segment) {
  QList<FieldLine> out;
  int header = -1;
  for (const FieldLine& line : lines) {
    if (line.selezione == Selezione::Header) {
      if (++header > segment) break;
      continue;
    }
    if (header == segment) out.append(line);
  }
  return out;
}

}  // namespace

QChar nextTableLetter(const RowList& rows) {
  if (rows.count() == 0) return QLatin1Char('A');
  const QString& nome = rows.at(rows.count() - 1).nome;
  if (nome.size() >= 2 && nome.at(1) == QLatin1Char('.')) return QChar(nome.at(0).unicode() + 1);
  return QLatin1Char('A');
}

bool joinedAsLeft(const RowList& rows, const QString& table) {
  for (const Row& row : rows.rows()) {
    if (row.mostra != Mostra::LeftJoin || !row.condizione.isEmpty()) continue;
    const int separator = row.nome.indexOf(kJoinSeparator);
    if (separator >= 0 && row.nome.left(separator) == table) return true;
  }
  return false;
}

bool addKeyPair(QList<KeyPair>& pairs, const KeyPair& pair) {
  if (pairs.contains(pair)) return false;
  pairs.append(pair);
  return true;
}

QString joinRefusal(const TableJoin& join) {
  if (join.table.isEmpty() || join.table == QStringLiteral("*.db"))
    return QStringLiteral("Si prega di scegliere una tabella da collegare!!");
  if (join.keys.isEmpty()) return QStringLiteral("Si prega di creare almeno un collegamento!!");
  if (join.fields.isEmpty())
    return QStringLiteral("Si prega di scegliere almeno un campo da visualizzare!!");
  return QString();
}

QChar appendTableJoin(RowList& rows, const TableJoin& join) {
  const QChar letter = nextTableLetter(rows);
  const QString prefix = QString(letter) + QLatin1Char('.');
  InternalChange change(rows);
  rows.append(join.table + kJoinSeparator + letter,
              join.mode == JoinMode::Right ? Mostra::RightJoin : Mostra::LeftJoin,
              join.mode == JoinMode::LeftConditionsFirst ? kConditionsBeforeJoin : QString());
  for (const KeyPair& key : join.keys)
    rows.append(prefix + key.joined, Mostra::LinkKey, key.querySide);
  for (const QString& field : join.fields) rows.append(prefix + field, Mostra::Shown);
  return letter;
}

QList<VisibleTable> visibleTables(const RowList& rows, const QString& mainTable) {
  QList<VisibleTable> tables{VisibleTable{mainTable, QString(), QString(), false}};
  for (const Row& row : rows.rows()) {
    if (row.mostra != Mostra::LeftJoin) continue;
    const int separator = row.nome.indexOf(kJoinSeparator);
    tables.append(VisibleTable{separator >= 0 ? row.nome.left(separator) : row.nome, row.condizione,
                               row.nome.right(1), false});
  }
  return tables;
}

QString headerName(const VisibleTable& table) {
  return table.lettera.isEmpty() ? table.nome : table.nome + kJoinSeparator + table.lettera;
}

QList<FieldLine> fieldLines(const QList<Row>& rows, const QList<VisibleTable>& tables,
                            const QList<QStringList>& fieldsOfSelected) {
  QList<FieldLine> lines;
  int selected = 0;
  for (const VisibleTable& table : tables) {
    if (!table.selezione) continue;
    lines.append(FieldLine{headerName(table), Selezione::Header});
    const QString prefix = table.lettera.isEmpty() ? QString() : table.lettera + QLatin1Char('.');
    for (const QString& field : fieldsOfSelected.value(selected)) {
      const QString nome = prefix + field;
      const int at = fieldRow(rows, nome);
      int code = Selezione::Absent;
      if (at >= 0) {
        const Row& row = rows.at(at);
        code = isOutput(row.mostra) || !row.condizione.isEmpty() ? Selezione::InUse
                                                                 : Selezione::Listed;
      }
      lines.append(FieldLine{nome, code});
    }
    ++selected;
  }
  return lines;
}

bool toggleFieldLine(FieldLine& line) {
  if (line.selezione == Selezione::Absent) {
    line.selezione = Selezione::Listed;
  } else if (line.selezione == Selezione::Listed) {
    line.selezione = Selezione::Absent;
  } else {
    return false;
  }
  return true;
}

void setAllFieldLines(QList<FieldLine>& lines, bool visible) {
  const int from = visible ? Selezione::Absent : Selezione::Listed;
  const int to = visible ? Selezione::Listed : Selezione::Absent;
  for (FieldLine& line : lines)
    if (line.selezione == from) line.selezione = to;
}

QList<Row> rebuildVisibleFields(const QList<Row>& rows, const QList<VisibleTable>& tables,
                                const QList<FieldLine>& lines) {
  QList<Row> out;
  // Rows from `from` up to the next left-join header, unchanged.
  const auto copyUpToHeader = [&](int from) {
    for (int i = from; i < rows.size() && rows.at(i).mostra != Mostra::LeftJoin; ++i)
      out.append(rows.at(i));
  };
  int segment = 0;
  for (int t = 0; t < tables.size(); ++t) {
    const VisibleTable& table = tables.at(t);
    int after = 0;  // first row after the table's header and keys
    if (t > 0) {
      const QString header = headerName(table);
      int at = -1;
      for (int i = 0; i < rows.size() && at < 0; ++i)
        if (rows.at(i).mostra == Mostra::LeftJoin && rows.at(i).nome == header) at = i;
      if (at < 0) {
        after = rows.size();
      } else {
        out.append(rows.at(at));
        after = at + 1;
        while (after < rows.size() && rows.at(after).mostra == Mostra::LinkKey)
          out.append(rows.at(after++));
      }
    }
    if (table.selezione) {
      for (const FieldLine& line : segmentLines(lines, segment)) appendFieldRow(out, rows, line);
      ++segment;
    } else {
      copyUpToHeader(after);
    }
  }
  for (int i = 0; i < out.size(); ++i) out[i].numero = i + 1;
  return out;
}

}  // namespace query::model
