#pragma once

#include <QString>

namespace query::output {

// The visible text of an RTF document, as a word processor would show it
// with its formatting dropped: groups and control words are read, the
// destinations that hold no visible text (font, colour and style tables,
// document information, pictures, objects, every "\*" destination) are
// skipped, "\'hh" is a Windows-1252 character, "\uN" a Unicode character
// followed by the number of fallback characters "\ucN" says (skipped),
// "\par", "\line" and "\row" end a line, "\tab" is a tab, and table cells
// are separated by blanks. A text that does not start as RTF ("{\rtf") is
// returned unchanged; a malformed document gives the text read up to its
// faults and never fails.
QString rtfToPlainText(const QString& rtf);

}  // namespace query::output
