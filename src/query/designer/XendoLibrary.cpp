#include "query/designer/XendoLibrary.h"

#include "env/SiblingLibrary.h"

namespace query::designer {

output::LibraryCaller xendoLibrary() {
  return [](const QString& functionName,
            const std::function<void(QFunctionPointer, const output::SymbolLookup&)>& call) {
    const env::SiblingCall sibling = env::callSiblingWithSymbols(
        output::kXendoLibrary, functionName,
        [&](QFunctionPointer entry, const env::SiblingSymbols& symbols) { call(entry, symbols); });
    output::LibraryCallResult result;
    result.error = sibling.error;
    switch (sibling.result) {
      case env::SiblingCallResult::NotLoaded:
        result.result = output::LibraryCall::NotLoaded;
        break;
      case env::SiblingCallResult::NoFunction:
        result.result = output::LibraryCall::NoFunction;
        break;
      case env::SiblingCallResult::Called:
        result.result = output::LibraryCall::Called;
        break;
      case env::SiblingCallResult::Failed:
        // A call that raised an error says so, whatever the unloading did.
        result.result =
            sibling.raised ? output::LibraryCall::CallFailed : output::LibraryCall::UnloadFailed;
        break;
    }
    return result;
  };
}

}  // namespace query::designer
