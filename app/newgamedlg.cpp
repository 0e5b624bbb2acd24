#include "newgamedlg.h"

#include "filedialogs.h"
#include "ui_newgamedlg.h"

#include <QFileInfo>

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

// Starts in the typed directory when it exists; cancelling keeps what was typed.
void NewGameDlg::openPathSlot()
{
    const QString typed = ui->pathLE->text();
    const QString start =
        !typed.isEmpty() && QFileInfo(typed).isDir() ? typed : FileDialogs::startDirectory();
    const QString chosen =
        FileDialogs::getExistingDirectory(this, QStringLiteral("Choose a directory"), start);
    if (!chosen.isEmpty())
        ui->pathLE->setText(chosen);
}

void NewGameDlg::textChangedSlot()
{
    const bool ready = !ui->basenameLE->text().isEmpty() && !ui->pathLE->text().isEmpty();
    ui->okPB->setEnabled(ready);
    ui->okPB->setStyleSheet(ready ? QStringLiteral("color:rgb(78, 154, 6)")
                                  : QStringLiteral("color:rgb(186, 189, 182)"));
}
