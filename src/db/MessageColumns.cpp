#include "db/MessageColumns.h"

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <cmath>
#include <cstring>

#include "core/Cp1252.h"
#include "db/Database.h"
#include "db/FbStatus.h"

namespace db::detail {

namespace {

constexpr unsigned kCharsetOctets = 1;

QString fromDb(const char* data, std::size_t length) {
  return core::fromCp1252(QByteArray(data, static_cast<qsizetype>(length)));
}

QString trimmedRight(QString text) {
  qsizetype end = text.size();
  while (end > 0 && text.at(end - 1) == ' ') --end;
  text.truncate(end);
  return text;
}

FieldType typeFor(unsigned sqlType, int subType, int scale, unsigned charset) {
  switch (sqlType) {
    case SQL_VARYING:
    case SQL_TEXT:
      return charset == kCharsetOctets ? FieldType::Bytes : FieldType::String;
    case SQL_SHORT:
      return scale < 0 ? FieldType::Bcd : FieldType::SmallInt;
    case SQL_LONG:
      return scale < 0 ? FieldType::Bcd : FieldType::Integer;
    case SQL_INT64:
      return scale < 0 ? FieldType::Bcd : FieldType::LargeInt;
    case SQL_FLOAT:
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
      return FieldType::Float;
    case SQL_TYPE_DATE:
      return FieldType::Date;
    case SQL_TYPE_TIME:
      return FieldType::Time;
    case SQL_TIMESTAMP:
      return FieldType::DateTime;
    case SQL_BLOB:
      return subType == 1 ? FieldType::Memo : FieldType::Blob;
    case SQL_BOOLEAN:
      return FieldType::Boolean;
    default:
      return FieldType::Unknown;
  }
}

QVariant readBlob(const unsigned char* blobId, bool text, Firebird::IAttachment* attachment,
                  Firebird::ITransaction* transaction) {
  ISC_QUAD id;
  std::memcpy(&id, blobId, sizeof id);
  QByteArray bytes;
  call([&](Status* status) {
    Firebird::IBlob* blob = attachment->openBlob(status, transaction, &id, 0, nullptr);
    char chunk[16384];
    for (;;) {
      unsigned got = 0;
      const int result = blob->getSegment(status, sizeof chunk, chunk, &got);
      if (result == Firebird::IStatus::RESULT_OK || result == Firebird::IStatus::RESULT_SEGMENT)
        bytes.append(chunk, got);
      else
        break;
    }
    blob->close(status);
  });
  if (text) return core::fromCp1252(bytes);
  return bytes;
}

}  // namespace

void readOutputLayout(Firebird::IMessageMetadata* meta, std::vector<MessageColumn>& columns,
                      std::vector<FieldInfo>& fields) {
  columns.clear();
  fields.clear();
  call([&](Status* status) {
    const unsigned count = meta->getCount(status);
    for (unsigned i = 0; i < count; ++i) {
      MessageColumn column;
      column.sqlType = meta->getType(status, i) & ~1u;
      column.subType = meta->getSubType(status, i);
      column.scale = meta->getScale(status, i);
      column.length = meta->getLength(status, i);
      column.offset = meta->getOffset(status, i);
      column.nullOffset = meta->getNullOffset(status, i);
      const unsigned charset = meta->getCharSet(status, i);
      column.type = typeFor(column.sqlType, column.subType, column.scale, charset);
      FieldInfo info;
      info.name = fromDb(meta->getAlias(status, i), std::strlen(meta->getAlias(status, i)));
      info.sourceField = QString::fromLatin1(meta->getField(status, i));
      info.relation = QString::fromLatin1(meta->getRelation(status, i));
      if (!info.relation.isEmpty() && !info.sourceField.isEmpty())
        info.origin = info.relation + '.' + info.sourceField;
      info.type = column.type;
      info.size = static_cast<int>(column.length);
      info.scale = column.scale < 0 ? -column.scale : 0;
      info.nullable = meta->isNullable(status, i);
      fields.push_back(info);
      columns.push_back(column);
    }
  });
}

QVariant decodeColumn(const MessageColumn& column, const unsigned char* buffer,
                      Firebird::IAttachment* attachment, Firebird::ITransaction* transaction) {
  if (isNull(column, buffer)) return {};
  const unsigned char* data = buffer + column.offset;
  const int scale = column.scale;
  const auto scaled = [scale](qint64 raw) -> QVariant {
    if (scale >= 0) return raw;
    return static_cast<double>(raw) / std::pow(10.0, -scale);
  };
  switch (column.sqlType) {
    case SQL_VARYING: {
      const auto length = *reinterpret_cast<const unsigned short*>(data);
      const char* chars = reinterpret_cast<const char*>(data + sizeof(unsigned short));
      if (column.type == FieldType::Bytes) return QByteArray(chars, length);
      return fromDb(chars, length);
    }
    case SQL_TEXT: {
      const char* chars = reinterpret_cast<const char*>(data);
      if (column.type == FieldType::Bytes) return QByteArray(chars, column.length);
      return trimmedRight(fromDb(chars, column.length));
    }
    case SQL_SHORT:
      return scaled(*reinterpret_cast<const qint16*>(data));
    case SQL_LONG:
      return scaled(*reinterpret_cast<const qint32*>(data));
    case SQL_INT64:
      return scaled(*reinterpret_cast<const qint64*>(data));
    case SQL_FLOAT:
      return static_cast<double>(*reinterpret_cast<const float*>(data));
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
      return *reinterpret_cast<const double*>(data);
    case SQL_BOOLEAN:
      return *data != 0;
    case SQL_TYPE_DATE: {
      unsigned y = 0, m = 0, d = 0;
      util()->decodeDate(*reinterpret_cast<const ISC_DATE*>(data), &y, &m, &d);
      return QDate(static_cast<int>(y), static_cast<int>(m), static_cast<int>(d));
    }
    case SQL_TYPE_TIME: {
      unsigned h = 0, mi = 0, s = 0, frac = 0;
      util()->decodeTime(*reinterpret_cast<const ISC_TIME*>(data), &h, &mi, &s, &frac);
      return QTime(static_cast<int>(h), static_cast<int>(mi), static_cast<int>(s),
                   static_cast<int>(frac / 10));
    }
    case SQL_TIMESTAMP: {
      const auto* stamp = reinterpret_cast<const ISC_TIMESTAMP*>(data);
      unsigned y = 0, m = 0, d = 0, h = 0, mi = 0, s = 0, frac = 0;
      util()->decodeDate(stamp->timestamp_date, &y, &m, &d);
      util()->decodeTime(stamp->timestamp_time, &h, &mi, &s, &frac);
      return QDateTime(QDate(static_cast<int>(y), static_cast<int>(m), static_cast<int>(d)),
                       QTime(static_cast<int>(h), static_cast<int>(mi), static_cast<int>(s),
                             static_cast<int>(frac / 10)));
    }
    case SQL_BLOB:
      return readBlob(data, column.subType == 1, attachment, transaction);
    default:
      return {};
  }
}

}  // namespace db::detail
