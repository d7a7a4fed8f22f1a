#include "query/designer/IBFQuerForm.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TIBFQuerForm::TIBFQuerForm(const QStringList& lines, QWidget* parent)
    : QDialog(parent),
      memo_(new QPlainTextEdit(this)),
      ok_(new QPushButton(QStringLiteral("Ok"), this)) {
  setObjectName(QStringLiteral("IBFQuerForm"));
  setWindowTitle(QStringLiteral("Form di appoggio per funzioni query"));
  memo_->setObjectName(QStringLiteral("MemoPerClipboard"));
  memo_->setLineWrapMode(QPlainTextEdit::NoWrap);
  memo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memo_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memo_->setPlainText(lines.join('\n'));
  ok_->setObjectName(QStringLiteral("ButtonOk"));
  ok_->setDefault(true);
  connect(ok_, &QPushButton::clicked, this, &TIBFQuerForm::ButtonOkClick);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(memo_);
  layout->addLayout(buttons);
  resize(640, 400);
}

void TIBFQuerForm::ButtonOkClick() {
  memo_->selectAll();
  QGuiApplication::clipboard()->setText(memo_->toPlainText());
  accept();
}
