#pragma once

#include <QByteArray>
#include <QString>

// The one place where text crosses to and from Windows-1252 bytes: database
// connection, import and export files, INI files and thermal templates.
namespace core {

QString fromCp1252(const QByteArray& bytes);
// Characters that Windows-1252 cannot hold become '?', as the Windows
// conversion functions do.
QByteArray toCp1252(const QString& text);

// The acute accent that stored data uses in place of an apostrophe (byte 0xB4).
inline constexpr QChar kAcuteAccent = QChar(0x00B4);
QString apostrophesToAcute(QString text);

}  // namespace core
