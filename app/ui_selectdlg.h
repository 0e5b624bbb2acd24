#ifndef TALDON_APP_UI_SELECTDLG_H
#define TALDON_APP_UI_SELECTDLG_H

#include <QComboBox>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

// The widget tree of the pick-one dialog, written by hand.
class Ui_SelectDlg
{
public:
    QLabel *textL;
    QComboBox *selectCB;
    QPushButton *okPB;
    QPushButton *cancelPB;

    void setupUi(QDialog *dialog)
    {
        dialog->setObjectName(QStringLiteral("SelectDlg"));
        dialog->setWindowTitle(QStringLiteral("选择框"));
        dialog->setMaximumSize(300, 150);
        auto *layout = new QVBoxLayout(dialog);

        textL = new QLabel(QStringLiteral("请选择"), dialog);
        textL->setObjectName(QStringLiteral("textL"));
        selectCB = new QComboBox(dialog);
        selectCB->setObjectName(QStringLiteral("selectCB"));
        auto *choice = new QHBoxLayout;
        choice->addWidget(textL);
        choice->addWidget(selectCB, 1);
        layout->addLayout(choice);

        okPB = new QPushButton(QStringLiteral("确定"), dialog);
        okPB->setObjectName(QStringLiteral("okPB"));
        cancelPB = new QPushButton(QStringLiteral("取消"), dialog);
        cancelPB->setObjectName(QStringLiteral("cancelPB"));
        auto *buttons = new QHBoxLayout;
        buttons->addStretch();
        buttons->addWidget(okPB);
        buttons->addWidget(cancelPB);
        layout->addLayout(buttons);
    }
};

#endif
