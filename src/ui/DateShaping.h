#pragma once

#include <QString>

namespace ui {

// What the date entry box makes of its text after a key: the text it shows
// and, when a part is wrong, the part it selects so that the next keystroke
// replaces it (selectionLength 0: no fault, the caret goes to the end).
struct ShapedDate {
  QString text;
  int selectionStart = 0;
  int selectionLength = 0;
};

// Looks at the typed text by its length:
//   2  the day was typed: a day from 1 to 31 becomes "dd/";
//   5  the month was typed after "dd/": a month from 1 to 12 becomes "dd/mm/";
//   8  two year digits were typed after "dd/mm/": 19 and 20 are kept (a
//      four-digit year is on its way), anything else becomes 19yy from 50 on
//      and 20yy below.
// A wrong day selects the whole text, a wrong month the month and a wrong
// year the year.
ShapedDate shapeTypedDate(const QString& typed);

}  // namespace ui
