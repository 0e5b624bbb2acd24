#include "selectdlg.h"

#include "ui_selectdlg.h"

SelectDlg::SelectDlg(QWidget *parent) : QDialog(parent), ui(new Ui_SelectDlg)
{
    ui->setupUi(this);
    connect(ui->okPB, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->cancelPB, &QPushButton::clicked, this, &QDialog::reject);
}

SelectDlg::~SelectDlg()
{
    delete ui;
}

void SelectDlg::setTips(QString text)
{
    ui->textL->setText(text);
}

int SelectDlg::getSelectIndex()
{
    return ui->selectCB->currentIndex() - 1;
}

void SelectDlg::addItem(QString text)
{
    ui->selectCB->addItem(text);
}
