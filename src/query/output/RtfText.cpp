#include "query/output/RtfText.h"

#include <QSet>
#include <algorithm>
#include <vector>

#include "core/Cp1252.h"

namespace query::output {

namespace {

// Destinations whose text is never shown.
bool skippedDestination(const QString& word) {
  static const QSet<QString> words{QStringLiteral("fonttbl"),
                                   QStringLiteral("colortbl"),
                                   QStringLiteral("stylesheet"),
                                   QStringLiteral("info"),
                                   QStringLiteral("pict"),
                                   QStringLiteral("object"),
                                   QStringLiteral("header"),
                                   QStringLiteral("footer"),
                                   QStringLiteral("headerl"),
                                   QStringLiteral("headerr"),
                                   QStringLiteral("headerf"),
                                   QStringLiteral("footerl"),
                                   QStringLiteral("footerr"),
                                   QStringLiteral("footerf"),
                                   QStringLiteral("footnote"),
                                   QStringLiteral("fldinst"),
                                   QStringLiteral("listtable"),
                                   QStringLiteral("listoverridetable"),
                                   QStringLiteral("rsidtbl"),
                                   QStringLiteral("filetbl"),
                                   QStringLiteral("revtbl"),
                                   QStringLiteral("themedata"),
                                   QStringLiteral("colorschememapping"),
                                   QStringLiteral("latentstyles"),
                                   QStringLiteral("datastore"),
                                   QStringLiteral("xmlnstbl"),
                                   QStringLiteral("generator"),
                                   QStringLiteral("pgdsctbl"),
                                   QStringLiteral("operator"),
                                   QStringLiteral("author"),
                                   QStringLiteral("title"),
                                   QStringLiteral("subject"),
                                   QStringLiteral("company"),
                                   QStringLiteral("mmathPr"),
                                   QStringLiteral("nonshppict"),
                                   QStringLiteral("shpinst"),
                                   QStringLiteral("blipuid"),
                                   QStringLiteral("objdata")};
  return words.contains(word);
}

// Control words that stand for a character.
QString characterWord(const QString& word) {
  if (word == QLatin1String("par") || word == QLatin1String("line") ||
      word == QLatin1String("row") || word == QLatin1String("sect") ||
      word == QLatin1String("page"))
    return QStringLiteral("\n");
  if (word == QLatin1String("tab")) return QStringLiteral("\t");
  if (word == QLatin1String("cell") || word == QLatin1String("nestcell"))
    return QStringLiteral(" ");
  if (word == QLatin1String("emdash")) return QString(QChar(0x2014));
  if (word == QLatin1String("endash")) return QString(QChar(0x2013));
  if (word == QLatin1String("lquote")) return QString(QChar(0x2018));
  if (word == QLatin1String("rquote")) return QString(QChar(0x2019));
  if (word == QLatin1String("ldblquote")) return QString(QChar(0x201C));
  if (word == QLatin1String("rdblquote")) return QString(QChar(0x201D));
  if (word == QLatin1String("bullet")) return QString(QChar(0x2022));
  if (word == QLatin1String("emspace") || word == QLatin1String("enspace") ||
      word == QLatin1String("qmspace"))
    return QStringLiteral(" ");
  return {};
}

int hexDigit(QChar c) {
  const ushort u = c.unicode();
  if (u >= '0' && u <= '9') return u - '0';
  if (u >= 'a' && u <= 'f') return u - 'a' + 10;
  if (u >= 'A' && u <= 'F') return u - 'A' + 10;
  return -1;
}

bool isAsciiLetter(QChar c) {
  const ushort u = c.unicode();
  return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z');
}

bool isAsciiDigit(QChar c) {
  return c.unicode() >= '0' && c.unicode() <= '9';
}

struct GroupState {
  bool skip = false;
  int fallback = 1;  // characters after \uN to skip (\ucN)
};

class Reader {
 public:
  explicit Reader(const QString& rtf) : text_(rtf) {}

  QString read() {
    groups_.push_back({});
    while (at_ < text_.size()) {
      const QChar c = text_.at(at_);
      if (c == '{') {
        ++at_;
        const GroupState inherited = groups_.back();
        groups_.push_back(inherited);
        groupStart_ = true;
        continue;
      }
      if (c == '}') {
        ++at_;
        if (groups_.size() > 1) groups_.pop_back();  // an extra one is ignored
        groupStart_ = false;
        pendingSkip_ = 0;
        continue;
      }
      if (c == '\\') {
        ++at_;
        controlSequence();
        continue;
      }
      ++at_;
      groupStart_ = false;
      if (c == '\r' || c == '\n') continue;  // line ends of the file itself are not text
      put(QString(c));
    }
    return out_;
  }

 private:
  GroupState& state() { return groups_.back(); }

  // A character of the text, unless it is a fallback being skipped.
  void put(const QString& text) {
    if (pendingSkip_ > 0) {
      --pendingSkip_;
      return;
    }
    if (!state().skip) out_ += text;
  }

  void controlSequence() {
    if (at_ >= text_.size()) return;
    const QChar c = text_.at(at_);
    const bool atGroupStart = groupStart_;
    groupStart_ = false;
    if (!isAsciiLetter(c)) {
      ++at_;
      controlSymbol(c, atGroupStart);
      return;
    }
    const qsizetype start = at_;
    while (at_ < text_.size() && isAsciiLetter(text_.at(at_)) && at_ - start < 32) ++at_;
    const QString word = text_.mid(start, at_ - start);
    bool hasNumber = false;
    long long number = 0;
    bool negative = false;
    if (at_ < text_.size() && text_.at(at_) == '-' && at_ + 1 < text_.size() &&
        isAsciiDigit(text_.at(at_ + 1))) {
      negative = true;
      ++at_;
    }
    int digits = 0;
    while (at_ < text_.size() && isAsciiDigit(text_.at(at_))) {
      if (digits < 10) number = number * 10 + (text_.at(at_).unicode() - '0');
      ++digits;
      ++at_;
      hasNumber = true;
    }
    if (negative) number = -number;
    if (at_ < text_.size() && text_.at(at_) == ' ') ++at_;  // the delimiter belongs to the word
    controlWord(word, hasNumber, number, atGroupStart);
  }

  void controlSymbol(QChar c, bool atGroupStart) {
    switch (c.unicode()) {
      case '*':
        // A destination a reader may ignore: this one never shows it.
        if (atGroupStart) state().skip = true;
        return;
      case '\'': {
        const int high = at_ < text_.size() ? hexDigit(text_.at(at_)) : -1;
        const int low = at_ + 1 < text_.size() ? hexDigit(text_.at(at_ + 1)) : -1;
        // A broken escape shows nothing, its one hex digit included.
        if (high < 0) return;
        if (low < 0) {
          ++at_;
          return;
        }
        at_ += 2;
        put(core::fromCp1252(QByteArray(1, static_cast<char>(high * 16 + low))));
        return;
      }
      case '~':
        put(QStringLiteral(" "));
        return;
      case '_':
        put(QStringLiteral("-"));
        return;
      case '-':
        return;  // optional hyphen
      case '\r':
      case '\n':
        put(QStringLiteral("\n"));  // "\" at a line end is a paragraph
        return;
      default:
        put(QString(c));  // \\ \{ \} and any other escaped character
        return;
    }
  }

  void controlWord(const QString& word, bool hasNumber, long long number, bool atGroupStart) {
    if (atGroupStart && skippedDestination(word)) {
      state().skip = true;
      return;
    }
    if (word == QLatin1String("bin")) {
      // Binary data of that many bytes follows.
      if (hasNumber && number > 0) at_ = std::min<qsizetype>(text_.size(), at_ + number);
      return;
    }
    if (word == QLatin1String("uc")) {
      if (hasNumber && number >= 0 && number <= 10) state().fallback = static_cast<int>(number);
      return;
    }
    if (word == QLatin1String("u") && hasNumber) {
      long long code = number < 0 ? number + 65536 : number;
      if (code < 0 || code > 0xFFFF) code = 0xFFFD;
      // Half of a surrogate pair is not a character on its own.
      const QChar character(static_cast<char16_t>(code));
      pendingSkip_ = 0;
      put(character.isSurrogate() ? QString(QChar(0xFFFD)) : QString(character));
      pendingSkip_ = state().fallback;
      return;
    }
    const QString character = characterWord(word);
    if (!character.isEmpty()) put(character);
  }

  const QString& text_;
  qsizetype at_ = 0;
  std::vector<GroupState> groups_;
  bool groupStart_ = false;
  int pendingSkip_ = 0;
  QString out_;
};

}  // namespace

QString rtfToPlainText(const QString& rtf) {
  if (!rtf.startsWith(QLatin1String("{\\rtf"))) return rtf;
  return Reader(rtf).read();
}

}  // namespace query::output
