#ifndef TALDON_PAGES_UI_EVALPAGE_H
#define TALDON_PAGES_UI_EVALPAGE_H

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QWidget>

// The widgets of the evaluation tab: the player list with its buttons and search row, the
// player table and the evaluation controls below it. Written by hand, not by uic.
class Ui_EvalPage
{
public:
    QLabel *textLabel4_2;
    QPushButton *addplayerPB;
    QPushButton *importplayerPB;
    QPushButton *exportplayerPB;
    QPushButton *delplayerPB;
    QPushButton *downdirPB;
    QPushButton *showallPB;
    QPushButton *mselectallPB;
    QComboBox *findCB;
    QLabel *textLabel1_5;
    QLineEdit *findLE;
    QPushButton *findPB;
    QTableWidget *manageTB;
    // Space in the table ticks or unticks the current player.
    QShortcut *tickSC;
    QSpinBox *evaldaySB;
    QSpinBox *evaljobsSB;
    QProgressBar *evalB;
    QLabel *fevalTL;
    QLabel *tevalTL;
    QPushButton *evalselectedPB;
    QLabel *failuresTL;

    void setupUi(QWidget *tab)
    {
        auto *layout = new QVBoxLayout(tab);
        layout->setContentsMargins(6, 6, 6, 6);
        layout->addLayout(setupButtonRow(tab));
        layout->addLayout(setupFindRow(tab));
        setupTable(tab);
        layout->addWidget(manageTB);
        // The failed evaluations of the day shown, by task and cause; hidden while there are none.
        failuresTL = makeLabel(tab, "failuresTL", QString());
        failuresTL->setStyleSheet(QStringLiteral("color:rgb(204, 0, 0)"));
        failuresTL->setWordWrap(true);
        failuresTL->hide();
        layout->addWidget(failuresTL);
        layout->addLayout(setupEvalRow(tab));
    }

private:
    static QPushButton *makeButton(QWidget *tab, const char *name, const QString &text)
    {
        auto *button = new QPushButton(text, tab);
        button->setObjectName(QString::fromLatin1(name));
        return button;
    }

    static QLabel *makeLabel(QWidget *tab, const char *name, const QString &text)
    {
        auto *label = new QLabel(text, tab);
        label->setObjectName(QString::fromLatin1(name));
        return label;
    }

    QHBoxLayout *setupButtonRow(QWidget *tab)
    {
        auto *row = new QHBoxLayout;
        textLabel4_2 = makeLabel(tab, "textLabel4_2", QStringLiteral("选手列表:"));
        addplayerPB = makeButton(tab, "addplayerPB", QStringLiteral("添加选手"));
        importplayerPB = makeButton(tab, "importplayerPB", QStringLiteral("导入名单"));
        exportplayerPB = makeButton(tab, "exportplayerPB", QStringLiteral("导出名单"));
        delplayerPB = makeButton(tab, "delplayerPB", QStringLiteral("删除选手"));
        downdirPB = makeButton(tab, "downdirPB", QStringLiteral("下载目录"));
        row->addWidget(textLabel4_2);
        row->addStretch();
        for (QPushButton *button :
             {addplayerPB, importplayerPB, exportplayerPB, delplayerPB, downdirPB})
            row->addWidget(button);
        return row;
    }

    QHBoxLayout *setupFindRow(QWidget *tab)
    {
        auto *row = new QHBoxLayout;
        findCB = new QComboBox(tab);
        findCB->setObjectName(QStringLiteral("findCB"));
        findCB->addItems({QStringLiteral("姓名"), QStringLiteral("所属"), QStringLiteral("编号")});
        textLabel1_5 = makeLabel(tab, "textLabel1_5", QStringLiteral("列中含"));
        findLE = new QLineEdit(tab);
        findLE->setObjectName(QStringLiteral("findLE"));
        findPB = makeButton(tab, "findPB", QString());
        findPB->setIcon(QIcon(QStringLiteral(":/find.png")));
        findPB->setToolTip(QStringLiteral("查找选手"));
        showallPB = makeButton(tab, "showallPB", QStringLiteral("显示全部"));
        mselectallPB = makeButton(tab, "mselectallPB", QStringLiteral("全选"));
        row->addWidget(findCB);
        row->addWidget(textLabel1_5);
        row->addWidget(findLE, 1);
        row->addWidget(findPB);
        row->addWidget(showallPB);
        row->addWidget(mselectallPB);
        return row;
    }

    void setupTable(QWidget *tab)
    {
        manageTB = new QTableWidget(0, 5, tab);
        manageTB->setObjectName(QStringLiteral("manageTB"));
        manageTB->setHorizontalHeaderLabels({QStringLiteral("姓名"), QStringLiteral("所属"),
                                             QStringLiteral("编号"), QStringLiteral("评测状态"),
                                             QStringLiteral("总分")});
        manageTB->setToolTip(QStringLiteral("双击查看选手源代码"));
        manageTB->setEditTriggers(QAbstractItemView::NoEditTriggers);
        manageTB->setSelectionBehavior(QAbstractItemView::SelectRows);
        manageTB->setSelectionMode(QAbstractItemView::SingleSelection);
        // Rows stay in registry order until the user sorts by a column.
        manageTB->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
        manageTB->setSortingEnabled(true);
        tickSC = new QShortcut(QKeySequence(Qt::Key_Space), manageTB);
        tickSC->setObjectName(QStringLiteral("tickSC"));
        tickSC->setContext(Qt::WidgetShortcut);
    }

    QHBoxLayout *setupEvalRow(QWidget *tab)
    {
        auto *row = new QHBoxLayout;
        evaldaySB = new QSpinBox(tab);
        evaldaySB->setObjectName(QStringLiteral("evaldaySB"));
        evaldaySB->setRange(0, 0);
        evalB = new QProgressBar(tab);
        evalB->setObjectName(QStringLiteral("evalB"));
        evalB->setRange(0, 1);
        evalB->setValue(0);
        fevalTL = makeLabel(tab, "fevalTL", QStringLiteral("0"));
        tevalTL = makeLabel(tab, "tevalTL", QStringLiteral("0"));
        evalselectedPB = makeButton(tab, "evalselectedPB", QStringLiteral("评测选定选手"));
        // How many players are evaluated at once, each by a worker process on a core of its own.
        evaljobsSB = new QSpinBox(tab);
        evaljobsSB->setObjectName(QStringLiteral("evaljobsSB"));
        evaljobsSB->setRange(1, 1);
        evaljobsSB->setToolTip(QStringLiteral("同时评测的选手人数, 每人一个处理器核"));
        row->addWidget(makeLabel(tab, "evaldayTL", QStringLiteral("评测第")));
        row->addWidget(evaldaySB);
        row->addWidget(makeLabel(tab, "evaldayunitTL", QStringLiteral("场")));
        row->addSpacing(12);
        row->addWidget(makeLabel(tab, "fevaltextTL", QStringLiteral("已评测")));
        row->addWidget(fevalTL);
        row->addWidget(makeLabel(tab, "tevaltextTL", QStringLiteral("/")));
        row->addWidget(tevalTL);
        row->addWidget(evalB, 1);
        row->addWidget(makeLabel(tab, "evaljobsTL", QStringLiteral("同时评测")));
        row->addWidget(evaljobsSB);
        row->addWidget(makeLabel(tab, "evaljobsunitTL", QStringLiteral("人")));
        row->addWidget(evalselectedPB);
        return row;
    }
};

#endif
