// A memo of any content read as RTF (as the text export does with "Esporta
// memo RTF in chiaro"), its bytes taken as Windows-1252 like a memo from the
// database. The visible text never holds more characters than the document.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "core/Cp1252.h"
#include "query/output/RtfText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QString memo = core::fromCp1252(
      QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
  const QString text = query::output::rtfToPlainText(memo);
  if (text.size() > memo.size()) std::abort();
  // Made plain once more it stays as it is, unless it reads as RTF again.
  if (!text.startsWith(QLatin1String("{\\rtf")) && query::output::rtfToPlainText(text) != text)
    std::abort();
  return 0;
}
