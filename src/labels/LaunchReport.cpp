#include "labels/LaunchReport.h"

namespace labels {

bool launchComplete(const PrintLaunch::Result& result) {
  return result.outcome == PrintLaunch::Outcome::Printed &&
         result.printed + result.alreadyPrinted.size() + result.deleted >= result.selected;
}

core::UserMessages launchMessages(const PrintLaunch::Result& result) {
  using Outcome = PrintLaunch::Outcome;
  if (result.outcome == Outcome::Conflict)
    return {core::warning(
        QStringLiteral("Altri utenti stanno stampando alcune delle etichette "
                       "selezionate: il lancio è stato annullato. Riprovare più tardi."))};
  if (result.outcome == Outcome::Failed)
    return {
        core::error(QStringLiteral("Il lancio di stampa non è stato registrato: ") + result.error)};

  core::UserMessages messages;
  if (!result.alreadyPrinted.isEmpty())
    messages << core::warning(
        QStringLiteral("Etichette già stampate da un altro lancio, non ristampate: ") +
        result.alreadyPrinted.join(QStringLiteral(", ")));
  if (result.outcome == Outcome::NothingPrinted) {
    // Cancelled by the user says nothing more; a failure says why.
    if (!result.stopReason.isEmpty())
      messages << core::error(QStringLiteral("Stampa non effettuata: ") + result.stopReason);
    return messages;
  }
  if (!launchComplete(result)) {
    messages << core::warning(
        QStringLiteral("Stampa interrotta: stampate %1 etichette su %2. Le altre restano "
                       "da stampare.")
            .arg(result.printed)
            .arg(result.selected) +
        (result.stopReason.isEmpty() ? QString() : QStringLiteral("\n") + result.stopReason));
    return messages;
  }
  messages << core::information(QStringLiteral("Stampa effettuata"));
  return messages;
}

}  // namespace labels
