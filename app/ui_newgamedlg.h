#ifndef TALDON_APP_UI_NEWGAMEDLG_H
#define TALDON_APP_UI_NEWGAMEDLG_H

#include <QDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

// The widget tree of the New Contest dialog, written by hand.
class Ui_NewGameDlg
{
public:
    QLabel *basenameL;
    QLineEdit *basenameLE;
    QLabel *pathL;
    QLineEdit *pathLE;
    QPushButton *openPathPB;
    QPushButton *okPB;
    QPushButton *cancelPB;

    void setupUi(QDialog *dialog)
    {
        dialog->setObjectName(QStringLiteral("NewGameDlg"));
        dialog->setWindowTitle(QStringLiteral("新建比赛"));
        dialog->resize(310, 190);
        const QString labelStyle = QStringLiteral("color:rgb(20,20,240)");
        auto *grid = new QGridLayout(dialog);

        basenameL = new QLabel(QStringLiteral("比赛名称"), dialog);
        basenameL->setStyleSheet(labelStyle);
        basenameLE = new QLineEdit(QStringLiteral("程序设计竞赛"), dialog);
        basenameLE->setObjectName(QStringLiteral("basenameLE"));
        grid->addWidget(basenameL, 0, 0);
        grid->addWidget(basenameLE, 0, 1, 1, 2);

        pathL = new QLabel(QStringLiteral("存储目录"), dialog);
        pathL->setStyleSheet(labelStyle);
        pathLE = new QLineEdit(dialog);
        pathLE->setObjectName(QStringLiteral("pathLE"));
        openPathPB = new QPushButton(QStringLiteral("浏览"), dialog);
        openPathPB->setObjectName(QStringLiteral("openPathPB"));
        // Return accepts through OK alone, and does nothing while OK is disabled: an auto-default
        // 浏览 became the default while OK was disabled.
        openPathPB->setAutoDefault(false);
        grid->addWidget(pathL, 1, 0);
        grid->addWidget(pathLE, 1, 1);
        grid->addWidget(openPathPB, 1, 2);

        okPB = new QPushButton(QStringLiteral("确定"), dialog);
        okPB->setObjectName(QStringLiteral("okPB"));
        okPB->setDefault(true);
        okPB->setEnabled(false);
        cancelPB = new QPushButton(QStringLiteral("取消"), dialog);
        cancelPB->setObjectName(QStringLiteral("cancelPB"));
        cancelPB->setStyleSheet(QStringLiteral("color:rgb(239, 41, 41)"));
        cancelPB->setAutoDefault(false);
        auto *buttons = new QHBoxLayout;
        buttons->addStretch();
        buttons->addWidget(okPB);
        buttons->addWidget(cancelPB);
        grid->addLayout(buttons, 2, 0, 1, 3);
    }
};

#endif
