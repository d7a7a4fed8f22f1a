#pragma once

#include <QString>

namespace db {
class Query;
}

namespace labels {

// Hears how an import advances and may stop it.
class ImportProgress {
 public:
  virtual ~ImportProgress() = default;
  // Called once with done 0 when the lines are known, then after every
  // imported line. Returning false cancels the import, which is then undone
  // completely.
  virtual bool advance(int done, int total) = 0;
};

struct ImportResult {
  enum class Outcome {
    Imported,   // committed: the import row and one label per line
    Failed,     // undone; the user was told why
    Cancelled,  // undone at the caller's request
  };
  Outcome outcome = Outcome::Failed;
  int labels = 0;               // labels committed
  QString idAcquisizione;       // the import's ACQUISIZIONI.ID when committed
  QString failedStatementFile;  // stored path of the saved statement when one failed
  // Where and why a statement failed: the file's line (1 for the first; 0
  // for the import row), the field of the line whose value the column
  // cannot take (its number in the line and the column; 0 and empty when
  // no value is at fault), and the database's own message.
  int failedLine = 0;
  int failedField = 0;
  QString failedColumn;
  QString failureReason;
};

// The name, under the bin directory, of the file that receives a failed
// statement of the import.
inline constexpr char kImportErrorFile[] = "GestEticForm.ButtonCarica.sql";

// Imports a label file (a native path) in the transaction of `queryAux`,
// the label window's transaction: records the import in ACQUISIZIONI and
// inserts one ETICHETTE row per line, then commits the transaction and says
// "Etichette importate". When a statement fails, its text is saved as
// kImportErrorFile in `binDir` (a stored path ending with a backslash), the
// user is told, no further line is read and the transaction is rolled back
// and restarted: the import leaves nothing. A file that cannot be read, a
// cancellation and a failed commit undo it the same way. The caller reopens
// its list afterwards. Messages go through the prompt seam.
ImportResult ImportaEtichette(db::Query& queryAux, const QString& binDir, const QString& file,
                              ImportProgress* progress = nullptr);

}  // namespace labels
