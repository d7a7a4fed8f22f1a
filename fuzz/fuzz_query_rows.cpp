// A query rows file of any content, read as `orbelan query` reads it; the
// rows it accepts go on to the statement, the side-by-side statement and the
// readers of procedural formulas, as running the query would take them.
#include <cstddef>
#include <cstdint>

#include "QueryRowsFile.h"
#include "query/engine/ProceduralFunctions.h"
#include "query/engine/SideBySide.h"
#include "query/engine/Statement.h"

namespace {

// Every field is a number except those named like text, so both the numeric
// and the text paths of the generator are taken.
db::FieldType fieldType(const QString&, const QString& field) {
  return field.startsWith(QLatin1Char('D')) ? db::FieldType::String : db::FieldType::Integer;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const host::QueryRowsFile file = host::parseQueryRows(bytes);
  if (!file.ok()) return 0;
  using namespace query::engine;
  (void)buildStatement(file.rows, 1, int(file.rows.size()), QStringLiteral("ETICHETTE"), fieldType);
  if (file.flags.sideBySide)
    (void)buildSideBySide(file.rows, QStringLiteral("ETICHETTE"), fieldType);
  const auto sums = proceduralFormulas(file.rows, ProceduralKind::SommaProg);
  (void)isOrderingText(sommaProgOrdering(sums));
  (void)proceduralFormulas(file.rows, ProceduralKind::InteroQuov);
  return 0;
}
