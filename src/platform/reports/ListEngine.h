#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

#include "platform/reports/ListExpression.h"
#include "platform/reports/ListPages.h"
#include "platform/reports/PrintSettings.h"

class QWidget;

// The list engine: prints list projects record by record through the calls
// a caller makes (variables and fields defined, the project started, the
// options dialog, a page, fields line by line with the page-full answer, the
// end), onto a printer, a preview or a PDF file, and edits list projects.
namespace platform::reports {

// Value types of variables and fields.
inline constexpr unsigned kListText = 0x10000000;
inline constexpr unsigned kListNumeric = 0x08000000;
inline constexpr unsigned kListBoolean = 0x02000000;
inline constexpr unsigned kListDate = 0x04000002;  // a day number from 30/12/1899, as text

inline constexpr int kListProjectType = 2;
// Print option of the start: the options dialog offers the preview first.
inline constexpr int kListPrintPreview = 512;
// Option 0 is the copies; this value hides their box.
inline constexpr int kListOptionCopies = 0;
inline constexpr int kListHideCopies = -32768;

// Answers of the calls.
inline constexpr int kListPageFull = -998;       // repeat the data after a new page
inline constexpr int kListProjectMissing = -22;  // the project file does not exist
inline constexpr int kListProjectInvalid = -23;  // no list project, or names nobody defined
inline constexpr int kListUserAborted = -99;     // dialog cancelled or print stopped
inline constexpr int kListOutputFailed = -26;    // printer or file failed
inline constexpr int kListNotStarted = -5;       // a print call before the start

class ListEngine : public QObject {
  Q_OBJECT

 public:
  explicit ListEngine(QObject* parent = nullptr);
  ~ListEngine() override;

  void LlDefineVariableStart();
  void LlDefineVariableExt(const QString& name, const QString& value, unsigned type);
  void LlDefineFieldStart();
  void LlDefineFieldExt(const QString& name, const QString& value, unsigned type);

  // Reads the project and checks that its expressions name only what has
  // been defined; 0, kListProjectMissing or kListProjectInvalid.
  int LlPrintWithBoxStart(int projectType, const QString& projectFile, int printOptions,
                          int boxType, QWidget* parent, const QString& title);
  int LlPrintSetOption(int option, int value);
  // The destination (printer, preview, PDF file); kListUserAborted when
  // cancelled. Without a dialog when a PDF output is set.
  int LlPrintOptionsDialog(QWidget* parent, const QString& text);
  // Starts a page: its text objects with the variables as they stand.
  int LlPrint();
  // Prints the lines of the list whose conditions the fields meet;
  // kListPageFull when they do not fit on the page any more.
  int LlPrintFields();
  int LlPrintFieldsEnd();
  // Ends the print and hands the pages to the destination.
  int LlPrintEnd(int pages);
  int LlPrintSetBoxText(const QString& text, int percentage);
  // Shows the pages of a print to the preview; nothing without one.
  int LlPreviewDisplay(const QString& projectFile, const QString& tempPath, QWidget* parent);
  int LlPreviewDeleteFiles(const QString& projectFile, const QString& tempPath);
  // The layout editor on a project, with the variables and fields the
  // design handler defines for its preview.
  int LlDefineLayout(QWidget* parent, const QString& title, int projectType,
                     const QString& projectFile);
  void setDesignHandler(std::function<void()> handler) { designHandler_ = std::move(handler); }

  // Batch use: every print goes to this PDF file (native path), with no
  // dialog, box or message; failures are in lastError().
  void setPdfOutput(const QString& nativePath) { pdfOutput_ = nativePath; }
  const QString& lastError() const { return lastError_; }
  int pagesPrinted() const { return pagesPrinted_; }
  // The pages of the last print kept for the preview.
  int previewPages() const;

  // The pages of the print in hand or just ended, and their size.
  const ListPage* page(int index) const;
  QSizeF pageSize() const;
  // All variables and fields at once (the keys in lower case).
  void setValues(const QHash<QString, ListValue>& variables,
                 const QHash<QString, ListValue>& fields);

  // The values as defined, by name (any case).
  const ListValue* variable(const QString& name) const;
  const ListValue* field(const QString& name) const;

 private:
  struct Run;
  int fail(int code, const QString& message);
  bool batch() const { return !pdfOutput_.isEmpty(); }
  int deliver();

  QHash<QString, ListValue> variables_;
  QHash<QString, ListValue> fields_;
  std::unique_ptr<Run> run_;
  PrintSettings settings_;
  QString pdfOutput_;
  QString lastError_;
  int pagesPrinted_ = 0;
  std::function<void()> designHandler_;
};

// Reads a variable's or field's text as its type says.
ListValue listValue(const QString& text, unsigned type);

}  // namespace platform::reports

// The list engine component as the query printing names its class.
using TL6_ = platform::reports::ListEngine;
