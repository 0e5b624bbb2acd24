#include "cfileissuedlg.h"

#include "ui_cfileissuedlg.h"

CFileIssueDlg::CFileIssueDlg(QWidget *parent) : QDialog(parent), ui(new Ui_CFileIssueDlg)
{
    ui->setupUi(this);
    connect(ui->okPB, &QPushButton::clicked, this, &CFileIssueDlg::okSlot);
}

CFileIssueDlg::~CFileIssueDlg()
{
    delete ui;
}

void CFileIssueDlg::wait()
{
    exec();
}

void CFileIssueDlg::setProgress(int value)
{
    ui->ppbProgress->setValue(value);
}

void CFileIssueDlg::setProgressRange(int min, int max)
{
    ui->ppbProgress->setRange(min, max);
}

void CFileIssueDlg::setProgressText(QString text)
{
    ui->pProgressText->setText(text);
}

void CFileIssueDlg::okSlot()
{
    close();
}
