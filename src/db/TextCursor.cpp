#include "db/TextCursor.h"

#include <charconv>
#include <cmath>

#include "core/Cp1252.h"
#include "db/Cancellation.h"
#include "db/Database.h"
#include "db/FbStatus.h"
#include "db/Query.h"
#include "db/Transaction.h"

namespace db {

using detail::call;
using detail::Status;

namespace {

template <class Integer>
void appendInteger(Integer value, QByteArray& out) {
  char digits[24];
  const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  out.append(digits, end - digits);
}

// Two or four digits, zero-padded.
void appendPadded(unsigned value, int width, QByteArray& out) {
  char digits[4];
  for (int i = width - 1; i >= 0; --i) {
    digits[i] = static_cast<char>('0' + value % 10);
    value /= 10;
  }
  out.append(digits, width);
}

// "dd/mm/yyyy", as core::shortDate writes it.
void appendDate(ISC_DATE date, QByteArray& out) {
  unsigned y = 0, m = 0, d = 0;
  util()->decodeDate(date, &y, &m, &d);
  appendPadded(d, 2, out);
  out += '/';
  appendPadded(m, 2, out);
  out += '/';
  appendPadded(y, 4, out);
}

// An exact decimal of `scale` digits after the point: the integer written
// with a point inserted, as QString::number(value, 'f', scale) gives it.
void appendFixed(qint64 raw, int scale, QByteArray& out) {
  char digits[24];
  const bool negative = raw < 0;
  const auto magnitude = negative ? 0 - static_cast<quint64>(raw) : static_cast<quint64>(raw);
  const auto end = std::to_chars(digits, digits + sizeof digits, magnitude).ptr;
  qsizetype length = end - digits;
  if (negative) out += '-';
  if (length <= scale) {
    out += '0';
    out += '.';
    out.append(scale - length, '0');
    out.append(digits, length);
    return;
  }
  out.append(digits, length - scale);
  out += '.';
  out.append(digits + (length - scale), scale);
}

}  // namespace

TextCursor::TextCursor(Transaction& transaction, const QStringList& lines)
    : transaction_(transaction) {
  notifyStatementObserver(lines);
  if (!transaction_.database().isConnected())
    throw DbError(QStringLiteral("Database non connesso"));
  transaction_.ensureStarted();
  const QByteArray text = core::toCp1252(lines.join('\n'));
  Firebird::IAttachment* attachment = transaction_.database().attachment();
  try {
    call([&](Status* status) {
      statement_ =
          attachment->prepare(status, transaction_.handle(), 0, text.constData(), SQL_DIALECT_V6,
                              Firebird::IStatement::PREPARE_PREFETCH_METADATA);
      meta_ = statement_->getOutputMetadata(status);
      buffer_.assign(meta_->getMessageLength(status), 0);
    });
    detail::readOutputLayout(meta_, columns_, fields_);
    const RunningStatement running(attachment);
    cursor_ = call([&](Status* status) {
      return statement_->openCursor(status, transaction_.handle(), nullptr, nullptr, meta_, 0);
    });
  } catch (...) {
    close();
    throw;
  }
}

TextCursor::~TextCursor() {
  close();
  if (fetchStatus_) fetchStatus_->dispose();
}

void TextCursor::close() {
  detail::closeQuietly(cursor_);
  if (meta_) {
    meta_->release();
    meta_ = nullptr;
  }
  detail::freeQuietly(statement_);
}

bool TextCursor::next() {
  if (!cursor_) return false;
  if (!fetchStatus_) fetchStatus_ = Firebird::fb_get_master_interface()->getStatus();
  fetchStatus_->init();
  Status status(fetchStatus_);
  int result = Firebird::IStatus::RESULT_ERROR;
  const RunningStatement running(transaction_.database().attachment());
  try {
    result = cursor_->fetchNext(&status, buffer_.data());
  } catch (const Firebird::FbException& error) {
    detail::rethrow(error);
  }
  if (result == Firebird::IStatus::RESULT_OK) return true;
  close();
  return false;
}

bool TextCursor::isNull(int column) const {
  return detail::isNull(columns_[static_cast<std::size_t>(column)], buffer_.data());
}

QVariant TextCursor::value(int column) const {
  return detail::decodeColumn(columns_[static_cast<std::size_t>(column)], buffer_.data(),
                              transaction_.database().attachment(), transaction_.handle());
}

void TextCursor::appendText(int column, TextForm form, QByteArray& out) const {
  const detail::MessageColumn& layout = columns_[static_cast<std::size_t>(column)];
  if (detail::isNull(layout, buffer_.data())) return;
  const unsigned char* data = buffer_.data() + layout.offset;
  const bool text = layout.type == FieldType::String;
  const auto decimal = [&](qint64 raw) {
    if (layout.scale >= 0) {
      appendInteger(raw, out);
    } else if (form == TextForm::Cell) {
      appendFixed(raw, -layout.scale, out);
    } else {
      out += QByteArray::number(static_cast<double>(raw) / std::pow(10.0, -layout.scale), 'g', 15);
    }
  };
  switch (layout.sqlType) {
    case SQL_VARYING:
      if (!text) break;
      out.append(reinterpret_cast<const char*>(data + sizeof(unsigned short)),
                 *reinterpret_cast<const unsigned short*>(data));
      return;
    case SQL_TEXT: {
      if (!text) break;
      const char* chars = reinterpret_cast<const char*>(data);
      qsizetype length = layout.length;
      while (length > 0 && chars[length - 1] == ' ') --length;
      out.append(chars, length);
      return;
    }
    case SQL_SHORT:
      decimal(*reinterpret_cast<const qint16*>(data));
      return;
    case SQL_LONG:
      decimal(*reinterpret_cast<const qint32*>(data));
      return;
    case SQL_INT64:
      decimal(*reinterpret_cast<const qint64*>(data));
      return;
    case SQL_FLOAT:
      out +=
          QByteArray::number(static_cast<double>(*reinterpret_cast<const float*>(data)), 'g', 15);
      return;
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
      out += QByteArray::number(*reinterpret_cast<const double*>(data), 'g', 15);
      return;
    case SQL_TYPE_DATE:
      appendDate(*reinterpret_cast<const ISC_DATE*>(data), out);
      return;
    case SQL_TIMESTAMP: {
      const auto* stamp = reinterpret_cast<const ISC_TIMESTAMP*>(data);
      appendDate(stamp->timestamp_date, out);
      unsigned h = 0, mi = 0, s = 0, frac = 0;
      util()->decodeTime(stamp->timestamp_time, &h, &mi, &s, &frac);
      // Midnight to the millisecond, as the general road compares it.
      if (h == 0 && mi == 0 && s == 0 && frac / 10 == 0) return;
      out += ' ';
      appendPadded(h, 2, out);
      out += ':';
      appendPadded(mi, 2, out);
      out += ':';
      appendPadded(s, 2, out);
      return;
    }
    default:
      break;
  }
  const QVariant general = value(column);
  out += core::toCp1252(form == TextForm::Cell
                            ? cellText(general, fields_[static_cast<std::size_t>(column)])
                            : displayText(general));
}

}  // namespace db
