#ifndef TALDON_APP_UI_CFILEISSUEDLG_H
#define TALDON_APP_UI_CFILEISSUEDLG_H

#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

// The widget tree of the progress dialog, written by hand.
class Ui_CFileIssueDlg
{
public:
    QLabel *textLabel1;
    QProgressBar *ppbProgress;
    QLabel *pProgressText;
    QPushButton *okPB;

    void setupUi(QDialog *dialog)
    {
        dialog->setObjectName(QStringLiteral("CFileIssueDlg"));
        dialog->setWindowTitle(QStringLiteral("进度条"));
        dialog->setFixedSize(600, 75);
        auto *layout = new QVBoxLayout(dialog);
        layout->setContentsMargins(6, 4, 6, 4);

        textLabel1 = new QLabel(QStringLiteral("Progress:"), dialog);
        textLabel1->setObjectName(QStringLiteral("textLabel1"));
        ppbProgress = new QProgressBar(dialog);
        ppbProgress->setObjectName(QStringLiteral("ppbProgress"));
        auto *bar = new QHBoxLayout;
        bar->addWidget(textLabel1);
        bar->addWidget(ppbProgress, 1);
        layout->addLayout(bar);

        pProgressText = new QLabel(QStringLiteral("Idle..."), dialog);
        pProgressText->setObjectName(QStringLiteral("pProgressText"));
        okPB = new QPushButton(QStringLiteral("确定"), dialog);
        okPB->setObjectName(QStringLiteral("okPB"));
        okPB->setStyleSheet(QStringLiteral("#okPB{\n\tcolor:rgb(78, 154, 6)\n}"));
        auto *status = new QHBoxLayout;
        status->addWidget(pProgressText, 1);
        status->addWidget(okPB);
        layout->addLayout(status);
    }
};

#endif
