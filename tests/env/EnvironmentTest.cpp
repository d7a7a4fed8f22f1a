#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "core/IniFile.h"
#include "core/Paths.h"
#include "db/Query.h"
#include "env/TabX.h"
#include "support/FirebirdFixture.h"
#include "support/HostInstallation.h"
#include "support/ScriptedUi.h"

namespace {

class EnvironmentTest : public ::testing::Test {
 protected:
  EnvironmentTest() : guard_(prompter_) {}
  // An environment for the demo user with the main archive connected.
  std::unique_ptr<TTabXForm> environment(int user = 1) {
    auto env = std::make_unique<TTabXForm>(nullptr, TTabXForm::ModoDatabase);
    env->SetUserPerNum(user);
    env->Inserisci("QZV", "Archivio", "", env->CaricaParametro("Archivio"), "", "", "", "",
                   QString::number(user));
    EXPECT_TRUE(env->ConnettiDatabase1("Archivio"));
    return env;
  }
  HostInstallation host_;
  ScriptedPrompter prompter_;
  ScopedPrompter guard_;
};

TEST_F(EnvironmentTest, ParameterTableUpsertsByTypeNameAndUser) {
  TTabXForm env(nullptr, TTabXForm::ModoNudo);
  EXPECT_EQ(env.GetV("Manca"), "");
  EXPECT_FALSE(env.SetV("Manca", "x"));
  EXPECT_EQ(env.MemTabX.rowCount(), 0) << "SetV never inserts";

  env.Inserisci("QZV", "BinDir", "", "C:\\bin\\", "", "", "", "", "1");
  env.Inserisci("QZV", "BinDir", "", "D:\\altro\\", "", "", "", "", "2");
  env.Inserisci("QZV", "BinDir", "5", "E:\\nuovo\\", "31/12/2024", "nota", "1", "2", "1");
  EXPECT_EQ(env.MemTabX.rowCount(), 2) << "same type, name and user overwrite";
  EXPECT_EQ(env.GetV("BinDir"), "E:\\nuovo\\") << "the first entry of that name wins";
  EXPECT_EQ(env.GetV("bindir"), "") << "names are case-sensitive";
  EXPECT_EQ(env.GetM("BinDir"), "nota");
  env.MemTabX.first();
  EXPECT_EQ(env.MemTabX.value("Data").toDate(), QDate(2024, 12, 31));
  EXPECT_EQ(env.MemTabX.value("Numero").toLongLong(), 5);

  EXPECT_TRUE(env.SetV("BinDir", QString(200, 'x')));
  EXPECT_EQ(env.GetV("BinDir").size(), 128) << "Testo holds 128 characters";
  EXPECT_TRUE(env.SetM("BinDir", QString(300, 'y')));
  EXPECT_EQ(env.GetM("BinDir").size(), 300) << "Memo has no limit";
  env.Inserisci("LBL", "Vuoto", "", "", "", "", "", "", "1");
  env.MemTabX.locate({"Nome"}, {"Vuoto"});
  EXPECT_TRUE(env.MemTabX.value("Testo").isNull()) << "empty arguments store nulls";
  EXPECT_TRUE(env.FileVerde.isEmpty()) << "a bare object looks nothing up";
}

TEST_F(EnvironmentTest, CreationOpensTheUserDatabaseAndMakesTheScriptTableOnce) {
  {
    TTabXForm env(nullptr, TTabXForm::ModoDatabase);
    TTabXForm again(nullptr, TTabXForm::ModoDatabase);
    EXPECT_TRUE(env.IBDatabaseUser.isConnected());
    EXPECT_EQ(env.FileVerde, host_.storedRoot() + "Grafica\\Verde.bmp");
    EXPECT_EQ(env.FileRosso, host_.storedRoot() + "Grafica\\Rosso.bmp");
    EXPECT_EQ(readOne(env.IBDatabaseUser,
                      "SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME='TABSCRIPT'"),
              "1");
  }
  EXPECT_TRUE(prompter_.texts().isEmpty()) << prompter_.texts().join('\n').toStdString();

  // A host folder without a user database gets a new one.
  QFile::remove(host_.native("user/user.fdb"));
  TTabXForm fresh(nullptr, TTabXForm::ModoDatabase);
  EXPECT_TRUE(QFile::exists(host_.native("user/user.fdb")));
  EXPECT_EQ(prompter_.texts(), QStringList{"Effettuata creazione data base"});
}

TEST_F(EnvironmentTest, UsersAreResolvedFromTheUserDatabase) {
  TTabXForm env(nullptr, TTabXForm::ModoDatabase);
  env.SetUserPerNum(2);
  EXPECT_EQ(env.GetNumUser(), 2);
  EXPECT_EQ(env.GetNomeUser(), "PROVA");
  EXPECT_EQ(env.Ditta, "DEMO SRL");
  EXPECT_EQ(env.ProfiloSicurezzaUtente(), 1);
  env.SetUserPerNome("DEMO");
  EXPECT_EQ(env.GetNumUser(), 1);
  env.SetUserPerNome("NESSUNO");
  EXPECT_EQ(env.GetNumUser(), 0);
  EXPECT_EQ(env.GetNomeUser(), "");
  EXPECT_EQ(env.Ditta, "");

  QStringList users;
  env.CaricaUser(users);
  EXPECT_EQ(users, (QStringList{"DEMO", "PROVA"}));
  EXPECT_TRUE(env.VerificaPasswordUser("DEMO", "qualsiasi")) << "an empty password admits anyone";
  EXPECT_TRUE(env.VerificaPasswordUser("PROVA", "prova"));
  EXPECT_FALSE(env.VerificaPasswordUser("PROVA", "PROVA")) << "passwords are case-sensitive";
  EXPECT_FALSE(env.VerificaPasswordUser("NESSUNO", ""));
  EXPECT_FALSE(env.VerificaPasswordUser("X') OR ('1'='1", "")) << "names are quoted";
  EXPECT_EQ(env.DecodificaNomeUser("2"), "PROVA");
  EXPECT_EQ(env.DecodificaNomeUser("9"), "");
  EXPECT_EQ(env.DecodificaNomeUser("2 OR 1=1"), "");
}

TEST_F(EnvironmentTest, SettingsStoreWritesRowsAndRebuildsTheImage) {
  TTabXForm env(nullptr, TTabXForm::ModoDatabase);
  env.SetUserPerNum(1);
  EXPECT_EQ(env.CaricaParametro("Archivio"), host_.archive());
  EXPECT_EQ(env.CaricaParametro("Manca"), "");

  QList<QStringList> statements;
  db::setStatementObserver([&](const QStringList& lines) { statements << lines; });
  env.ScriviParametroVandel("ALTRA", "Chiave", "L'uno");
  env.SettaParametro("Directory bin", "");
  db::setStatementObserver(nullptr);

  const auto find = [&](const QString& first) {
    for (const QStringList& lines : statements)
      if (lines.value(0).startsWith(first)) return lines;
    return QStringList();
  };
  EXPECT_EQ(
      find("INSERT INTO TABVANDEL"),
      (QStringList{"INSERT INTO TABVANDEL (UTENTE,INTESTAZIONE,PARAMETRO,VALORE,",
                   "PROGRESSIVO) VALUES(", "'1',", "'ALTRA',", "'Chiave',", "'L''uno',", "'4')"}));
  EXPECT_EQ(find("UPDATE TABVANDEL"),
            (QStringList{"UPDATE TABVANDEL SET", "VALORE=NULL", "WHERE (UTENTE='1')AND",
                         "(INTESTAZIONE='DEMO SRL')AND", "(PARAMETRO='Directory bin')"}));
  EXPECT_TRUE(prompter_.texts().isEmpty()) << prompter_.texts().join('\n').toStdString();

  TTabXForm reader(nullptr, TTabXForm::ModoDatabase);
  const QString image = readOne(reader.IBDatabaseUser, "SELECT VANDEL FROM UTENTI WHERE CODICE=1");
  EXPECT_EQ(image,
            "[ALTRA]\nChiave=L'uno\n[DEMO SRL]\nDirectory bin=\nArchivio=" + host_.archive() +
                "\nDirectory tabelle temporanee=" + host_.binDir() + "TEMP\\\n")
      << "sections in name order, entries in their order, an apostrophe kept intact";

  // Every setting removed: the image becomes null.
  runStatement(reader.IBDatabaseUser, "DELETE FROM TABVANDEL WHERE UTENTE=1");
  reader.ScriviVandel(1);
  EXPECT_EQ(
      readOne(reader.IBDatabaseUser, "SELECT COALESCE(VANDEL,'<null>') FROM UTENTI WHERE CODICE=1"),
      "<null>");
}

TEST_F(EnvironmentTest, TabxKeepsAcuteAccentsAndUpdatesEveryUserWithoutTheUserLine) {
  {
    db::Database archive;
    host_.openArchive(archive);
    runStatement(archive,
                 "INSERT INTO TABX (CODICE,NOME,TESTO,UTENTE) VALUES "
                 "(GEN_ID(CODICETABXCOUNTER,1),'ModoStampa','L',2)");
  }
  auto env = environment(1);
  ASSERT_TRUE(env->IBDatabase1.isConnected());
  EXPECT_EQ(env->ValoreTabX("ModoStampa", true), "L");
  EXPECT_EQ(env->ValoreTabX("Manca", false), "");

  EXPECT_TRUE(env->SettaValoreTabX("Nuovo", "L'etichetta", false));
  EXPECT_EQ(env->ValoreTabX("Nuovo", false), QString::fromUtf8("L´etichetta"));
  EXPECT_EQ(readOne(env->IBDatabase1, "SELECT COALESCE(UTENTE,-1) FROM TABX WHERE NOME='Nuovo'"),
            "-1");

  EXPECT_TRUE(env->SettaValoreTabX("ModoStampa", "T", false));
  EXPECT_EQ(
      readOne(env->IBDatabase1, "SELECT COUNT(*) FROM TABX WHERE NOME='ModoStampa' AND TESTO='T'"),
      "2");
  EXPECT_TRUE(env->SettaValoreTabX("StampanteTermica", "Zebra", true));
  EXPECT_EQ(env->ValoreTabX("StampanteTermica", true), "Zebra");
  EXPECT_TRUE(env->SettaValoreMTabX("Lungo", QString(500, 'm'), true));
  EXPECT_EQ(env->ValoreMTabX("Lungo", true).size(), 500);

  // The structured parameters of one project and situation.
  EXPECT_FALSE(env->AggiungiParametroInTabX("", "1", "P", "", "", "", "", "", ""));
  EXPECT_TRUE(env->AggiungiParametroInTabX("123", "1", "Larghezza", "12,5", "D'oro", "07/03/2024",
                                           "", "1", ""));
  EXPECT_TRUE(env->VerificaEsistenzaInTabX("123", "1", "Larghezza"));
  EXPECT_EQ(readOne(env->IBDatabase1,
                    "SELECT NUMERO||'|'||TESTO||'|'||DATA||'|'||TIPO||'|'||UTENTE FROM TABX WHERE "
                    "NOME='Larghezza'"),
            QString::fromUtf8("12.5000|D´oro|2024-03-07|TBX|1"));
  EXPECT_TRUE(env->AggiungiParametroInTabX("123", "1", "Larghezza", "1", "", "", "", "", ""))
      << "an existing row is left alone";
  EXPECT_FALSE(env->ScriviParametroInTabX("123", "1", "Manca", "", "", "", ""));
  EXPECT_FALSE(env->ScriviParametroInTabX("123", "1", "Larghezza", "", "", "31/02/2024", ""));
  EXPECT_EQ(prompter_.texts(),
            QStringList{"Errore interno di UPDATE: impossibile settare il parametro Larghezza"});
  EXPECT_TRUE(env->ScriviParametroInTabX("123", "1", "Larghezza", "", "nuovo", "", "memo"));

  EXPECT_FALSE(env->CaricaParametroDaTabX("123", "1", "Larghezza"))
      << "no parameter-table entry yet";
  env->Inserisci("TBX", "Larghezza", "", "", "", "", "", "", "1");
  EXPECT_TRUE(env->CaricaParametroDaTabX("123", "1", "Larghezza"));
  EXPECT_EQ(env->GetV("Larghezza"), "nuovo");
  EXPECT_EQ(env->GetM("Larghezza"), "memo");

  // Refreshing from TABX updates known entries and adds the others.
  env->SetV("Larghezza", "vecchio");
  env->AggiungiParametroInTabX("123", "1", "Altezza", "3", "", "", "", "", "");
  env->AggiornaParametriTabX();
  EXPECT_EQ(env->GetV("Larghezza"), "nuovo");
  env->MemTabX.locate({"Nome"}, {"Altezza"});
  EXPECT_EQ(env->MemTabX.value("Numero").toLongLong(), 3);
  EXPECT_EQ(env->MemTabX.value("Tipo").toString(), "TBX");
}

TEST_F(EnvironmentTest, WindowHandleIsWrittenIntoTheLogRow) {
  TTabXForm env(nullptr, TTabXForm::ModoDatabase);
  runStatement(env.IBDatabaseUser, "INSERT INTO ZELMILOGFUNZ (IDFINESTRA,UTENTE) VALUES (77,1)");
  EXPECT_TRUE(env.ScritturaHandleDiApertura(77, 123456));
  EXPECT_TRUE(env.ScritturaHandleDiApertura(78, 1)) << "an unknown identifier changes nothing";
  EXPECT_EQ(
      readOne(env.IBDatabaseUser, "SELECT HANDLEFINESTRA FROM ZELMILOGFUNZ WHERE IDFINESTRA=77"),
      "123456");
  EXPECT_EQ(readOne(env.IBDatabaseUser, "SELECT COUNT(*) FROM ZELMILOGFUNZ"), "1");
  EXPECT_TRUE(prompter_.texts().isEmpty());
}

TEST_F(EnvironmentTest, IniModeReadsUsersAndSettingsFromTheHostFiles) {
  QDir().mkpath(host_.native("NOMIDIT/USERCFG"));
  core::IniFile users(host_.storedRoot() + "NOMIDIT\\UTENTI.INI");
  users.write("1 ROSSI", "x", "1");
  users.write("7 BIANCHI", "x", "1");
  core::IniFile own(host_.storedRoot() + "NOMIDIT\\USERCFG\\7 BIANCHI.INI");
  own.write("STATUS MACCHINA", "UltimaDitta", "MODA SPA");
  own.write("MODA SPA", "Archivio", "C:\\dati\\moda.fdb");

  TTabXForm env(nullptr, TTabXForm::ModoFileIni);
  QStringList list;
  env.CaricaUser(list);
  EXPECT_EQ(list, (QStringList{"1 ROSSI", "7 BIANCHI"}));
  env.SetUserPerNum(7);
  EXPECT_EQ(env.GetNomeUser(), "BIANCHI");
  EXPECT_EQ(env.Ditta, "MODA SPA");
  EXPECT_EQ(env.CaricaParametro("Archivio"), "C:\\dati\\moda.fdb");
  EXPECT_TRUE(env.VerificaPasswordUser("BIANCHI", "any"));
  env.SettaParametro("Directory bin", "C:\\bin\\");
  EXPECT_EQ(own.read("MODA SPA", "Directory bin"), "C:\\bin\\");
}

}  // namespace

#include "env/SiblingLibrary.h"

namespace {

TEST(SiblingLibrary, WindowsNamesFindTheSharedLibraryAndTheFunctionIsCalled) {
  const QStringList candidates = env::siblingLibraryCandidates("Vopra.dll");
  ASSERT_FALSE(candidates.isEmpty());
  EXPECT_TRUE(candidates.last() == "libVopra.so");
  for (const QString& candidate : candidates)
    EXPECT_TRUE(candidate.endsWith("/libVopra.so") || candidate == "libVopra.so");

  QTemporaryDir dir;
  const QString out = dir.filePath("chiamata.txt");
  qputenv("ORBELAN_TEST_SIBLING_OUT", out.toLocal8Bit());
  TTabXForm env(nullptr, TTabXForm::ModoNudo);
  env.AvviaFunzXDll("TestSibling.dll", "Registra", 42);
  QFile file(out);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << "the sibling function was called";
  EXPECT_EQ(file.readAll(), "42");
  EXPECT_FALSE(env::callSiblingFunction("TestSibling.dll", "Manca", 1));
  EXPECT_FALSE(env::callSiblingFunction("Nessuna.dll", "Registra", 1));
  qunsetenv("ORBELAN_TEST_SIBLING_OUT");
}

}  // namespace
