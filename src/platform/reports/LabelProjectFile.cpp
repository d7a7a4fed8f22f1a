#include "platform/reports/LabelProjectFile.h"

#include <QFile>
#include <QSaveFile>
#include <QStringList>
#include <cmath>
#include <optional>

#include "core/RecordLine.h"

namespace platform::reports {

namespace {

const QString kMagic = QStringLiteral("orbelan-label");
constexpr int kVersion = 1;

struct KindName {
  ObjectKind kind;
  const char* name;
};
constexpr KindName kKinds[] = {{ObjectKind::Text, "text"},
                               {ObjectKind::Barcode, "barcode"},
                               {ObjectKind::Line, "line"},
                               {ObjectKind::Box, "box"},
                               {ObjectKind::Image, "image"}};

QString kindName(ObjectKind kind) {
  for (const KindName& entry : kKinds)
    if (entry.kind == kind) return QLatin1String(entry.name);
  return {};
}

QString alignmentName(Alignment alignment) {
  switch (alignment) {
    case Alignment::Left:
      return QStringLiteral("left");
    case Alignment::Center:
      return QStringLiteral("center");
    case Alignment::Right:
      return QStringLiteral("right");
  }
  return {};
}

QString symbologyName(Symbology symbology) {
  return symbology == Symbology::Ean13 ? QStringLiteral("ean13") : QStringLiteral("code128");
}

// Reads the values of one record, key by key, and reports what is wrong.
class Fields : public core::RecordFields {
 public:
  using RecordFields::RecordFields;

  QString text(const QString& key, const QString& fallback = {}) { return take(key, fallback); }

  double number(const QString& key, std::optional<double> fallback, bool mayBeNegative = false) {
    const QString text = take(key);
    if (!has(key)) {
      if (!fallback) fail(QStringLiteral("manca %1").arg(key));
      return fallback.value_or(0);
    }
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || !std::isfinite(value))
      fail(QStringLiteral("%1 non è un numero: \"%2\"").arg(key, text));
    else if (value < 0 && !mayBeNegative)
      fail(QStringLiteral("%1 non può essere negativo").arg(key));
    return ok ? value : 0;
  }

  bool flag(const QString& key, bool fallback) {
    const QString value = text(key);
    if (value.isEmpty() && !has(key)) return fallback;
    if (value == QLatin1String("yes")) return true;
    if (value == QLatin1String("no")) return false;
    fail(QStringLiteral("%1 vale yes o no, non \"%2\"").arg(key, value));
    return fallback;
  }

  // One of the names listed; the first when the key is absent.
  int choice(const QString& key, const QStringList& names) {
    if (!has(key)) return 0;
    const QString value = text(key);
    const int index = int(names.indexOf(value));
    if (index < 0)
      fail(QStringLiteral("%1 vale %2, non \"%3\"")
               .arg(key, names.join(QStringLiteral(" o ")), value));
    return qMax(index, 0);
  }
};

void readFont(Fields& fields, LabelFont& font) {
  font.family = fields.text(QStringLiteral("font"), font.family);
  font.points = fields.number(QStringLiteral("points"), font.points);
  if (font.points <= 0) fields.fail(QStringLiteral("points deve essere maggiore di zero"));
  font.bold = fields.flag(QStringLiteral("bold"), false);
  font.italic = fields.flag(QStringLiteral("italic"), false);
}

void readContent(Fields& fields, LabelObject& object) {
  if (fields.has(QStringLiteral("variable")) && fields.has(QStringLiteral("text")))
    fields.fail(QStringLiteral("variable e text si escludono"));
  object.variable = fields.text(QStringLiteral("variable"));
  object.fixedText = fields.text(QStringLiteral("text"));
}

LabelObject readObject(ObjectKind kind, Fields& fields) {
  LabelObject object;
  object.kind = kind;
  const bool line = kind == ObjectKind::Line;
  const double x = fields.number(QStringLiteral("x"), std::nullopt, true);
  const double y = fields.number(QStringLiteral("y"), std::nullopt, true);
  const double width = fields.number(QStringLiteral("width"), std::nullopt, line);
  const double height = fields.number(QStringLiteral("height"), std::nullopt, line);
  object.rect = QRectF(x, y, width, height);
  switch (kind) {
    case ObjectKind::Text:
      readContent(fields, object);
      readFont(fields, object.font);
      object.alignment = Alignment(fields.choice(
          QStringLiteral("align"),
          {QStringLiteral("left"), QStringLiteral("center"), QStringLiteral("right")}));
      break;
    case ObjectKind::Barcode:
      readContent(fields, object);
      object.symbology = Symbology(fields.choice(
          QStringLiteral("symbology"), {QStringLiteral("code128"), QStringLiteral("ean13")}));
      object.humanReadable = fields.flag(QStringLiteral("readable"), true);
      readFont(fields, object.font);
      break;
    case ObjectKind::Line:
    case ObjectKind::Box:
      object.thickness = fields.number(QStringLiteral("thickness"), 0.3);
      break;
    case ObjectKind::Image:
      object.imageFile = fields.text(QStringLiteral("file"));
      if (object.imageFile.isEmpty()) fields.fail(QStringLiteral("manca file"));
      break;
  }
  return object;
}

QString number(double value) {
  QString text = QString::number(std::round(value * 100) / 100, 'f', 2);
  while (text.endsWith('0')) text.chop(1);
  if (text.endsWith('.')) text.chop(1);
  if (text == QLatin1String("-0")) text = QStringLiteral("0");
  return text;
}

// A value as written: bare when it is a plain word, else quoted.
QString quoted(const QString& value) {
  bool bare = !value.isEmpty();
  for (const QChar c : value)
    if (c.isSpace() || c == '"' || c == '\\' || c == '=') bare = false;
  if (bare) return value;
  QString escaped = value;
  escaped.replace('\\', QLatin1String("\\\\")).replace('"', QLatin1String("\\\""));
  return '"' + escaped + '"';
}

QString yesNo(bool value) {
  return value ? QStringLiteral("yes") : QStringLiteral("no");
}

QString fontPairs(const LabelFont& font) {
  QString text = QStringLiteral(" font=%1 points=%2").arg(quoted(font.family), number(font.points));
  if (font.bold) text += QStringLiteral(" bold=yes");
  if (font.italic) text += QStringLiteral(" italic=yes");
  return text;
}

QString contentPair(const LabelObject& object) {
  return object.variable.isEmpty() ? QStringLiteral(" text=") + quoted(object.fixedText)
                                   : QStringLiteral(" variable=") + quoted(object.variable);
}

}  // namespace

bool parseLabelProject(const QByteArray& bytes, LabelProject& project, QString& error) {
  QString text = QString::fromUtf8(bytes);
  if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
  const QStringList lines = text.split('\n');
  LabelProject result;
  bool headerSeen = false;
  bool sizeSeen = false;
  for (qsizetype index = 0; index < lines.size(); ++index) {
    QString line = lines.at(index);
    if (line.endsWith('\r')) line.chop(1);
    const QString trimmed = line.trimmed();
    if (trimmed.isEmpty() || trimmed.startsWith('#')) continue;
    const auto fail = [&](const QString& message) {
      error = QStringLiteral("riga %1: %2").arg(index + 1).arg(message);
      return false;
    };
    if (!headerSeen) {
      const QStringList words = trimmed.split(' ', Qt::SkipEmptyParts);
      if (words.size() != 2 || words.at(0) != kMagic)
        return fail(QStringLiteral("non è un progetto etichetta (manca \"%1 %2\")")
                        .arg(kMagic)
                        .arg(kVersion));
      if (words.at(1) != QString::number(kVersion))
        return fail(QStringLiteral("versione %1 non gestita").arg(words.at(1)));
      headerSeen = true;
      continue;
    }
    QString problem;
    const std::optional<core::RecordLine> record = core::splitRecordLine(trimmed, problem);
    if (!record) return fail(problem);
    Fields fields(*record);
    if (record->name == QLatin1String("label")) {
      if (sizeSeen) return fail(QStringLiteral("record label ripetuto"));
      sizeSeen = true;
      result.size = QSizeF(fields.number(QStringLiteral("width"), std::nullopt),
                           fields.number(QStringLiteral("height"), std::nullopt));
      if (fields.error().isEmpty() && (result.size.width() <= 0 || result.size.height() <= 0))
        fields.fail(QStringLiteral("le misure dell'etichetta devono essere maggiori di zero"));
    } else {
      const KindName* kind = nullptr;
      for (const KindName& entry : kKinds)
        if (record->name == QLatin1String(entry.name)) kind = &entry;
      if (!kind) return fail(QStringLiteral("record sconosciuto %1").arg(record->name));
      result.objects.append(readObject(kind->kind, fields));
    }
    if (const QString problemText = fields.error(); !problemText.isEmpty())
      return fail(problemText);
  }
  if (!headerSeen) {
    error = QStringLiteral("il file è vuoto");
    return false;
  }
  if (!sizeSeen) {
    error = QStringLiteral("manca il record label con le misure dell'etichetta");
    return false;
  }
  project = result;
  return true;
}

QByteArray formatLabelProject(const LabelProject& project) {
  QString text = QStringLiteral("%1 %2\n").arg(kMagic).arg(kVersion);
  text += QStringLiteral("label width=%1 height=%2\n")
              .arg(number(project.size.width()), number(project.size.height()));
  for (const LabelObject& object : project.objects) {
    const QRectF& r = object.rect;
    QString line = QStringLiteral("%1 x=%2 y=%3 width=%4 height=%5")
                       .arg(kindName(object.kind), number(r.x()), number(r.y()), number(r.width()),
                            number(r.height()));
    switch (object.kind) {
      case ObjectKind::Text:
        line += contentPair(object) + fontPairs(object.font) + QStringLiteral(" align=") +
                alignmentName(object.alignment);
        break;
      case ObjectKind::Barcode:
        line += contentPair(object) + QStringLiteral(" symbology=") +
                symbologyName(object.symbology) + QStringLiteral(" readable=") +
                yesNo(object.humanReadable) + fontPairs(object.font);
        break;
      case ObjectKind::Line:
      case ObjectKind::Box:
        line += QStringLiteral(" thickness=") + number(object.thickness);
        break;
      case ObjectKind::Image:
        line += QStringLiteral(" file=") + quoted(object.imageFile);
        break;
    }
    text += line + '\n';
  }
  return text.toUtf8();
}

bool loadLabelProject(const QString& path, LabelProject& project, QString& error) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    error = QStringLiteral("Impossibile aprire il progetto etichetta %1: %2")
                .arg(path, file.errorString());
    return false;
  }
  QString problem;
  if (!parseLabelProject(file.readAll(), project, problem)) {
    error = QStringLiteral("Il progetto etichetta %1 non è valido: %2").arg(path, problem);
    return false;
  }
  return true;
}

bool saveLabelProject(const QString& path, const LabelProject& project, QString& error) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(formatLabelProject(project)) < 0 ||
      !file.commit()) {
    error = QStringLiteral("Impossibile salvare il progetto etichetta %1: %2")
                .arg(path, file.errorString());
    return false;
  }
  return true;
}

}  // namespace platform::reports
