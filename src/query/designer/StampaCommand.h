#pragma once

#include <QFont>
#include <memory>
#include <optional>

#include "query/designer/IBLQueryForm.h"
#include "query/designer/QueryPrint.h"

class QWidget;

namespace query::designer {

// The print options a designer window keeps between prints, reset when it
// enters its result view.
struct PrintOptionsKept {
  bool longTexts = false;
  bool numberPages = true;
  PrintMemory memory;
  std::unique_ptr<platform::reports::ListEngine> engine =
      std::make_unique<platform::reports::ListEngine>();

  void reset() {
    longTexts = false;
    numberPages = true;
    memory.lastReportType = 0;
  }
};

// "&Stampa": the print options dialog, then the print of `source` by the
// chosen type. `userFont` is the result grid's font when the user chose one.
void runStampa(QWidget* parent, PrintOptionsKept& kept, const engine::PrintSource& source,
               model::DesignerFlags& flags, const DesignerSettings& settings,
               const std::optional<QFont>& userFont);

// The layout font of a font.
engine::LayoutFont layoutFont(const QFont& font);

}  // namespace query::designer
