#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>

#include "core/IniFile.h"
#include "core/Paths.h"
#include "db/Database.h"
#include "env/DatabaseLocation.h"
#include "env/TabX.h"
#include "support/FirebirdFixture.h"
#include "support/ScriptedUi.h"

namespace {

// Records how every database was addressed while it lives.
class AttemptLog {
 public:
  AttemptLog() {
    db::setConnectionObserver([this](db::ConnectionAttempt attempt, const QString& name) {
      names << (attempt == db::ConnectionAttempt::Attach ? "attach " : "create ") + name;
    });
  }
  ~AttemptLog() { db::setConnectionObserver(nullptr); }
  QStringList names;
};

class DatabaseLocationTest : public FirebirdTest {
 protected:
  DatabaseLocationTest() : guard_(prompter_) {}
  // The temporary folder in stored form, with a trailing backslash.
  QString storedDir(const QString& sub = {}) const {
    QDir().mkpath(path(sub));
    return core::storedPath(path(sub)) + (sub.isEmpty() ? "\\" : "\\");
  }
  void writeIni(const QString& directory, const QString& key, const QString& value) {
    ASSERT_TRUE(core::IniFile(directory + "dati.ini").write("CONFIG", key, value));
  }
  ScriptedPrompter prompter_;
  ScopedPrompter guard_;
};

TEST_F(DatabaseLocationTest, ALocalDirectoryWithoutDatiIniIsOpenedOrCreatedThere) {
  const QString dir = storedDir("dati");
  db::Database database;
  AttemptLog log;
  ASSERT_TRUE(env::ApriDatabase(database, dir, ""));
  EXPECT_EQ(log.names,
            (QStringList{"attach " + dir + "archivio.fdb", "create " + dir + "archivio.fdb"}))
      << "an empty file name means archivio.fdb";
  EXPECT_EQ(prompter_.texts(), QStringList{"Effettuata creazione data base"});
  EXPECT_TRUE(QFile::exists(path("dati/archivio.fdb")));

  database.detach();
  prompter_.reset();
  log.names.clear();
  ASSERT_TRUE(env::ApriDatabase(database, dir, "archivio.fdb"));
  EXPECT_EQ(log.names, QStringList{"attach " + dir + "archivio.fdb"});
  EXPECT_TRUE(prompter_.texts().isEmpty());
}

TEST_F(DatabaseLocationTest, NetworkPathsTranslateDriveSharesAndNamedShares) {
  env::NetworkPath drive = env::TraduciPercorsoRete("\\\\SRV\\E\\dati\\", "");
  EXPECT_EQ(drive.path, "SRV:E:\\dati\\");
  EXPECT_FALSE(drive.namedShare);
  EXPECT_FALSE(drive.error);

  env::NetworkPath named = env::TraduciPercorsoRete("\\\\SRV\\archivi\\dati\\", "D:\\archivi\\");
  EXPECT_EQ(named.path, "SRV:D:\\archivi\\");
  EXPECT_TRUE(named.namedShare);
  EXPECT_FALSE(named.error);
  EXPECT_TRUE(prompter_.texts().isEmpty());

  env::NetworkPath unknown = env::TraduciPercorsoRete("\\\\SRV\\archivi\\dati\\", "");
  EXPECT_TRUE(unknown.error);
  EXPECT_EQ(prompter_.texts(),
            QStringList{QString::fromUtf8(
                "Attenzione: il disco con gli archivi è stato condiviso in rete con un nome - "
                "archivi - e non con la lettera che lo identifica. Si consiglia di correggere la "
                "condivisione oppure di correggere manualmente la sezione Percorso Nel Server nel "
                "file Dati.ini accanto al database")});
}

TEST_F(DatabaseLocationTest, UncDirectoriesUseTheTranslatedNameAndNeverPromptForNamedShares) {
  // The UNC directory only names the database: dati.ini lives in a local folder
  // here, so it is written through a directory that is also the UNC text.
  db::Database database;
  AttemptLog log;
  const QString drive = "\\\\127.0.0.1\\E\\nessuna\\";
  prompter_.script([](QDialog& dialog) { return clickButton(dialog, "BitBtn2"); });
  EXPECT_FALSE(env::ApriDatabase(database, drive, "a.fdb"));
  EXPECT_EQ(log.names.value(0), "attach 127.0.0.1:E:\\nessuna\\a.fdb");
  EXPECT_EQ(prompter_.texts(), (QStringList{"Non trovato dati.ini",
                                            "Apertura / creazione del database non riuscita!"}))
      << "a drive share that fails falls back to asking for the server";

  prompter_.reset();
  log.names.clear();
  EXPECT_FALSE(env::ApriDatabase(database, "\\\\127.0.0.1\\archivi\\nessuna\\", "a.fdb"));
  EXPECT_TRUE(log.names.isEmpty()) << "no attempt on an untranslatable named share";
  ASSERT_EQ(prompter_.texts().size(), 1);
  EXPECT_TRUE(prompter_.texts()[0].startsWith("Attenzione: il disco con gli archivi"));
}

TEST_F(DatabaseLocationTest, ANamedShareWhoseTranslatedPathFailsSaysSoAndNeverPrompts) {
  // \\tmp\<folder>\rete\ is a UNC name (server "tmp", share "<folder>") whose
  // native form, //tmp/<folder>/rete/, is the local folder that holds dati.ini.
  const QString unc = '\\' + storedDir("rete");
  ASSERT_TRUE(unc.startsWith("\\\\"));
  writeIni(unc, "Percorso Nel Server", "D:\\archivi\\");
  db::Database database;
  AttemptLog log;
  EXPECT_FALSE(env::ApriDatabase(database, unc, "a.fdb"));
  const QString server = unc.mid(2).section('\\', 0, 0);
  EXPECT_EQ(log.names.value(0), "attach " + server + ":D:\\archivi\\a.fdb");
  EXPECT_EQ(prompter_.texts(),
            QStringList{"Errore: nonostante le configurazioni, il particolare percorso di rete sta "
                        "rendendo impossibile l'attivazione del database"});
  EXPECT_TRUE(prompter_.dialogs().isEmpty()) << "the server is not asked for";
}

TEST_F(DatabaseLocationTest, PercorsoDatabaseBuildsAUncNameAndNeverPrompts) {
  const QString dir = storedDir();
  writeIni(dir, "Nome Server", "127.0.0.1");
  writeIni(dir, "PercorsoDatabase", "nessuna\\cartella");
  db::Database database;
  AttemptLog log;
  EXPECT_FALSE(env::ApriDatabase(database, dir, "x.fdb"));
  EXPECT_EQ(log.names, (QStringList{"attach \\\\127.0.0.1\\nessuna\\cartella\\x.fdb",
                                    "create \\\\127.0.0.1\\nessuna\\cartella\\x.fdb"}));
  EXPECT_TRUE(prompter_.texts().isEmpty());
}

TEST_F(DatabaseLocationTest, MissingServerIsAskedForAndWrittenToDatiIni) {
  // C:\dati\ lies in the temporary folder; a folder in the way of a.fdb makes
  // both opening and creating it fail there.
  qputenv("ORBELAN_DRIVES", ("C=" + path("c")).toLocal8Bit());
  QDir().mkpath(path("c/dati/a.fdb"));
  const QString dir = "C:\\dati\\";
  db::Database database;
  AttemptLog log;
  QString label;
  prompter_.script([&](QDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "Non trovato dati.ini");
    label = control<QLabel>(dialog, "Label1")->text();
    EXPECT_EQ(control<QLineEdit>(dialog, "Edit1")->text(), "");
    typeInto(dialog, "Edit1", "127.0.0.1");
    typeInto(dialog, "Edit2", "Q");
    return clickButton(dialog, "BitBtn1");
  });
  EXPECT_FALSE(env::ApriDatabase(database, dir, "a.fdb"));
  EXPECT_EQ(label,
            QString::fromUtf8("Inserire il nome del computer e la lettera della sua\r\nunità "
                              "disco dove risulta ospitato (o sarà ospitato) il database"));
  EXPECT_EQ(prompter_.texts(), QStringList{"Non trovato dati.ini"});
  const QStringList expected{"attach C:\\dati\\a.fdb", "create C:\\dati\\a.fdb",
                             "attach 127.0.0.1:Q:\\dati\\a.fdb",
                             "create 127.0.0.1:Q:\\dati\\a.fdb"};
  EXPECT_EQ(log.names, expected) << "the drive letter replaces the first character of the path";
  const core::IniFile ini(dir + "dati.ini");
  EXPECT_EQ(ini.read("CONFIG", "Nome Server"), "127.0.0.1");
  EXPECT_EQ(ini.read("CONFIG", "Lettera Disco Server"), "Q");

  // With the server known the question is not asked again.
  log.names.clear();
  EXPECT_FALSE(env::ApriDatabase(database, dir, "a.fdb"));
  EXPECT_EQ(log.names, expected);
  EXPECT_EQ(prompter_.texts(), QStringList{"Non trovato dati.ini"});
  qunsetenv("ORBELAN_DRIVES");
}

TEST_F(DatabaseLocationTest, ServerAliasConnectsWithoutReadingTheOtherKeys) {
  REQUIRE_TEST_SERVER();
  const QString dir = storedDir();
  writeIni(dir, "Nome Server", testServer());
  writeIni(dir, "Alias", qEnvironmentVariable("ORBELAN_TEST_ALIAS"));
  writeIni(dir, "PercorsoDatabase", "non\\usato");
  db::Database database;
  AttemptLog log;
  ASSERT_TRUE(env::ApriDatabase(database, dir, "ignorato.fdb"));
  const QString alias = testServer() + ":" + qEnvironmentVariable("ORBELAN_TEST_ALIAS");
  EXPECT_EQ(log.names.value(0), "attach " + alias);
  EXPECT_EQ(log.names.filter("non\\usato").size(), 0);
  EXPECT_EQ(database.name(), alias);
}

TEST_F(DatabaseLocationTest, WrongPasswordOnAServerIsFollowedByACreationAttempt) {
  REQUIRE_TEST_SERVER();
  const QString file = qEnvironmentVariable("ORBELAN_TEST_SERVER_DIR") + "/password-" +
                       QString::number(QCoreApplication::applicationPid()) + ".fdb";
  const QString name = testServer() + ":" + file;
  {
    db::Database database;
    ASSERT_TRUE(env::AttivaDatabase(database, name, "", ""))
        << "the client defaults reach the server";
    EXPECT_EQ(prompter_.texts(), QStringList{"Effettuata creazione data base"});
  }
  db::Database database;
  AttemptLog log;
  EXPECT_FALSE(env::AttivaDatabase(database, name, "", "", "SYSDBA", "sbagliata"));
  EXPECT_EQ(log.names, (QStringList{"attach " + name, "create " + name}));
  EXPECT_FALSE(database.isConnected());
  QFile::remove(file);
}

TEST_F(DatabaseLocationTest, AServerArchiveNamedWithSlashesOpensAndAMissingOneIsNotCreated) {
  REQUIRE_TEST_SERVER();
  const QString file = qEnvironmentVariable("ORBELAN_TEST_SERVER_DIR") + "/slashes-" +
                       QString::number(QCoreApplication::applicationPid()) + ".fdb";
  {
    db::Database database;
    ASSERT_TRUE(env::AttivaDatabase(database, testServer() + ":" + file, "", ""));
  }
  prompter_.reset();
  TTabXForm env(nullptr, TTabXForm::ModoNudo);
  env.Inserisci("QZV", "Archivio", "", testServer() + ":" + file, "", "", "", "", "1");
  EXPECT_TRUE(env.ConnettiDatabase1("Archivio")) << prompter_.texts().join(" | ").toStdString();
  EXPECT_TRUE(prompter_.texts().isEmpty());

  const QString missing = qEnvironmentVariable("ORBELAN_TEST_SERVER_DIR") + "/mancante-" +
                          QString::number(QCoreApplication::applicationPid()) + ".fdb";
  for (const QString& name :
       {testServer() + ":" + missing, testServer() + ":/", testServer() + ":archivio.fdb"}) {
    SCOPED_TRACE(name.toStdString());
    TTabXForm other(nullptr, TTabXForm::ModoNudo);
    other.Inserisci("QZV", "Archivio", "", name, "", "", "", "", "1");
    prompter_.reset();
    EXPECT_FALSE(other.ConnettiDatabase1("Archivio"));
    ASSERT_FALSE(prompter_.texts().isEmpty());
    EXPECT_EQ(prompter_.texts().last(), "Errore apertura archivio");
  }
  EXPECT_FALSE(QFile::exists(missing)) << "a missing archive is never created";
  QFile::remove(file);
}

// Connects the archive named `name` as the environment does; true when it
// opened, else the environment said "Errore apertura archivio". A question
// for the server is left unanswered.
bool opensAsArchive(ScriptedPrompter& prompter, const QString& name, bool serverAsked = false) {
  TTabXForm env(nullptr, TTabXForm::ModoNudo);
  env.Inserisci("QZV", "Archivio", "", name, "", "", "", "", "1");
  prompter.reset();
  if (serverAsked) prompter.script([](QDialog&) { return 0; });
  const bool opened = env.ConnettiDatabase1("Archivio");
  EXPECT_EQ(opened, env.IBDatabase1.isConnected());
  if (!opened) {
    EXPECT_FALSE(prompter.texts().isEmpty());
    EXPECT_EQ(prompter.texts().value(prompter.texts().size() - 1), "Errore apertura archivio");
  }
  return opened;
}

TEST_F(DatabaseLocationTest, EveryServerFormOfTheArchiveOpensAndAMissingOneIsNeverCreated) {
  REQUIRE_TEST_SERVER();
  const QString server = testServer();
  const QString folder = qEnvironmentVariable("ORBELAN_TEST_SERVER_DIR");
  const QString alias = qEnvironmentVariable("ORBELAN_TEST_ALIAS");
  const QString pid = QString::number(QCoreApplication::applicationPid());
  const QString file = folder + "/forme-" + pid + ".fdb";
  {
    db::Database database;
    ASSERT_TRUE(env::AttivaDatabase(database, server + ":" + file, "", ""));
    // The alias's database is made once, by whichever test needs it first.
    ASSERT_TRUE(env::AttivaDatabase(database, server + ":" + alias, "", ""));
  }
  QString backslashes = file;
  backslashes.replace('/', '\\');
  for (const QString& name :
       {server + ":" + file, server + "/3050:" + file, server + "/gds_db:" + file,
        server + ":" + backslashes, server + ":" + alias, server + "/3050:" + alias,
        "inet://" + server + "/" + file, "inet://" + server + ":3050/" + file,
        "inet://" + server + "/" + alias}) {
    SCOPED_TRACE(name.toStdString());
    EXPECT_TRUE(opensAsArchive(prompter_, name)) << prompter_.texts().join(" | ").toStdString();
  }

  const QString missing = folder + "/mancante-" + pid + ".fdb";
  QString missingBackslashes = missing;
  missingBackslashes.replace('/', '\\');
  for (const QString& name : QStringList{
           server + ":" + missing, server + "/3050:" + missing, server + ":" + missingBackslashes,
           server + ":nessun_alias", "inet://" + server + "/" + missing,
           "inet://" + server + "/nessun_alias", QString(), QString("archivio.fdb"),
           QString("dati/archivio.fdb"), server + ":", server + "/:" + file,
           server + ":" + folder + "/", "inet://" + server, "inet://" + server + "/",
           "inet://" + server + "//", "inet:/" + server + "/" + alias,
           "ftp://" + server + "/" + alias, server + ":dati/archivio.fdb"}) {
    SCOPED_TRACE(name.toStdString());
    EXPECT_FALSE(opensAsArchive(prompter_, name));
  }
  EXPECT_FALSE(QFile::exists(missing)) << "a missing archive is never created";
  QFile::remove(file);
}

TEST_F(DatabaseLocationTest, ALocalArchiveOpensWrittenWithEitherSlash) {
  const QString file = path("dati/archivio.fdb");
  QDir().mkpath(path("dati"));
  createDatabase("dati/archivio.fdb");
  qputenv("ORBELAN_DRIVES", ("C=" + dir_.path()).toLocal8Bit());
  for (const QString& name : {file, core::storedPath(file), QString("C:/dati/archivio.fdb"),
                              QString("C:\\dati\\archivio.fdb")}) {
    SCOPED_TRACE(name.toStdString());
    EXPECT_TRUE(opensAsArchive(prompter_, name)) << prompter_.texts().join(" | ").toStdString();
  }
  // A missing one is looked for as its stored form is: the server is asked
  // for, and nothing is made when none is given.
  for (const QString& name : {path("dati/mancante.fdb"), QString("C:/dati/mancante.fdb")}) {
    SCOPED_TRACE(name.toStdString());
    EXPECT_FALSE(opensAsArchive(prompter_, name, true));
  }
  EXPECT_FALSE(QFile::exists(path("dati/mancante.fdb")));
  qunsetenv("ORBELAN_DRIVES");
}

TEST_F(DatabaseLocationTest, ConnectingAMissingArchiveSaysSo) {
  TTabXForm env(nullptr, TTabXForm::ModoNudo);
  env.Inserisci("QZV", "Archivio", "", "\\\\127.0.0.1\\archivi\\x\\a.fdb", "", "", "", "", "1");
  EXPECT_FALSE(env.ConnettiDatabase1("Archivio"));
  ASSERT_FALSE(prompter_.texts().isEmpty());
  EXPECT_EQ(prompter_.texts().last(), "Errore apertura archivio");
}

}  // namespace
