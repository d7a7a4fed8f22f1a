#pragma once

#include <QString>

class TIBLQueryForm;

namespace query::designer {

// Where the designer's current row goes after a command.
enum class RowAfter { Keep, Last };

// Carries out a command word of the advanced elaborations window on the
// designer's rows and flags: the lock window, adding or removing a
// side-by-side part, the archive-only notice. An empty command does nothing.
RowAfter runAdvancedCommand(const QString& command, TIBLQueryForm& designer);

}  // namespace query::designer
