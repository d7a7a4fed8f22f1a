#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <memory>

#include "DemoReports.h"
#include "core/Paths.h"
#include "db/Database.h"
#include "db/MemTable.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "grid/RadioGroup.h"
#include "platform/crystal/ChartWindow.h"
#include "platform/crystal/ReportFile.h"
#include "platform/localstore/LocalTable.h"
#include "query/designer/ChartReport.h"
#include "query/designer/ChartRequest.h"
#include "query/designer/GraficoForm.h"
#include "query/designer/IBLQueryForm.h"
#include "support/FirebirdFixture.h"
#include "support/ScriptedUi.h"

using namespace query::designer;
using platform::localstore::LocalTable;

namespace {

// Sales by customer over a bin folder holding the chart reports and a
// working folder for the chart table.
class GraficoFormTest : public FirebirdTest {
 protected:
  void SetUp() override {
    database_ = createDatabase();
    execute(*database_,
            {"CREATE TABLE VENDITE (N INTEGER, CLIENTE VARCHAR(40), DATA DATE, QTA INTEGER, "
             "IMPORTO DOUBLE PRECISION, PREZZO NUMERIC(15,2), NOTE BLOB SUB_TYPE 1, ID BIGINT)"});
    transaction_ = std::make_unique<db::Transaction>(*database_);
    answer_ = std::make_unique<db::Query>(*database_, *transaction_);
    ASSERT_TRUE(bin_.isValid() && work_.isValid());
    host::installDemoReports(bin_.filePath("report"));
  }

  // `count` sales, N from 1, for customers named by `name`.
  void sales(int count, const QString& name = "CLIENTE") {
    execute(*database_, {QString("INSERT INTO VENDITE (N, CLIENTE, DATA, QTA, IMPORTO, PREZZO) "
                                 "WITH RECURSIVE R (I) AS (SELECT 1 FROM RDB$DATABASE UNION ALL "
                                 "SELECT I + 1 FROM R WHERE I < %1) "
                                 "SELECT I, '%2' || I, DATE '2026-01-01' + I, I, I * 1.5, I FROM R")
                             .arg(count)
                             .arg(name)});
    answer_->sql = QStringList{"SELECT * FROM VENDITE ORDER BY N"};
    answer_->open();
  }

  std::unique_ptr<TGraficoForm> form(const QString& binDir) {
    return std::make_unique<TGraficoForm>(nullptr, "DEMO", binDir, work(), *answer_);
  }
  QString bin() const { return core::storedPath(bin_.path()) + "\\"; }
  QString work() const { return core::storedPath(work_.path()) + "\\"; }
  QString chartDir() const { return work_.filePath("QUERY/RISPTMP/GRAFTMP"); }

  // The chart table's rows (label, series, value), read as the reports do.
  QList<QVariantList> chartRows(const QString& name = "GRAFTMP.DB") {
    platform::localstore::LocalColumns columns;
    QList<QVariantList> rows;
    QString error;
    EXPECT_TRUE(platform::localstore::readLocalTable(core::storedPath(chartDir()), name, &columns,
                                                     &rows, &error))
        << error.toStdString();
    return rows;
  }

  static QStringList items(const QComboBox* box) {
    QStringList list;
    for (int i = 0; i < box->count(); ++i) list << box->itemText(i);
    return list;
  }
  static QStringList items(const QListWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i) texts << list->item(i)->text();
    return texts;
  }
  static QString text(const TGraficoForm& dialog, const QString& name) {
    return control<QLineEdit>(dialog, name)->text();
  }

  // Chooses the columns and a chart type of the x/y group.
  static void choose(TGraficoForm& dialog, const QString& x, const QString& value, int tipo = 0) {
    dialog.EditDescrizione1()->setCurrentText(x);
    dialog.EditValore()->setCurrentText(value);
    dialog.RadioGroup1()->setItemIndex(tipo);
  }

  std::unique_ptr<db::Database> database_;
  std::unique_ptr<db::Transaction> transaction_;
  std::unique_ptr<db::Query> answer_;
  QTemporaryDir bin_;
  QTemporaryDir work_;
  ScriptedPrompter prompter_;
  ScopedPrompter installed_{prompter_};
};

}  // namespace

TEST_F(GraficoFormTest, ChoosingColumnsSetsTheDescriptionsAndDropsTheAdditionalSeries) {
  sales(3);
  auto dialog = form(bin());
  EXPECT_EQ(dialog->windowTitle(), "Elaborazione grafici");
  EXPECT_EQ(items(dialog->EditDescrizione1()),
            (QStringList{"N", "CLIENTE", "DATA", "QTA", "IMPORTO", "PREZZO"}));
  EXPECT_EQ(dialog->EditDescrizione1()->currentIndex(), -1);
  EXPECT_EQ(dialog->RadioGroup3()->ItemIndex(), 0) << "Orizzontale";
  EXPECT_EQ(dialog->RadioGroup4()->ItemIndex(), 1) << "Ordina";

  clickButton(*dialog, "ButtonCampiValoriAggiunti");
  EXPECT_EQ(prompter_.texts(),
            QStringList{"Impostare prima i Campi relativi alle coordinate X e Y"});

  dialog->EditDescrizione1()->setCurrentText("QTA");
  EXPECT_EQ(items(dialog->EditValore()), (QStringList{"N", "IMPORTO", "PREZZO"}));
  EXPECT_EQ(text(*dialog, "EditDescrAsseX"), "QTA");
  dialog->EditValore()->setCurrentText("IMPORTO");
  EXPECT_EQ(text(*dialog, "EditDescrAsseY"), "IMPORTO");
  dialog->EditDescrizione1()->setCurrentText("CLIENTE");
  EXPECT_EQ(dialog->EditValore()->currentText(), "") << "the value is chosen again";
  EXPECT_EQ(text(*dialog, "EditDescrAsseY"), "");
  choose(*dialog, "CLIENTE", "IMPORTO", 2);

  // Additional series: the other numeric columns; Cancel changes nothing.
  clickButton(*dialog, "ButtonCampiValoriAggiunti");
  EXPECT_TRUE(dialog->ListBox2()->isVisibleTo(dialog.get()));
  EXPECT_FALSE(control<QPushButton>(*dialog, "ButtonVisualizza")->isVisibleTo(dialog.get()));
  EXPECT_FALSE(dialog->EditValore()->isEnabled());
  EXPECT_EQ(items(dialog->ListBox2()), (QStringList{"N", "QTA", "PREZZO"}));
  dialog->ListBox2()->item(2)->setSelected(true);
  clickButton(*dialog, "ButtonCancel");
  EXPECT_EQ(dialog->ListBox1()->count(), 0);
  EXPECT_TRUE(control<QPushButton>(*dialog, "ButtonVisualizza")->isVisibleTo(dialog.get()));

  clickButton(*dialog, "ButtonCampiValoriAggiunti");
  dialog->ListBox2()->item(2)->setSelected(true);
  dialog->ListBox2()->item(1)->setSelected(true);
  clickButton(*dialog, "ButtonOk");
  EXPECT_EQ(items(dialog->ListBox1()), (QStringList{"QTA", "PREZZO"}));
  EXPECT_FALSE(dialog->RadioGroup1()->isEnabled());
  EXPECT_EQ(dialog->RadioGroup1()->ItemIndex(), -1);
  EXPECT_TRUE(dialog->RadioGroup2()->isEnabled());
  dialog->RadioGroup2()->setItemIndex(3);

  // A new x column drops them: the x/y group applies again.
  dialog->EditDescrizione1()->setCurrentText("DATA");
  EXPECT_EQ(dialog->ListBox1()->count(), 0);
  EXPECT_TRUE(dialog->RadioGroup1()->isEnabled());
  EXPECT_FALSE(dialog->RadioGroup2()->isEnabled());
  EXPECT_EQ(dialog->RadioGroup2()->ItemIndex(), -1);
  EXPECT_EQ(text(*dialog, "EditDescrAsseX"), "DATA");
}

TEST_F(GraficoFormTest, VisualizzaChecksTheChoicesFirst) {
  sales(3);
  auto dialog = form(bin());
  clickButton(*dialog, "ButtonVisualizza");
  dialog->EditDescrizione1()->setCurrentText("CLIENTE");
  clickButton(*dialog, "ButtonVisualizza");
  dialog->EditValore()->setCurrentText("QTA");
  clickButton(*dialog, "ButtonVisualizza");
  const QString missing =
      "Dati non sufficienti per la creazione del grafico!\rVerificare e correggere";
  EXPECT_EQ(prompter_.texts(),
            (QStringList{missing, missing, "Selezionare il tipo grafico da visualizzare!"}));
  EXPECT_FALSE(QDir(chartDir()).exists()) << "nothing was written";
  EXPECT_TRUE(dialog->engine().windows().isEmpty());
}

TEST_F(GraficoFormTest, TheReportFileFollowsTypeAndOrientationAndEveryOneIsShipped) {
  ChartRequest request;
  request.tipoXY = 3;  // A barre
  EXPECT_EQ(chartReportFile(request), "QGr04B3.RPT");
  request.verticale = true;
  EXPECT_EQ(chartReportFile(request), "QGr04B3.RPT");
  request.tipoXY = 4;  // A torta
  EXPECT_EQ(chartReportFile(request), "QGr05T.RPT");
  request.tipoXY = 0;
  EXPECT_EQ(chartReportFile(request), "QGr01VN.RPT");
  request.tipoXY = 5;
  EXPECT_EQ(chartReportFile(request), "");
  setAdditionalSeries(request, {"QTA"});
  EXPECT_EQ(chartReportFile(request), "") << "the x/y group is no longer read";
  request.tipoXYZ = 10;
  EXPECT_EQ(chartReportFile(request), "QGr21TP.RPT");

  QSet<QString> names;
  for (bool verticale : {false, true}) {
    request.verticale = verticale;
    for (int tipo = 0; tipo < kTipiGraficoXY.size(); ++tipo) {
      setAdditionalSeries(request, {});
      request.tipoXY = tipo;
      names << chartReportFile(request);
    }
    for (int tipo = 0; tipo < kTipiGraficoXYZ.size(); ++tipo) {
      setAdditionalSeries(request, {"QTA"});
      request.tipoXYZ = tipo;
      names << chartReportFile(request);
    }
  }
  EXPECT_EQ(names.size(), 27);
  for (const QString& name : names) {
    platform::crystal::ReportDefinition report;
    QString error;
    EXPECT_TRUE(platform::crystal::loadReportFile(bin_.filePath("report/" + name), report, error))
        << error.toStdString();
  }
}

TEST_F(GraficoFormTest, FormulasCarryTheTitleAndDescriptions) {
  ChartRequest request;
  chooseXColumn(request, "CLIENTE");
  chooseValueColumn(request, "IMPORTO");
  EXPECT_EQ(chartFormulas(request),
            (QList<QPair<QString, QString>>{{"Titolo", "'Senza titolo '"},
                                            {"DescrizioneX", "'Asse X: CLIENTE'"},
                                            {"DescrizioneY", "'Asse Y: IMPORTO'"},
                                            {"DescrizioneZ", "' '"}}));
  request.titolo = "Vendite dell'anno";
  request.descrizioneZ = "anni";
  EXPECT_EQ(chartFormulas(request)[0].second, "'Vendite dell''anno'");
  EXPECT_EQ(chartFormulas(request)[3].second, "'Asse Z: anni'");
}

TEST_F(GraficoFormTest, OriginaleNumbersTheLabelsAndEveryLabelIsCutTo20) {
  sales(100, "CLIENTE CON UN NOME LUNGO ");
  auto dialog = form(bin());
  choose(*dialog, "CLIENTE", "QTA");
  dialog->RadioGroup4()->setItemIndex(0);  // Originale
  clickButton(*dialog, "ButtonVisualizza");
  EXPECT_EQ(prompter_.texts(), QStringList{});
  QList<QVariantList> rows = chartRows();
  ASSERT_EQ(rows.size(), 100);
  EXPECT_EQ(rows[0], (QVariantList{"001.CLIENTE CON UN N", "QTA", 1.0}));
  EXPECT_EQ(rows[99][0], "100.CLIENTE CON UN N");
  EXPECT_EQ(dialog->tabellaGrafico().name(), "GRAFTMP.DB");

  // Ordina: the labels as they are, cut.
  dialog->RadioGroup4()->setItemIndex(1);
  clickButton(*dialog, "ButtonVisualizza");
  rows = chartRows();
  ASSERT_EQ(rows.size(), 100);
  EXPECT_EQ(rows[6][0], "CLIENTE CON UN NOME ");
  ASSERT_EQ(dialog->engine().windows().size(), 2);
  platform::crystal::ChartWindow* window = dialog->engine().windows().back();
  EXPECT_EQ(window->windowTitle(), "STAMPA GRAFICO");
  EXPECT_EQ(window->parentWidget(), dialog.get());
  EXPECT_EQ(window->content().texts.title, "Senza titolo ");
  EXPECT_EQ(window->content().texts.xAxis, "Asse X: CLIENTE");
  EXPECT_EQ(window->content().points.categories.size(), 1) << "cut labels meet as one";
}

TEST_F(GraficoFormTest, AThousandRowsGetFourDigitsAndEverySeriesItsPass) {
  sales(1000);
  auto dialog = form(bin());
  choose(*dialog, "N", "QTA");
  dialog->RadioGroup4()->setItemIndex(0);
  clickButton(*dialog, "ButtonCampiValoriAggiunti");
  dialog->ListBox2()->findItems("IMPORTO", Qt::MatchExactly).front()->setSelected(true);
  clickButton(*dialog, "ButtonOk");
  dialog->RadioGroup2()->setItemIndex(2);  // In pila
  const int current = answer_->currentRow();
  clickButton(*dialog, "ButtonVisualizza");
  EXPECT_EQ(prompter_.texts(), QStringList{});
  const QList<QVariantList> rows = chartRows();
  ASSERT_EQ(rows.size(), 2000);
  EXPECT_EQ(rows[0][0], "0001.1");
  EXPECT_EQ(rows[999][0], "1000.1000");
  EXPECT_EQ(rows[1000], (QVariantList{"0001.1", "IMPORTO", 1.5}));
  EXPECT_EQ(answer_->currentRow(), current) << "the answer's current row stays";
  EXPECT_EQ(answer_->rowCount(), 1000);
}

TEST_F(GraficoFormTest, ABusyChartTableGivesWayToTheNextNameWhichGoesWithTheDialog) {
  sales(5);
  // Another user holds GRAFTMP.DB.
  QDir().mkpath(chartDir());
  LocalTable held(core::storedPath(chartDir()), "GRAFTMP.DB");
  held.setColumns({{"Descrizione1", platform::localstore::ColumnType::Text, 20}});
  ASSERT_TRUE(held.create());
  ASSERT_TRUE(held.open(LocalTable::Access::Exclusive));
  {
    auto dialog = form(bin());
    choose(*dialog, "CLIENTE", "IMPORTO", 4);
    clickButton(*dialog, "ButtonVisualizza");
    EXPECT_EQ(prompter_.texts(), QStringList{});
    EXPECT_EQ(dialog->tabellaGrafico().name(), "GRAFT01.DB");
    EXPECT_EQ(chartRows("GRAFT01.DB").size(), 5);
    EXPECT_EQ(dialog->engine().windows().size(), 1);
    clickButton(*dialog, "ButtonChiudi");
    EXPECT_FALSE(QFile::exists(chartDir() + "/GRAFT01.DB"));
  }
  EXPECT_TRUE(QFile::exists(chartDir() + "/GRAFTMP.DB"));
  EXPECT_EQ(held.rowCount(), 0);
}

TEST_F(GraficoFormTest, AMissingReportIsToldAndTheTableStaysFilled) {
  sales(4);
  auto dialog = form(core::storedPath(work_.path()) + "\\bin\\");
  choose(*dialog, "CLIENTE", "QTA");
  clickButton(*dialog, "ButtonVisualizza");
  EXPECT_EQ(prompter_.texts(), QStringList{kReportNonAperto});
  EXPECT_EQ(chartRows().size(), 4);
  EXPECT_TRUE(dialog->engine().windows().isEmpty());
}

TEST_F(GraficoFormTest, AValueThatIsNoNumberIsToldOnceAndNothingIsKept) {
  db::MemTable answer;
  answer.addField("CLIENTE", db::FieldType::String, 20);
  answer.addField("QTA", db::FieldType::Float);
  answer.open();
  for (const QVariant& value : {QVariant(1.5), QVariant(), QVariant("abc"), QVariant("x")}) {
    answer.append();
    answer.setValue("CLIENTE", "ROSSI");
    answer.setValue("QTA", value);
    answer.post();
  }
  // A first run leaves points behind.
  {
    sales(2);
    TGraficoForm dialog(nullptr, "DEMO", bin(), work(), *answer_);
    choose(dialog, "CLIENTE", "QTA");
    clickButton(dialog, "ButtonVisualizza");
    ASSERT_EQ(chartRows().size(), 2);
  }
  TGraficoForm dialog(nullptr, "DEMO", bin(), work(), answer);
  choose(dialog, "CLIENTE", "QTA");
  clickButton(dialog, "ButtonVisualizza");
  EXPECT_EQ(prompter_.texts(),
            QStringList{"Il valore \"abc\" del campo QTA alla riga 3 non è un numero: il grafico "
                        "non è stato creato"});
  EXPECT_EQ(chartRows().size(), 0);
  EXPECT_TRUE(dialog.engine().windows().isEmpty());
}

TEST_F(GraficoFormTest, TheResultViewOpensTheDialogInTheDesignersFont) {
  sales(2);
  TIBLQueryForm designer(*database_, *transaction_,
                         DesignerSettings{"VENDITE", bin(), work(), 0, "DEMO"});
  designer.show();
  designer.ButtonEseguiClick();
  ASSERT_TRUE(designer.inResultView());
  QFont seen;
  prompter_.script([&](QDialog& dialog) {
    seen = dialog.font();
    EXPECT_EQ(control<QComboBox>(dialog, "EditDescrizione1")->count(), 6);
    return clickButton(dialog, "ButtonChiudi");
  });
  clickButton(designer, "ButtonGrafico");
  EXPECT_EQ(prompter_.dialogs(), QStringList{"Elaborazione grafici"});
  EXPECT_EQ(seen, designer.font());
}
