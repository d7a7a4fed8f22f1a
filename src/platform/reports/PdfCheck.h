#pragma once

#include <QString>

namespace platform::reports {

// Whether a PDF the printer wrote is whole. QPrinter does not report the
// failed writes of a full disk or a file-size limit, so the file is read
// back: it must end with the end-of-file mark, and the cross-reference
// table must stand where the trailer says, which a lost block before it
// would have moved.
bool pdfIsWhole(const QString& path);

}  // namespace platform::reports
