#ifndef TALDON_PAGES_UI_VIEWRESULTDIALOG_H
#define TALDON_PAGES_UI_VIEWRESULTDIALOG_H

#include <QComboBox>
#include <QDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTextEdit>

// The widgets of the program viewer. Written by hand, not by uic.
class Ui_ViewResultDialog
{
public:
    QLineEdit *idTL;
    QComboBox *taskCB;
    QTextEdit *showTE;

    void setupUi(QDialog *dialog)
    {
        dialog->setObjectName(QStringLiteral("ViewResultDialog"));
        dialog->setWindowTitle(QStringLiteral("查看选手程序"));
        dialog->resize(600, 480);
        auto *layout = new QGridLayout(dialog);
        idTL = new QLineEdit(dialog);
        idTL->setObjectName(QStringLiteral("idTL"));
        taskCB = new QComboBox(dialog);
        taskCB->setObjectName(QStringLiteral("taskCB"));
        taskCB->setMinimumContentsLength(12);
        showTE = new QTextEdit(dialog);
        showTE->setObjectName(QStringLiteral("showTE"));
        showTE->setReadOnly(true);
        showTE->setLineWrapMode(QTextEdit::NoWrap);
        layout->addWidget(new QLabel(QStringLiteral("选手编号"), dialog), 0, 0);
        layout->addWidget(idTL, 0, 1);
        layout->addWidget(new QLabel(QStringLiteral("试题选择"), dialog), 0, 2);
        layout->addWidget(taskCB, 0, 3);
        layout->addWidget(showTE, 1, 0, 1, 4);
        layout->setColumnStretch(1, 1);
    }
};

#endif
