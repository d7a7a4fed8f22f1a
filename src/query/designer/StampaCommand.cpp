#include "query/designer/StampaCommand.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include "grid/RadioGroup.h"
#include "grid/TitStForm.h"
#include "query/designer/TextReportEngine.h"
#include "ui/Prompter.h"

namespace query::designer {

engine::LayoutFont layoutFont(const QFont& font) {
  engine::LayoutFont layout;
  layout.name = font.family();
  layout.pointSize = font.pointSize() > 0 ? font.pointSize() : 8;
  layout.bold = font.bold();
  layout.italic = font.italic();
  layout.underline = font.underline();
  layout.strikeout = font.strikeOut();
  return layout;
}

void runStampa(QWidget* parent, PrintOptionsKept& kept, const engine::PrintSource& source,
               model::DesignerFlags& flags, const DesignerSettings& settings,
               const std::optional<QFont>& userFont) {
  PrintPlace place;
  place.directoryBin = fixedBinDirectory(settings.directoryBin);
  place.directoryLavoro = settings.directoryLavoro;
  place.ditta = settings.ditta;
  place.parent = parent;
  // The text reports go to the report engine's window unless another engine
  // was installed.
  if (!textReportPrinter()) setTextReportPrinter(textReportEngine());
  QueryPrint print(*kept.engine, place, flags, kept.memory);

  QString title = printTitle(settings.ditta, settings.tabella);
  QString notes;
  bool numbered = true;
  TTitStForm dialog(parent, notes, settings.ditta, numbered, title);
  dialog.setDirectoryIniziale(place.directoryBin + QStringLiteral("Report"));
  if (userFont) {
    dialog.FontDialogo = *userFont;
    if (dialog.TipoStampa() == 0) dialog.FontStampa = *userFont;
  }
  const auto layoutChanged = [&flags] { flags.layoutCurrent = false; };
  QObject::connect(dialog.RadioGroup2, &TRadioGroup::itemIndexChanged, &dialog, layoutChanged);
  QObject::connect(dialog.CheckStampaMemoEstesi, &QCheckBox::toggled, &dialog, layoutChanged);
  QObject::connect(dialog.CheckNumeraPagine, &QCheckBox::toggled, &dialog, layoutChanged);
  QObject::connect(dialog.ButtonFont, &QPushButton::clicked, &dialog, [&dialog, &flags] {
    const std::optional<QFont> chosen = ui::prompter().chooseFont(&dialog, dialog.FontDialogo);
    if (!chosen) return;
    dialog.FontStampa = *chosen;
    dialog.FontDialogo = *chosen;
    flags.layoutCurrent = false;
  });
  const auto choicesNow = [&] {
    PrintChoices choices;
    choices.type = dialog.TipoStampa();
    choices.reportName = dialog.EditNomeReport->text();
    choices.title = dialog.EditTitolo->text();
    choices.notes = dialog.EditNoteDefault->text();
    choices.numberPages = dialog.CheckNumeraPagine->isChecked();
    choices.longTexts = dialog.CheckStampaMemoEstesi->isChecked();
    choices.landscape = dialog.Orientamento() == 1;
    choices.font = layoutFont(dialog.FontStampa);
    return choices;
  };
  QObject::connect(dialog.ButtonEditaReport, &QPushButton::clicked, &dialog,
                   [&] { print.editLayout(source, choicesNow()); });

  ui::runDialog(dialog);
  PrintChoices choices = choicesNow();
  if (choices.type != kept.memory.lastReportType) {
    kept.memory.lastReportType = choices.type;
    flags.layoutCurrent = false;
  }
  kept.numberPages = numbered;
  kept.longTexts = dialog.StampaMemoEstesi() == QLatin1String("Si");
  if (dialog.Esito() != TTitStForm::kConfermato) return;
  choices.title = title;
  choices.notes = notes;
  choices.numberPages = numbered;
  choices.longTexts = kept.longTexts;
  choices.reportName = dialog.NomeReport();
  print.print(source, choices);
}

}  // namespace query::designer
