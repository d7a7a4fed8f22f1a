#include "QueryRowsFile.h"

#include <QRegularExpression>
#include <QStringDecoder>

#include "core/SqlText.h"

namespace host {

using query::model::Row;
namespace Mostra = query::model::Mostra;

namespace {

// The designer's list holds Nome in 31 characters and Condizione in 1024.
constexpr int kNomeLength = 31;
constexpr int kCondizioneLength = 1024;

bool isKnownKind(int mostra) {
  return query::model::isField(mostra) || query::model::isJoinHeader(mostra) ||
         mostra == Mostra::LinkKey || mostra == Mostra::Lock;
}

// A field of the base table (NAME) or of a joined one (L.NAME).
bool isFieldName(const QString& nome) {
  static const QRegularExpression letterPrefix(QStringLiteral("^[A-Za-z]\\."));
  const QString field = letterPrefix.match(nome).hasMatch() ? nome.mid(2) : nome;
  return core::isSqlIdentifier(field);
}

// "TABLE = L": the joined table and the letter it is known by.
bool isJoinHeaderName(const QString& nome) {
  static const QRegularExpression header(QStringLiteral("^(\\S+) = [A-Za-z]$"));
  const QRegularExpressionMatch match = header.match(nome);
  return match.hasMatch() && core::isSqlIdentifier(match.captured(1));
}

// What a row's Nome must be for its kind; empty when it is.
QString nomeFault(const Row& row) {
  switch (row.mostra) {
    case Mostra::LeftJoin:
      // Also the header of a side-by-side part: the base table or "UNION".
      if (isJoinHeaderName(row.nome) || core::isSqlIdentifier(row.nome)) return {};
      return QStringLiteral("a header (kind 9) is named \"TABLE = L\", a table or UNION");
    case Mostra::RightJoin:
      if (isJoinHeaderName(row.nome)) return {};
      return QStringLiteral("a header (kind 3) is named \"TABLE = L\"");
    case Mostra::LinkKey:
      if (row.nome.size() > 2 && row.nome[1] == u'.' && isFieldName(row.nome)) return {};
      return QStringLiteral("a link key (kind 8) is named \"L.FIELD\"");
    case Mostra::Lock:
      if (row.nome == query::model::kLockName) return {};
      return QStringLiteral("a lock row (kind 7) is named \"") + query::model::kLockName + u'"';
    default:
      if (isFieldName(row.nome)) return {};
      return QStringLiteral("a field row is named FIELD or L.FIELD");
  }
}

// One line's row, or why it is refused.
QString readRow(const QString& line, int previousNumero, bool first, Row& row) {
  const QStringList fields = line.split(u'\t');
  if (fields.size() != 3 && fields.size() != 4)
    return QStringLiteral(
               "%1 fields; a row has Numero, Nome, Mostra and Condizione separated "
               "by TAB")
        .arg(fields.size());
  bool ok = false;
  row.numero = fields[0].trimmed().toShort(&ok);
  if (!ok) return QStringLiteral("Numero \"%1\" is not an integer of 16 bits").arg(fields[0]);
  if (!first && row.numero <= previousNumero)
    return QStringLiteral("Numero %1 does not follow %2").arg(row.numero).arg(previousNumero);
  row.nome = fields[1];
  if (row.nome.isEmpty()) return QStringLiteral("Nome is empty");
  if (row.nome.size() > kNomeLength)
    return QStringLiteral("Nome has more than %1 characters").arg(kNomeLength);
  row.mostra = fields[2].trimmed().toInt(&ok);
  if (!ok || !isKnownKind(row.mostra))
    return QStringLiteral("Mostra \"%1\" is not one of 0 1 3 6 7 8 9").arg(fields[2]);
  row.condizione = fields.size() == 4 ? fields[3] : QString();
  if (row.condizione.size() > kCondizioneLength)
    return QStringLiteral("Condizione has more than %1 characters").arg(kCondizioneLength);
  return nomeFault(row);
}

}  // namespace

QueryRowsFile parseQueryRows(const QByteArray& text) {
  QueryRowsFile file;
  QByteArray bytes = text;
  if (bytes.startsWith("\xEF\xBB\xBF")) bytes.remove(0, 3);
  const QList<QByteArray> lines = bytes.split('\n');
  for (qsizetype i = 0; i < lines.size(); ++i) {
    QByteArray raw = lines[i];
    if (raw.endsWith('\r')) raw.chop(1);
    if (raw.trimmed().isEmpty()) continue;
    const int number = static_cast<int>(i + 1);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString line = utf8.decode(raw);
    Row row;
    QString fault = utf8.hasError()
                        ? QStringLiteral("not UTF-8 text")
                        : readRow(line, file.rows.isEmpty() ? 0 : file.rows.last().numero,
                                  file.rows.isEmpty(), row);
    if (!fault.isEmpty()) {
      file.faultLine = number;
      file.fault = fault;
      file.rows.clear();
      return file;
    }
    file.rows.append(row);
  }
  if (file.rows.isEmpty()) {
    file.faultLine = 1;
    file.fault = QStringLiteral("no rows");
    return file;
  }
  file.flags = designerFlags(file.rows);
  return file;
}

query::model::DesignerFlags designerFlags(const QList<Row>& rows) {
  query::model::DesignerFlags flags;
  for (qsizetype i = 0; i < rows.size(); ++i) {
    if (rows[i].mostra != Mostra::Lock) continue;
    flags.locked = true;
    flags.sideBySide = i + 1 < rows.size();
    break;
  }
  return flags;
}

}  // namespace host
