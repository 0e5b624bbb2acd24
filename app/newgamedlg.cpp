#include "newgamedlg.h"

#include "filedialogs.h"
#include "ui_newgamedlg.h"

NewGameDlg::NewGameDlg(QWidget *parent) : QDialog(parent), ui(new Ui_NewGameDlg)
{
    ui->setupUi(this);
    connect(ui->basenameLE, &QLineEdit::textChanged, this, &NewGameDlg::textChangedSlot);
    connect(ui->pathLE, &QLineEdit::textChanged, this, &NewGameDlg::textChangedSlot);
    connect(ui->openPathPB, &QPushButton::clicked, this, &NewGameDlg::openPathSlot);
    connect(ui->okPB, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->cancelPB, &QPushButton::clicked, this, &QDialog::close);
}

NewGameDlg::~NewGameDlg()
{
    delete ui;
}

QString NewGameDlg::getContestName() const
{
    return ui->basenameLE->text();
}

QString NewGameDlg::getHomePath() const
{
    return ui->pathLE->text();
}

void NewGameDlg::openPathSlot()
{
    ui->pathLE->setText(FileDialogs::getExistingDirectory(
        this, QStringLiteral("Choose a directory"), FileDialogs::startDirectory()));
}

void NewGameDlg::textChangedSlot()
{
    const bool ready = !ui->basenameLE->text().isEmpty() && !ui->pathLE->text().isEmpty();
    ui->okPB->setEnabled(ready);
    ui->okPB->setStyleSheet(ready ? QStringLiteral("color:rgb(78, 154, 6)")
                                  : QStringLiteral("color:rgb(186, 189, 182)"));
}
