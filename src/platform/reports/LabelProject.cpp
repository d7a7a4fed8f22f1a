#include "platform/reports/LabelProject.h"

#include <QStringList>

namespace platform::reports {

QString LabelObject::value(const Variables& variables) const {
  return variable.isEmpty() ? fixedText : variables.value(variable);
}

QStringList LabelProject::boundVariables() const {
  QStringList names;
  for (const LabelObject& object : objects)
    if (object.showsValue() && !object.variable.isEmpty() && !names.contains(object.variable))
      names << object.variable;
  names.sort();
  return names;
}

QString symbologyCaption(Symbology symbology) {
  switch (symbology) {
    case Symbology::Code128:
      return QStringLiteral("Code 128");
    case Symbology::Ean13:
      return QStringLiteral("EAN-13");
  }
  return {};
}

}  // namespace platform::reports
