#pragma once

#include <QString>
#include <memory>

#include "platform/reports/ListEngine.h"
#include "query/engine/PrintLayout.h"
#include "query/engine/PrintSource.h"
#include "query/model/DesignerFlags.h"
#include "query/model/Totals.h"

class QTemporaryDir;
class QWidget;
class TGenTabStForm;

// The query printing: the answer (or the single-record view) printed as an
// advanced list over its fields, a simple list of text lines or a text
// report of the same lines, with generated or named layouts.
namespace query::designer {

// What the print options dialog decided.
struct PrintChoices {
  int type = 0;        // 0 advanced, 1 simple, 2 text report
  QString reportName;  // empty: the generated layout
  QString title;
  QString notes;
  bool numberPages = true;
  bool longTexts = false;
  bool landscape = false;
  engine::LayoutFont font;
};

// What a print of one designer window keeps between prints.
struct PrintMemory {
  int lastReportType = 0;  // the type of the last generated layout or chosen type
  model::Totals totals;
  // The window's own folder for its generated layout, made when first needed.
  std::shared_ptr<QTemporaryDir> layoutFolder;
};

// The folders and names a print uses.
struct PrintPlace {
  QString directoryBin;     // holds Report\ (fixed with fixedBinDirectory())
  QString directoryLavoro;  // base of the text generator's tables
  QString ditta;            // settings section of the generator
  QWidget* parent = nullptr;
};

// An empty bin directory or "C:\WINDOWS" becomes the current directory.
QString fixedBinDirectory(const QString& directoryBin);
// "Ditta: ... Tabella: ...  Data: dd/mm/yyyy".
QString printTitle(const QString& ditta, const QString& tabella);
// The width of the single-record view's value column: 45 ... 100.
int recordValueWidth(int longest);

class QueryPrint {
 public:
  QueryPrint(platform::reports::ListEngine& engine, const PrintPlace& place,
             model::DesignerFlags& flags, PrintMemory& memory);

  // Prints by the chosen type. True when something was printed or shown.
  bool print(const engine::PrintSource& source, const PrintChoices& choices);
  bool advancedPrint(const engine::PrintSource& source, const PrintChoices& choices);
  bool simplePrint(const engine::PrintSource& source, const PrintChoices& choices);
  bool textReportPrint(const engine::PrintSource& source, const PrintChoices& choices);
  // "Edita report": the named layout, or the generated one, in the editor.
  void editLayout(const engine::PrintSource& source, const PrintChoices& choices);

  QString reportPath(const QString& name) const;
  // Report\QuovTemp.lst: where the users find the last generated layout.
  QString generatedPath() const;
  // The generated layout this window prints and edits: a file of its own
  // (stored form), so that prints of other windows and other processes
  // never read it nor it theirs.
  QString privateLayoutPath();
  bool hasTotals(const engine::PrintSource& source, int type) const;
  // Writes the advanced or the standard layout into the window's own layout
  // file, then replaces Report\QuovTemp.lst whole with it.
  bool generateAdvanced(const engine::PrintSource& source, const PrintChoices& choices);
  bool generateStandard(const PrintChoices& choices);

 private:
  bool start(const QString& path);
  // Writes the generated layout's lines into the window's own file.
  bool writeGenerated(const QStringList& lines);
  // Replaces Report\QuovTemp.lst whole with the window's own layout.
  void publishGenerated();
  void defineVariables(const PrintChoices& choices);
  void defineFields(const engine::PrintSource& source, int row, bool current, bool totals,
                    bool forDesign = false);
  bool runAdvanced(const engine::PrintSource& source, const PrintChoices& choices,
                   const QString& path);
  // The answer's text lines laid out in pages by the text print generator,
  // its tables in the local store; null after telling why it failed.
  std::unique_ptr<TGenTabStForm> textPages(const engine::PrintSource& source,
                                           const PrintChoices& choices, int type);
  // Closes the list print begun on `path` and shows its preview; whether it
  // printed whole.
  bool endListPrint(const QString& path, int result);

  platform::reports::ListEngine& engine_;
  PrintPlace place_;
  model::DesignerFlags& flags_;
  PrintMemory& memory_;
};

}  // namespace query::designer
