#pragma once

#include <QList>
#include <QString>

namespace core {

// A message for the user as logic hands it over: a window shows it in a
// message box, a batch command writes it out. Logic decides what to say,
// never how it reaches the user.
struct UserMessage {
  enum class Severity { Information, Warning, Error };
  Severity severity = Severity::Information;
  QString text;

  friend bool operator==(const UserMessage&, const UserMessage&) = default;
};
using UserMessages = QList<UserMessage>;

inline UserMessage information(const QString& text) {
  return {UserMessage::Severity::Information, text};
}
inline UserMessage warning(const QString& text) {
  return {UserMessage::Severity::Warning, text};
}
inline UserMessage error(const QString& text) {
  return {UserMessage::Severity::Error, text};
}

}  // namespace core
