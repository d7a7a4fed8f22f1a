#include <dlfcn.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>

#include "app/EnvironmentWindow.h"
#include "core/IniFile.h"
#include "core/Paths.h"
#include "db/Query.h"
#include "entry/Launch.h"
#include "env/TabX.h"
#include "labels/RistampaBarcodeForm.h"
#include "support/FirebirdFixture.h"
#include "support/HostInstallation.h"
#include "support/ScriptedUi.h"

namespace {

// The parameter-table entry of a name: "type|text|user".
QString entry(const TTabXForm& env, const QString& name) {
  for (int row = 0; row < env.MemTabX.rowCount(); ++row) {
    if (env.MemTabX.value(row, 2).toString() != name) continue;
    return env.MemTabX.value(row, 1).toString() + '|' + env.MemTabX.value(row, 4).toString() + '|' +
           env.MemTabX.value(row, 9).toString();
  }
  return "<none>";
}

class LaunchTest : public ::testing::Test {
 protected:
  LaunchTest() : guard_(prompter_) {}
  ~LaunchTest() override {
    QApplication::closeAllWindows();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  static app::EnvironmentWindow* asWindow(QWidget* widget) {
    auto* window = qobject_cast<app::EnvironmentWindow*>(widget);
    EXPECT_NE(window, nullptr);
    return window;
  }
  HostInstallation host_;
  ScriptedPrompter prompter_;
  ScopedPrompter guard_;
};

TEST_F(LaunchTest, LabelWindowGetsItsSettingsPathsAndPrintValues) {
  auto* window = asWindow(entry::LanciaGestEtic(1));
  ASSERT_NE(window, nullptr);
  EXPECT_STREQ(window->metaObject()->className(), "TGestEticForm");
  EXPECT_EQ(window->windowTitle(), "Gestione etichette - Ditta: DEMO SRL");
  EXPECT_TRUE(window->isVisible());
  EXPECT_FALSE(window->isModal());
  const TTabXForm& env = window->ambiente();
  EXPECT_TRUE(env.IBDatabase1.isConnected());
  EXPECT_EQ(entry(env, "BinDir"), "QZV|" + host_.binDir() + "|1");
  EXPECT_EQ(entry(env, "Archivio"), "QZV|" + host_.archive() + "|1");
  EXPECT_EQ(entry(env, "ETICHETTALBL"), "LBL|" + host_.binDir() + "Report\\ETICHETTA.LBL|1");
  EXPECT_EQ(entry(env, "ETICHETTATXT"), "LBL|" + host_.binDir() + "Report\\ETICHETTA.TXT|1");
  EXPECT_EQ(entry(env, "ETICHETTAEANLBL"), "LBL|" + host_.binDir() + "Report\\ETICHETTA_EAN.LBL|1");
  EXPECT_EQ(entry(env, "ETICHETTAEANTXT"), "LBL|" + host_.binDir() + "Report\\ETICHETTA_EAN.TXT|1");
  EXPECT_EQ(entry(env, "ModoStampa"), "TBX|L|1");
  EXPECT_EQ(entry(env, "StampanteTermica"), "TBX||1");
  EXPECT_TRUE(prompter_.texts().isEmpty()) << prompter_.texts().join('\n').toStdString();
}

TEST_F(LaunchTest, TwoCallsGiveTwoWindowsAndClosingFreesTheEnvironment) {
  auto* first = asWindow(entry::LanciaExportLanci(1));
  auto* second = asWindow(entry::LanciaExportLanci(1));
  ASSERT_TRUE(first && second);
  EXPECT_NE(first, second);
  EXPECT_NE(&first->ambiente(), &second->ambiente());
  EXPECT_EQ(first->windowTitle(), "Export lanci - Ditta: DEMO SRL");
  EXPECT_TRUE(first->ambiente().IBDatabase1.isConnected());

  QPointer<TTabXForm> environment(&first->ambiente());
  QPointer<QWidget> window(first);
  first->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(window.isNull());
  EXPECT_TRUE(environment.isNull()) << "the window frees its environment";
  EXPECT_TRUE(second->ambiente().IBDatabase1.isConnected()) << "the other window is untouched";
}

TEST_F(LaunchTest, ReprintWindowsAreStandaloneAndRecordTheirHandle) {
  {
    db::Database users;
    host_.openUsers(users);
    runStatement(users, "INSERT INTO ZELMILOGFUNZ (IDFINESTRA,UTENTE) VALUES (41,1)");
    runStatement(users, "INSERT INTO ZELMILOGFUNZ (IDFINESTRA,UTENTE) VALUES (42,1)");
  }
  auto* plain = qobject_cast<app::StandaloneCapableWindow*>(entry::LanciaRistampaBarcode(1, 41));
  ASSERT_NE(plain, nullptr);
  EXPECT_STREQ(plain->metaObject()->className(), "TRistampaBarcodeForm");
  EXPECT_EQ(plain->windowTitle(), "Ristampa barcode - Ditta: DEMO SRL");
  EXPECT_TRUE(plain->isStandalone());
  EXPECT_FALSE(plain->ambiente().IBDatabase1.isConnected()) << "this window needs no archive";
  EXPECT_EQ(entry(plain->ambiente(), "ETICHETTALBL"),
            "LBL|" + host_.binDir() + "Report\\ETICHETTA.LBL|1");

  auto* decoding =
      qobject_cast<app::StandaloneCapableWindow*>(entry::LanciaRistampaBarcode1(1, 42));
  ASSERT_NE(decoding, nullptr);
  EXPECT_STREQ(decoding->metaObject()->className(), "TRistampaBarcode1Form");
  EXPECT_EQ(decoding->windowTitle(), "Ristampa barcode - Ditta: DEMO SRL");
  EXPECT_TRUE(decoding->ambiente().IBDatabase1.isConnected());
  EXPECT_EQ(entry(decoding->ambiente(), "StRistampaBarcode1"),
            "LBL|" + host_.binDir() + "Report\\ETICHETTA.LBL|1");
  EXPECT_EQ(entry(decoding->ambiente(), "StampanteDefaultDoc"), "TBX||1");
  EXPECT_EQ(entry(decoding->ambiente(), "StampanteEtichetteArt"), "TBX||1");

  db::Database users;
  host_.openUsers(users);
  EXPECT_EQ(readOne(users, "SELECT HANDLEFINESTRA FROM ZELMILOGFUNZ WHERE IDFINESTRA=41"),
            QString::number(plain->winId()));
  EXPECT_EQ(readOne(users, "SELECT HANDLEFINESTRA FROM ZELMILOGFUNZ WHERE IDFINESTRA=42"),
            QString::number(decoding->winId()));

  // Launched by the host, the reprint window goes on closing.
  QPointer<QWidget> closing(plain);
  plain->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(closing.isNull());
}

TEST_F(LaunchTest, AReprintWindowOfAnotherWindowOnlyHides) {
  auto* window =
      new TRistampaBarcodeForm(nullptr, std::make_unique<TTabXForm>(nullptr, TTabXForm::ModoNudo));
  QPointer<QWidget> alive(window);
  window->show();
  window->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  ASSERT_FALSE(alive.isNull());
  EXPECT_FALSE(window->isVisible());
  delete window;
}

TEST_F(LaunchTest, PrintSettingsWindowIsModalAndTheCallReturnsWhenItCloses) {
  bool sawModalWindow = false;
  QTimer::singleShot(0, [&] {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (widget->isVisible() && QString(widget->metaObject()->className()) == "TImpoStampaForm") {
        sawModalWindow =
            widget->isModal() && widget->windowTitle() == "Impostazioni stampa - Ditta: DEMO SRL" &&
            qobject_cast<app::EnvironmentWindow*>(widget)->ambiente().IBDatabase1.isConnected();
        widget->close();
      }
    }
  });
  entry::LanciaImpoStampa(1);
  EXPECT_TRUE(sawModalWindow);
  for (QWidget* widget : QApplication::topLevelWidgets())
    EXPECT_STRNE(widget->metaObject()->className(), "TImpoStampaForm");
}

TEST_F(LaunchTest, AnArchiveThatCannotBeOpenedStopsTheLaunchAfterTheMessage) {
  {
    db::Database users;
    host_.openUsers(users);
    runStatement(users,
                 "UPDATE TABVANDEL SET VALORE='\\\\127.0.0.1\\archivi\\dati\\x.fdb' WHERE "
                 "PARAMETRO='Archivio'");
  }
  EXPECT_EQ(entry::LanciaGestEtic(1), nullptr);
  ASSERT_FALSE(prompter_.texts().isEmpty());
  EXPECT_EQ(prompter_.texts().last(), "Errore apertura archivio");
}

// The files of a folder, native names.
QStringList filesIn(const QString& dir) {
  return QDir(dir).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
}

TEST_F(LaunchTest, AWrongArchiveStopsTheLaunchAndCreatesNothing) {
  // The process runs in a folder of its own, whose dati.ini would send the
  // connection elsewhere if it were read.
  QTemporaryDir work;
  const QString previous = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(work.path()));
  ASSERT_TRUE(core::IniFile(core::storedPath(work.path()) + "\\dati.ini")
                  .write("CONFIG", "PercorsoDatabase", "spia"));
  QStringList attempts;
  db::setConnectionObserver([&](db::ConnectionAttempt, const QString& name) { attempts << name; });

  const QString longDir = QString(130 - host_.storedRoot().size(), 'd');
  const QStringList archives{
      "",                                               // missing setting
      "archivio.fdb",                                   // no folder
      host_.storedRoot() + "dati\\archivo.fdb",         // mistyped
      host_.storedRoot() + longDir + "\\archivio.fdb",  // too long: cut, it names another file
  };
  for (const QString& archive : archives) {
    SCOPED_TRACE(archive.toStdString());
    {
      db::Database users;
      host_.openUsers(users);
      runStatement(users,
                   "UPDATE TABVANDEL SET VALORE='" + archive + "' WHERE PARAMETRO='Archivio'");
    }
    prompter_.reset();
    attempts.clear();
    // A folder of this machine without dati.ini: the server is asked for.
    prompter_.script([](QDialog& dialog) { return clickButton(dialog, "BitBtn2"); });
    EXPECT_EQ(entry::LanciaGestEtic(1), nullptr);
    ASSERT_FALSE(prompter_.texts().isEmpty());
    EXPECT_EQ(prompter_.texts().last(), "Errore apertura archivio");
    EXPECT_EQ(attempts.filter("spia").size(), 0) << attempts.join(", ").toStdString();
    if (archive != archives[2]) prompter_.reset();  // only there was the server asked for
  }
  db::setConnectionObserver(nullptr);
  EXPECT_EQ(filesIn(work.path()), QStringList{"dati.ini"});
  EXPECT_EQ(filesIn(host_.native("dati")), QStringList{"archivio.fdb"});
  EXPECT_EQ(filesIn(host_.native("")).filter("ddd").size(), 0);
  QDir::setCurrent(previous);
}

TEST_F(LaunchTest, PathsTooLongForTheParameterTableAreRefusedWhole) {
  const QString binDir = host_.storedRoot() + QString(120 - host_.storedRoot().size(), 'b') + '\\';
  {
    db::Database users;
    host_.openUsers(users);
    runStatement(users,
                 "UPDATE TABVANDEL SET VALORE='" + binDir + "' WHERE PARAMETRO='Directory bin'");
  }
  EXPECT_EQ(entry::LanciaRistampaBarcode(1, 0), nullptr)
      << "the label project's path would be cut into another file";
  EXPECT_EQ(prompter_.texts(),
            QStringList{QString::fromUtf8("Percorso troppo lungo (più di 128 caratteri): ") +
                        binDir + "Report\\ETICHETTA.LBL"});
}

TEST_F(LaunchTest, AUserDatabaseThatCannotBeOpenedIsReportedAndTheLaunchGoesOn) {
  // A folder in the way of user.fdb: it can be neither opened nor created.
  ASSERT_TRUE(QFile::remove(host_.native("user/user.fdb")));
  ASSERT_TRUE(QDir().mkpath(host_.native("user/user.fdb")));
  prompter_.script([](QDialog& dialog) { return clickButton(dialog, "BitBtn2"); });
  QWidget* window = entry::LanciaRistampaBarcode(1, 0);
  EXPECT_EQ(prompter_.texts(),
            (QStringList{"Non trovato dati.ini", "Apertura / creazione del database non riuscita!",
                         "Errore inizializzazione database utenti"}));
  EXPECT_EQ(prompter_.messages().back().kind, ui::MessageKind::Error);
  ASSERT_NE(window, nullptr) << "the window that needs no archive still opens";
  EXPECT_EQ(window->windowTitle(), "Ristampa barcode - Ditta: ") << "without a user or company";
}

TEST_F(LaunchTest, BinDirectoryIsConcatenatedPlainly) {
  {
    db::Database users;
    host_.openUsers(users);
    runStatement(users, "UPDATE TABVANDEL SET VALORE='C:\\bin' WHERE PARAMETRO='Directory bin'");
  }
  auto* window = asWindow(entry::LanciaRistampaBarcode(1, 0));
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(entry(window->ambiente(), "ETICHETTALBL"), "LBL|C:\\binReport\\ETICHETTA.LBL|1");
}

TEST_F(LaunchTest, TheSharedLibraryExportsTheFiveFunctions) {
  const QByteArray path = qgetenv("ORBELAN_LIBRARY_DIR") + "/libOrbelan.so";
  void* library = dlopen(path.constData(), RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(library, nullptr) << dlerror();
  for (const char* name : {"ShowImpoStampaFormD", "ShowRistampaBarcode1FormX",
                           "ShowRistampaBarcodeFormX", "ShowExportLanciFormD", "ShowGestEticFormD"})
    EXPECT_NE(dlsym(library, name), nullptr) << name;
  EXPECT_EQ(dlsym(library, "_ZN10TTabXFormC1EP7QObjecth"), nullptr) << "internals stay hidden";

  using Entry = std::int32_t (*)(std::int32_t);
  const auto show = reinterpret_cast<Entry>(dlsym(library, "ShowExportLanciFormD"));
  EXPECT_EQ(show(1), 0);
  int windows = 0;
  for (QWidget* widget : QApplication::topLevelWidgets())
    if (widget->isVisible() && widget->windowTitle() == "Export lanci - Ditta: DEMO SRL") ++windows;
  EXPECT_EQ(windows, 1) << "the library uses the host's application object";
}

}  // namespace
