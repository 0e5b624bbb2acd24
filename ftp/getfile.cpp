#include "getfile.h"

#include "csetupinfo.h"
#include "getbyftp.h"
#include "ui_getfile.h"

#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include <cstdio>

GetFile::GetFile(CSetupInfo *setupInfo, QWidget *parent)
    : QDialog(parent), ui(new Ui::GetFile), ftp(new GetByFTP), setup(setupInfo)
{
    ui->setupUi(this);
    connect(ui->serverLE, &QLineEdit::textChanged, this, &GetFile::serverSlot);
    connect(ui->portLE, &QLineEdit::textChanged, this, &GetFile::portSlot);
    connect(ui->nameLE, &QLineEdit::textChanged, this, &GetFile::nameSlot);
    connect(ui->passwdLE, &QLineEdit::textChanged, this, &GetFile::passwdSlot);
    connect(ui->dirLE, &QLineEdit::textChanged, this, &GetFile::dirSlot);
    connect(ui->getPB, &QPushButton::clicked, this, &GetFile::getSlot);
    connect(ui->cancelPB, &QPushButton::clicked, this, &QDialog::close);
}

GetFile::~GetFile() = default;

void GetFile::serverSlot(const QString &text)
{
    ftp->setServer(text);
}
void GetFile::portSlot(const QString &text)
{
    ftp->setPort(text);
}
void GetFile::nameSlot(const QString &text)
{
    ftp->setName(text);
}
void GetFile::passwdSlot(const QString &text)
{
    ftp->setPass(text);
}
void GetFile::dirSlot(const QString &text)
{
    ftp->setDir(text);
}

// The download runs into <home>/players by absolute paths, so the process's current directory,
// which the evaluation relies on, is never changed.
void GetFile::getSlot()
{
    std::fputs("in getslot\n", stdout);
    std::fflush(stdout);
    const QString players = setup->getHome() + QStringLiteral("/players");
    bool ok = false;
    if (QFileInfo(players).isDir()) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        ok = ftp->getDir(players) == 1;
        QApplication::restoreOverrideCursor();
    } else {
        std::printf("no players directory %s\n", QFile::encodeName(players).constData());
        std::fflush(stdout);
    }
    if (ok)
        report(QStringLiteral("成功"), QStringLiteral("下载成功"));
    else
        report(QStringLiteral("失败"), QStringLiteral("下载失败,请检查配置信息"));
}

void GetFile::report(const QString &title, const QString &text)
{
    QMessageBox::information(this, title, text, QMessageBox::Ok);
}
