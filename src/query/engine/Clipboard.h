#pragma once

#include <QStringList>

namespace query::engine {

// The statement as the copy-SQL command shows it for pasting into a string
// literal: every single quote doubled.
QStringList clipboardLines(const QStringList& lines);

}  // namespace query::engine
