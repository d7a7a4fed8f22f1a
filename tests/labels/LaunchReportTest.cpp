#include <gtest/gtest.h>

#include "labels/LaunchReport.h"

namespace {

using labels::PrintLaunch;

QStringList texts(const core::UserMessages& messages) {
  QStringList shown;
  for (const core::UserMessage& message : messages) shown << message.text;
  return shown;
}

PrintLaunch::Result printed(int printed, int selected) {
  PrintLaunch::Result result;
  result.outcome = PrintLaunch::Outcome::Printed;
  result.printed = printed;
  result.selected = selected;
  return result;
}

TEST(LaunchReport, LabelsLeftOutOnPurposeStillMakeACompletePrint) {
  PrintLaunch::Result result = printed(3, 5);
  result.alreadyPrinted = {"7"};
  result.deleted = 1;
  EXPECT_TRUE(labels::launchComplete(result));
  EXPECT_EQ(texts(labels::launchMessages(result)),
            (QStringList{"Etichette già stampate da un altro lancio, non ristampate: 7",
                         "Stampa effettuata"}));

  result.deleted = 0;
  EXPECT_FALSE(labels::launchComplete(result));
  result.stopReason = "coda chiusa";
  const core::UserMessages messages = labels::launchMessages(result);
  ASSERT_EQ(messages.size(), 2);
  EXPECT_EQ(messages[1].severity, core::UserMessage::Severity::Warning);
  EXPECT_EQ(messages[1].text,
            "Stampa interrotta: stampate 3 etichette su 5. Le altre restano da stampare.\n"
            "coda chiusa");
}

TEST(LaunchReport, AnUndoneLaunchSaysWhyOnlyWhenSomethingWentWrong) {
  PrintLaunch::Result cancelled;
  cancelled.selected = 2;
  EXPECT_TRUE(labels::launchMessages(cancelled).isEmpty()) << "the user cancelled: nothing to say";
  EXPECT_FALSE(labels::launchComplete(cancelled));

  cancelled.stopReason = "stampante spenta";
  EXPECT_EQ(labels::launchMessages(cancelled),
            core::UserMessages{core::error("Stampa non effettuata: stampante spenta")});

  PrintLaunch::Result failed = printed(0, 2);
  failed.outcome = PrintLaunch::Outcome::Failed;
  failed.error = "disco pieno";
  failed.alreadyPrinted = {"4"};
  EXPECT_EQ(texts(labels::launchMessages(failed)),
            QStringList{"Il lancio di stampa non è stato registrato: disco pieno"})
      << "an undone launch does not list labels it skipped";

  failed.outcome = PrintLaunch::Outcome::Conflict;
  EXPECT_EQ(labels::launchMessages(failed).value(0).severity, core::UserMessage::Severity::Warning);
}

}  // namespace
