// The batch commands that print and export label launches: the same launch
// and export code as the windows, without dialogs.
#include <QDate>
#include <QFileInfo>
#include <QHash>
#include <optional>

#include "BatchSession.h"
#include "HostCommands.h"
#include "Usage.h"
#include "core/Paths.h"
#include "core/TerminationSignals.h"
#include "db/Query.h"
#include "env/TabX.h"
#include "labels/LaunchExport.h"
#include "labels/PrintLaunch.h"
#include "platform/reports/LabelEngine.h"
#include "ui/Prompter.h"

namespace host {

namespace {

// The launch dialog takes at most this many characters of description.
constexpr int kDescriptionLength = 64;

const QStringList kSnapshotNoWait{QStringLiteral("isc_tpb_concurrency"),
                                  QStringLiteral("isc_tpb_nowait")};

struct PrintRequest {
  int user = 0;
  bool all = false;
  QStringList ids;
  bool ean = false;
  bool excludeSerial = false;
  std::optional<QString> description;
  QString pdf;
};

std::optional<PrintRequest> parsePrint(QStringList arguments) {
  PrintRequest request;
  bool haveUser = false;
  while (!arguments.isEmpty()) {
    const QString option = arguments.takeFirst();
    if (option == QLatin1String("--all")) {
      request.all = true;
    } else if (option == QLatin1String("--ean")) {
      request.ean = true;
    } else if (option == QLatin1String("--exclude-serial")) {
      request.excludeSerial = true;
    } else if (arguments.isEmpty()) {
      return std::nullopt;
    } else if (option == QLatin1String("--user")) {
      request.user = arguments.takeFirst().toInt(&haveUser);
      if (!haveUser) return std::nullopt;
    } else if (option == QLatin1String("--ids")) {
      for (const QString& id : arguments.takeFirst().split(',', Qt::SkipEmptyParts)) {
        bool ok = false;
        id.trimmed().toLongLong(&ok);
        if (!ok) return std::nullopt;
        request.ids << id.trimmed();
      }
    } else if (option == QLatin1String("--description")) {
      request.description = arguments.takeFirst();
    } else if (option == QLatin1String("--pdf")) {
      request.pdf = arguments.takeFirst();
    } else {
      return std::nullopt;
    }
  }
  if (!haveUser || request.all == !request.ids.isEmpty() || !request.description ||
      request.pdf.isEmpty())
    return std::nullopt;
  if (request.description->size() > kDescriptionLength) {
    std::fprintf(stderr, "orbelan print: the description has %d characters; at most %d are taken\n",
                 static_cast<int>(request.description->size()), kDescriptionLength);
    return std::nullopt;
  }
  return request;
}

// The requested labels that can be printed, in the order asked; the others
// are named on stderr: those that do not exist and those a launch holds.
QStringList printableLabels(const BatchSession& session, TTabXForm& ambiente,
                            const QStringList& requested) {
  db::Transaction transaction(ambiente.IBDatabase1);
  db::Query query(ambiente.IBDatabase1, transaction);
  query.setForwardOnly(true);
  query.sql << QStringLiteral("SELECT ID,IDLANCIOSTAMPA FROM ETICHETTE")
            << QStringLiteral("WHERE ID IN (") + requested.join(',') + ')';
  QHash<QString, QString> launchOf;
  for (query.open(); !query.isEof(); query.next())
    launchOf.insert(query.text(QStringLiteral("ID")), query.text(QStringLiteral("IDLANCIOSTAMPA")));
  QStringList printable;
  for (const QString& id : requested) {
    const QString key = QString::number(id.toLongLong());
    if (!launchOf.contains(key))
      session.say(QStringLiteral("label %1 does not exist").arg(id));
    else if (!launchOf.value(key).isEmpty())
      session.say(QStringLiteral("label %1 was already printed in launch %2: skipped")
                      .arg(id, launchOf.value(key)));
    else if (!printable.contains(key))
      printable << key;
  }
  return printable;
}

QStringList unprintedLabels(TTabXForm& ambiente) {
  db::Transaction transaction(ambiente.IBDatabase1);
  db::Query query(ambiente.IBDatabase1, transaction);
  query.setForwardOnly(true);
  query.sql << QStringLiteral("SELECT ID FROM ETICHETTE WHERE IDLANCIOSTAMPA IS NULL")
            << QStringLiteral("ORDER BY ID");
  QStringList ids;
  for (query.open(); !query.isEof(); query.next()) ids << query.text(QStringLiteral("ID"));
  return ids;
}

}  // namespace

int runPrint(const QStringList& arguments) {
  const auto request = parsePrint(arguments);
  if (!request) return wrongCommand(QStringLiteral("print"));
  // SIGTERM and SIGINT stop the print at the next label and undo the launch.
  core::installTerminationHandlers();
  BatchSession session(QStringLiteral("orbelan print"));
  if (!session.open(request->user)) return 1;
  TTabXForm& ambiente = session.ambiente();
  ambiente.Inserisci(QStringLiteral("LBL"), labels::PrintLaunch::projectEntry(request->ean), {},
                     ambiente.GetV(QStringLiteral("BinDir")) +
                         (request->ean ? QStringLiteral("Report\\ETICHETTA_EAN.LBL")
                                       : QStringLiteral("Report\\ETICHETTA.LBL")),
                     {}, {}, {}, {}, QString::number(request->user));
  QStringList ids;
  try {
    ids =
        request->all ? unprintedLabels(ambiente) : printableLabels(session, ambiente, request->ids);
  } catch (const db::DbError& error) {
    session.say(QStringLiteral("cannot read the labels: ") + error.text());
    return 1;
  }
  if (ids.isEmpty()) {
    session.say(QStringLiteral("there are no labels to print"));
    return 1;
  }
  // Requested labels left out make the run incomplete.
  QStringList distinct;
  for (const QString& id : request->ids)
    if (!distinct.contains(QString::number(id.toLongLong())))
      distinct << QString::number(id.toLongLong());
  const bool allRequested = request->all || ids.size() == distinct.size();
  db::Transaction transaction(ambiente.IBDatabase1, kSnapshotNoWait);
  labels::PrintLaunch launch(ambiente, transaction, ids,
                             {request->ean, request->excludeSerial, false});
  if (!launch.apriLancio(*request->description)) return 1;

  platform::reports::LabelEngine engine;
  engine.setDefineVariablesHandler([&](platform::reports::DefineVariablesEvent& event) {
    launch.defineVariables(engine, event);
  });
  const QString pdf = QFileInfo(request->pdf).absoluteFilePath();
  // The PDF takes its name only once the launch holding its labels is
  // committed; a launch undone leaves no file (and an older one untouched).
  engine.setHoldOutput(true);
  const int printed = engine.printToPdf(0, launch.projectFile(), pdf);
  const labels::PrintLaunch::Result result = launch.concludi(engine);
  if (printed == platform::reports::Interrupted) {
    session.say(QStringLiteral("stopped by a termination signal: nothing printed, no launch kept"));
    return 1;
  }
  // Labels printed without a barcode or picture are told as the window
  // tells them.
  if (!engine.lastProblems().isEmpty())
    ui::warning(platform::reports::problemsMessage(engine.lastProblems()));
  for (const QString& id : result.alreadyPrinted)
    session.say(
        QStringLiteral("label %1 was printed by another launch or deleted meanwhile: skipped")
            .arg(id));
  switch (result.outcome) {
    case labels::PrintLaunch::Outcome::Printed:
      std::fprintf(stderr, "Launch %s: %d of %d labels printed to %s\n",
                   launch.IdLancio().toLocal8Bit().constData(), result.printed, result.selected,
                   pdf.toLocal8Bit().constData());
      return allRequested && result.alreadyPrinted.isEmpty() && result.printed == result.selected &&
                     engine.lastProblems().isEmpty()
                 ? 0
                 : 1;
    case labels::PrintLaunch::Outcome::Conflict:
      session.say(QStringLiteral("another user is printing some of these labels: nothing printed"));
      return 1;
    case labels::PrintLaunch::Outcome::NothingPrinted:
    case labels::PrintLaunch::Outcome::Failed:
      if (!engine.lastError().isEmpty() || !result.error.isEmpty())
        session.say(QStringLiteral("nothing printed: ") +
                    (result.error.isEmpty() ? engine.lastError() : result.error));
      else
        session.say(QStringLiteral("nothing printed"));
      return 1;
  }
  return 1;
}

int runExportLaunch(const QStringList& arguments) {
  QStringList rest = arguments;
  int user = 0;
  qint64 launchId = 0;
  bool haveUser = false;
  bool haveLaunch = false;
  QString file;
  while (!rest.isEmpty()) {
    const QString option = rest.takeFirst();
    if (option == QLatin1String("--user") && !rest.isEmpty())
      user = rest.takeFirst().toInt(&haveUser);
    else if (option == QLatin1String("--launch") && !rest.isEmpty())
      launchId = rest.takeFirst().toLongLong(&haveLaunch);
    else if (!option.startsWith(QLatin1String("--")) && file.isEmpty())
      file = option;
    else
      haveUser = false, rest.clear();
  }
  if (!haveUser || !haveLaunch || file.isEmpty())
    return wrongCommand(QStringLiteral("export-launch"));
  BatchSession session(QStringLiteral("orbelan export-launch"));
  if (!session.open(user)) return 1;
  TTabXForm& ambiente = session.ambiente();
  db::Transaction transaction(ambiente.IBDatabase1, kSnapshotNoWait);
  const QString target = labels::csvFileName(QFileInfo(file).absoluteFilePath());
  try {
    // A launch without labels writes nothing: an older file of that name stays.
    const int lines = labels::writeLaunchCsv(ambiente.IBDatabase1, transaction, launchId, target,
                                             {}, labels::EmptyLaunch::WriteNothing);
    if (lines == 0) {
      session.say(QStringLiteral("launch %1 has no labels").arg(launchId));
      return 1;
    }
    db::Query update(ambiente.IBDatabase1, transaction);
    update.sql = labels::markExportedStatement(launchId, QDate::currentDate());
    update.execSql();
    transaction.commit();
    std::fprintf(stderr, "Launch %lld: %d labels exported to %s\n", launchId, lines,
                 target.toLocal8Bit().constData());
    return 0;
  } catch (const labels::ExportFileError& error) {
    session.say(QString::fromUtf8(error.what()));
  } catch (const db::DbError& error) {
    session.say(QStringLiteral("the launch was not marked exported: ") + error.text());
  }
  return 1;
}

}  // namespace host
