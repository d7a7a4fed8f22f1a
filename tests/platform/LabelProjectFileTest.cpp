#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "DemoLabels.h"
#include "platform/reports/LabelProjectFile.h"
#include "support/QtPrinters.h"

using namespace platform::reports;

namespace {

LabelProject everyKindOfObject() {
  LabelProject project;
  project.size = QSizeF(80.5, 42);
  LabelObject text;
  text.rect = QRectF(1.25, 2, 60, 6.5);
  text.variable = "Descrizione";
  text.font = {"DejaVu Sans", 11.5, true, true};
  text.alignment = Alignment::Right;
  LabelObject fixed = text;
  fixed.variable.clear();
  fixed.fixedText = "Taglia \"XL\" = 52 \\ L'ultima";
  fixed.font = {"Arial", 7, false, false};
  fixed.alignment = Alignment::Center;
  LabelObject barcode;
  barcode.kind = ObjectKind::Barcode;
  barcode.rect = QRectF(3, 20, 74, 25);
  barcode.variable = "Codice_EAN";
  barcode.symbology = Symbology::Ean13;
  barcode.humanReadable = false;
  LabelObject line;
  line.kind = ObjectKind::Line;
  line.rect = QRectF(3, 40, 70, -5.5);
  line.thickness = 0.25;
  LabelObject box;
  box.kind = ObjectKind::Box;
  box.rect = QRectF(0.5, 0.5, 79.5, 41);
  LabelObject image;
  image.kind = ObjectKind::Image;
  image.rect = QRectF(60, 2, 18, 9);
  image.imageFile = "loghi/marchio azienda.png";
  LabelObject empty;
  empty.rect = QRectF(0, 0, 5, 5);
  project.objects = {text, fixed, barcode, line, box, image, empty};
  return project;
}

TEST(LabelProjectFile, WhatIsWrittenReadsBackEqual) {
  const LabelProject project = everyKindOfObject();
  const QByteArray text = formatLabelProject(project);
  LabelProject read;
  QString error;
  ASSERT_TRUE(parseLabelProject(text, read, error)) << error.toStdString() << "\n"
                                                    << text.toStdString();
  EXPECT_EQ(read, project) << text.toStdString();

  // Through a file, with CR LF line ends, a byte order mark and comments as
  // an editor may leave them; non-ASCII text is UTF-8.
  QByteArray edited = "\xEF\xBB\xBF# etichetta di prova\r\n\r\n" + text;
  edited.replace("\n", "\r\n");
  edited.replace("\r\r\n", "\r\n");
  edited.append("text x=1 y=1 width=10 height=5 text=\"N\xC2\xB0 seriale \xC2\xB4\"\r\n");
  QTemporaryDir dir;
  QFile file(dir.filePath("P.LBL"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(edited);
  file.close();
  ASSERT_TRUE(loadLabelProject(file.fileName(), read, error)) << error.toStdString();
  ASSERT_EQ(read.objects.size(), project.objects.size() + 1);
  EXPECT_EQ(read.objects.last().fixedText, QString::fromUtf8("N° seriale ´"));

  // Saving replaces the file whole.
  ASSERT_TRUE(saveLabelProject(file.fileName(), project, error));
  ASSERT_TRUE(loadLabelProject(file.fileName(), read, error));
  EXPECT_EQ(read, project);
}

TEST(LabelProjectFile, MistakesAreRefusedNamingTheLine) {
  const QByteArray header = "orbelan-label 1\nlabel width=80 height=50\n";
  const struct {
    QByteArray text;
    const char* message;
  } cases[] = {
      {"", "il file è vuoto"},
      {"etichetta 1\n", "riga 1: non è un progetto etichetta"},
      {"orbelan-label 2\n", "riga 1: versione 2 non gestita"},
      {"orbelan-label 1\ntext x=1 y=1 width=1 height=1\n", "manca il record label"},
      {header + "text x=1 y=1 width=5\n", "riga 3: manca height"},
      {header + "text x=1 y=1 width=5 height=2 colour=red\n", "riga 3: chiave sconosciuta colour"},
      {header + "text x=1 y=1 width=5 height=2 points=dieci\n",
       "riga 3: points non è un numero: \"dieci\""},
      {header + "text x=1 y=1 width=-5 height=2\n", "riga 3: width non può essere negativo"},
      {header + "text x=1 y=1 width=5 height=2 align=middle\n",
       "riga 3: align vale left o center o right, non \"middle\""},
      {header + "barcode x=1 y=1 width=5 height=2 symbology=qr\n",
       "riga 3: symbology vale code128 o ean13"},
      {header + "barcode x=1 y=1 width=5 height=2 readable=si\n",
       "riga 3: readable vale yes o no, non \"si\""},
      {header + "text x=1 y=1 width=5 height=2 text=\"aperto\n", "riga 3: virgolette non chiuse"},
      {header + "text x=1 x=2 y=1 width=5 height=2\n", "riga 3: chiave x ripetuta"},
      {header + "text x=1 y=1 width=5 height=2 variable=A text=B\n",
       "riga 3: variable e text si escludono"},
      {header + "circle x=1 y=1 width=5 height=2\n", "riga 3: record sconosciuto circle"},
      {header + "image x=1 y=1 width=5 height=2\n", "riga 3: manca file"},
      {header + "label width=10 height=10\n", "riga 3: record label ripetuto"},
      {"orbelan-label 1\nlabel width=0 height=50\n", "riga 2: le misure dell'etichetta"},
      {header + "text x=1 y=1 width=5 height=2 x\n", "riga 3: atteso chiave=valore"},
  };
  for (const auto& [text, message] : cases) {
    LabelProject project;
    QString error;
    EXPECT_FALSE(parseLabelProject(text, project, error)) << text.toStdString();
    EXPECT_TRUE(error.startsWith(QString::fromUtf8(message)))
        << "for\n"
        << text.toStdString() << "got: " << error.toStdString();
  }

  // A file that cannot be read names itself.
  LabelProject project;
  QString error;
  EXPECT_FALSE(loadLabelProject("/nonexistent/ETICHETTA.LBL", project, error));
  EXPECT_TRUE(error.contains("/nonexistent/ETICHETTA.LBL"));
  QTemporaryDir dir;
  EXPECT_FALSE(saveLabelProject(dir.filePath("missing/X.LBL"), everyKindOfObject(), error));
  EXPECT_TRUE(error.startsWith("Impossibile salvare il progetto etichetta"));
}

TEST(LabelProjectFile, DemoProjectsAreInstalledOnceAndBindTheLabelVariables) {
  QTemporaryDir dir;
  const QString report = dir.filePath("bin/Report");
  EXPECT_EQ(host::installDemoLabelProjects(report).size(), 4);
  const struct {
    const char* file;
    const char* barcodeVariable;
    Symbology symbology;
  } demos[] = {{"ETICHETTA.LBL", "CodiceBarre", Symbology::Code128},
               {"ETICHETTA_EAN.LBL", "Codice_EAN", Symbology::Ean13}};
  for (const auto& demo : demos) {
    LabelProject project;
    QString error;
    ASSERT_TRUE(loadLabelProject(report + "/" + demo.file, project, error)) << error.toStdString();
    for (const char* name :
         {"Descrizione", "Descrizione1", "DatiProdotto", "Ordine", "CodiceBarre"})
      EXPECT_TRUE(project.boundVariables().contains(name)) << demo.file << " " << name;
    int barcodes = 0;
    for (const LabelObject& object : project.objects) {
      if (object.kind != ObjectKind::Barcode) continue;
      ++barcodes;
      EXPECT_EQ(object.variable, demo.barcodeVariable);
      EXPECT_EQ(object.symbology, demo.symbology);
    }
    EXPECT_EQ(barcodes, 1);
  }
  // A project already there, perhaps edited, is kept.
  QFile edited(report + "/ETICHETTA.LBL");
  ASSERT_TRUE(edited.open(QIODevice::WriteOnly));
  edited.write("orbelan-label 1\nlabel width=10 height=10\n");
  edited.close();
  EXPECT_TRUE(host::installDemoLabelProjects(report).isEmpty());
  ASSERT_TRUE(edited.open(QIODevice::ReadOnly));
  EXPECT_EQ(edited.readAll(), "orbelan-label 1\nlabel width=10 height=10\n");
}

}  // namespace
