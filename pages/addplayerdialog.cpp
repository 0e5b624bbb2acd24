#include "addplayerdialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace
{

const QString disabledStyle = QStringLiteral("color:rgb(186, 189, 182)");
const QString enabledStyle = QStringLiteral("color:rgb(78, 154, 6)");

QLineEdit *makeLineEdit(QWidget *parent, const char *name)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    return edit;
}

QPushButton *makeButton(QWidget *parent, const char *name, const QString &text,
                        const QString &style)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setStyleSheet(style);
    return button;
}

} // namespace

AddPlayerDialog::AddPlayerDialog(QWidget *parent)
    : QDialog(parent), nameLE(makeLineEdit(this, "nameLE")), idLE(makeLineEdit(this, "idLE")),
      okPB(makeButton(this, "okPB", QStringLiteral("确定"), disabledStyle)),
      cancelPB(makeButton(this, "cancelPB", QStringLiteral("取消"),
                          QStringLiteral("color:rgb(239, 41, 41)")))
{
    setWindowTitle(QStringLiteral("增加选手"));
    auto *layout = new QGridLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("姓名"), this), 0, 0);
    layout->addWidget(nameLE, 0, 1);
    layout->addWidget(new QLabel(QStringLiteral("编号"), this), 1, 0);
    layout->addWidget(idLE, 1, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okPB);
    buttons->addWidget(cancelPB);
    layout->addLayout(buttons, 2, 0, 1, 2);
    okPB->setEnabled(false);
    okPB->setDefault(true);
    connect(okPB, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelPB, &QPushButton::clicked, this, &QDialog::reject);
    connect(nameLE, &QLineEdit::textChanged, this, &AddPlayerDialog::textChangedSlot);
    connect(idLE, &QLineEdit::textChanged, this, &AddPlayerDialog::textChangedSlot);
}

QString AddPlayerDialog::getPlayerName() const
{
    return nameLE->text();
}

QString AddPlayerDialog::getPalyerId() const
{
    return idLE->text();
}

void AddPlayerDialog::textChangedSlot()
{
    const bool complete = !nameLE->text().isEmpty() && !idLE->text().isEmpty();
    okPB->setEnabled(complete);
    okPB->setStyleSheet(complete ? enabledStyle : disabledStyle);
}
