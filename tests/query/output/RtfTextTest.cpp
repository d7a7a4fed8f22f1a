#include <gtest/gtest.h>

#include "query/output/RtfText.h"

namespace {

using query::output::rtfToPlainText;

TEST(RtfText, WhatWordProcessorsWriteGivesItsVisibleText) {
  // Tables, styles and document information are not text; escapes are.
  const QString wordPad = QStringLiteral(
      "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Calibri;}}"
      "{\\colortbl ;\\red255\\green0\\blue0;}{\\*\\generator Riched20 10.0;}"
      "{\\stylesheet{\\s0 Normal;}}{\\info{\\author Rossi}}"
      "\\viewkind4\\uc1\\pard\\sa200\\f0\\fs22 Giacca \\b blu\\b0 , taglia 46\\par\r\n"
      "Perch\\'e8 s\\'ec\\tab fine\\line \\{graffe\\} e \\\\ barra\\par}");
  EXPECT_EQ(
      rtfToPlainText(wordPad),
      QStringLiteral("Giacca blu, taglia 46\nPerch\u00E8 s\u00EC\tfine\n{graffe} e \\ barra\n"));

  // \uN with its fallback skipped, \ucN changing how many characters that is;
  // a negative N counts from 65536.
  EXPECT_EQ(rtfToPlainText("{\\rtf1 caf\\u233?; euro {\\uc2\\u8364 EU}; \\u-3913?x}"),
            QStringLiteral("caf\u00E9; euro \u20AC; \uF0B7x"));
  // A Windows-1252 escape outside Latin-1.
  EXPECT_EQ(rtfToPlainText("{\\rtf1 prezzo \\'80 10}"), QStringLiteral("prezzo \u20AC 10"));
  // Table cells separated by blanks, rows ending lines; pictures skipped.
  EXPECT_EQ(rtfToPlainText("{\\rtf1 {\\pict\\pngblip 89504e47}\\trowd\\cellx1000\\cellx2000 "
                           "A1\\cell B1\\cell\\row C1\\cell D1\\cell\\row}"),
            QStringLiteral("A1 B1 \nC1 D1 \n"));
}

TEST(RtfText, PlainAndMalformedTextNeverFails) {
  EXPECT_EQ(rtfToPlainText("solo testo {non rtf}"), QStringLiteral("solo testo {non rtf}"));
  EXPECT_EQ(rtfToPlainText(""), QString());
  // Unbalanced groups, a cut escape, a word without its end, binary data
  // longer than the text: the text that was read.
  EXPECT_EQ(rtfToPlainText("{\\rtf1 uno}} due {{tre"), QStringLiteral("uno due tre"));
  EXPECT_EQ(rtfToPlainText("{\\rtf1 fine\\'4"), QStringLiteral("fine"));
  EXPECT_EQ(rtfToPlainText("{\\rtf1 a\\bin99999 zzz"), QStringLiteral("a"));
  EXPECT_EQ(rtfToPlainText("{\\rtf1 x\\u99999999999999999999?y\\"), QStringLiteral("x\uFFFDy"));
}

}  // namespace
