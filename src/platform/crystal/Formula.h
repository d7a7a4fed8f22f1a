#pragma once

#include <QString>
#include <optional>

namespace platform::crystal {

// The value of a report formula. A formula is a text constant between
// apostrophes or double quotes, in which the quote doubled stands for
// itself ('L''abito' is L'abito); several constants may be joined with "+".
// Blanks around them do not count. Anything else is not a formula this
// engine evaluates: nullopt.
std::optional<QString> formulaValue(const QString& formula);

// A text as a formula constant: between apostrophes, each apostrophe
// doubled.
QString formulaConstant(const QString& text);

}  // namespace platform::crystal
