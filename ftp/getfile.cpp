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

namespace
{

// Enough lines to see what went wrong without a box taller than the screen.
constexpr int ShownFailures = 20;

QString failureLines(const QByteArray &text)
{
    QStringList lines = QString::fromUtf8(text).split('\n', Qt::SkipEmptyParts);
    const int all = lines.size();
    if (all > ShownFailures) {
        lines = lines.mid(0, ShownFailures);
        lines << QStringLiteral("……(共 %1 条)").arg(all);
    }
    return lines.join('\n');
}

} // namespace

// The download runs into <home>/players by absolute paths, so the process's current directory,
// which the evaluation relies on, is never changed. A failure shows the client's own reasons:
// the entries that did not arrive once the directory was reached, else what stopped the
// session (with the hint about the settings, which are then the likely cause).
void GetFile::getSlot()
{
    std::fputs("in getslot\n", stdout);
    std::fflush(stdout);
    const QString players = setup->getHome() + QStringLiteral("/players");
    if (!QFileInfo(players).isDir()) {
        report(QStringLiteral("失败"),
               QStringLiteral("下载失败:比赛目录下没有 players 目录\n") + players);
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool ok = ftp->getDir(players) == 1;
    QApplication::restoreOverrideCursor();
    const QString reasons = failureLines(ftp->failureText());
    if (ok)
        report(QStringLiteral("成功"), QStringLiteral("下载成功"));
    else if (ftp->reachedDirectory())
        report(QStringLiteral("失败"), QStringLiteral("下载失败,以下内容未能下载:\n") + reasons);
    else
        report(QStringLiteral("失败"), QStringLiteral("下载失败,请检查配置信息\n") + reasons);
}

void GetFile::report(const QString &title, const QString &text)
{
    QMessageBox::information(this, title, text, QMessageBox::Ok);
}
