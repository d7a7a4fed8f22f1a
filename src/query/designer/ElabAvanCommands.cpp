#include "query/designer/ElabAvanCommands.h"

#include "query/designer/BloccaQForm.h"
#include "query/designer/IBCamVisForm.h"
#include "query/designer/IBLQueryForm.h"
#include "query/model/SideBySideParts.h"
#include "ui/Prompter.h"

namespace query::designer {

RowAfter runAdvancedCommand(const QString& command, TIBLQueryForm& designer) {
  model::RowList& rows = designer.TabIntTmp();
  model::DesignerFlags& flags = designer.flags();
  if (command == QLatin1String("BloccaQuery")) {
    model::InternalChange change(rows);
    TBloccaQForm window(rows, flags, designer.settings().ditta, &designer);
    ui::runDialog(window);
    return RowAfter::Last;
  }
  if (command == QLatin1String("QueryAffiancata")) {
    const QString refusal = model::addSideBySidePart(rows, flags, designer.settings().tabella);
    if (!refusal.isEmpty()) ui::warning(refusal);
    return RowAfter::Keep;
  }
  if (command == QLatin1String("TogliQueryAffiancata")) {
    if (ui::ask(QStringLiteral("Elimino l'ultima query affiancata?"), ui::Ok | ui::Cancel) ==
        ui::Ok)
      model::removeLastSideBySidePart(rows, flags);
    return RowAfter::Keep;
  }
  if (command == QLatin1String("CampiVisibili")) {
    model::InternalChange change(rows);
    TIBCamVisForm window(&designer, designer.settings().ditta, designer.settings().tabella, rows,
                         designer.database(), designer.transaction());
    ui::runDialog(window);
    return RowAfter::Keep;
  }
  if (command == QLatin1String("PassaSuccessiva"))
    ui::information(QStringLiteral("Operazione possibile solo in modalità Archivio Storico"));
  return RowAfter::Keep;
}

}  // namespace query::designer
