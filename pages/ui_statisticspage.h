#ifndef TALDON_PAGES_UI_STATISTICSPAGE_H
#define TALDON_PAGES_UI_STATISTICSPAGE_H

#include "regiontable.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStringList>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QWidget>

// The widget tree of the statistics tab: a tab widget with its tabs on the left holding the
// overall results, the team table, the task statistics and the award levels. Written by hand
// (the taldon_gui target has AUTOUIC off); set up once into the tab the shell made for it.
class Ui_StatisticsPage
{
public:
    QTabWidget *statWS;

    QWidget *totalpage;
    QLabel *textLabel1_7;
    QLabel *textLabel2;
    QLineEdit *rangefromLE;
    QLabel *textLabel3_3;
    QLineEdit *rangetoLE;
    QLabel *textLabel4_3;
    QPushButton *rangeaddPB;
    QPushButton *rangedelPB;
    QTableWidget *rangeLV;
    QLabel *label;
    QTableWidget *playersinfoTB;
    QPushButton *exportResultPB;
    QPushButton *importWrittenPB;
    QPushButton *printselectedPB;
    QPushButton *printfinal_sPB;

    QWidget *teampage;
    QLabel *textLabel6;
    QSpinBox *teamSP;
    QLabel *textLabel7;
    QLabel *textLabel1;
    QPushButton *teamstatPB;
    QTableWidget *teamTB;
    QPushButton *exportteamPB;
    QPushButton *printteamPB;

    QWidget *taskpage;
    QLabel *textLabel1_9_2;
    QComboBox *stattaskCB;
    QLabel *textLabel1_9;
    QLabel *taskmaxTL;
    QLabel *textLabel1_9_3;
    QLabel *taskminTL;
    QLabel *textLabel2_8;
    QLabel *taskequalTL;
    QTableWidget *sampleTB;

    QWidget *levelpage;
    QLabel *textLabel1_4;
    QLabel *textLabel5;
    QLabel *textLabel6_2;
    QLabel *textLabel7_2;
    QLabel *level1PL;
    QLabel *level2PL;
    QLabel *level3PL;
    QLabel *textLabel3_2;
    QLineEdit *level1LE;
    QLineEdit *level2LE;
    QLineEdit *level3LE;
    QLabel *textLabel4;
    QLabel *level1TL;
    QLabel *level2TL;
    QLabel *level3TL;
    QLabel *textLabel5_2;
    QLabel *gradetotalTL;
    QPushButton *gradestatPB;
    QTableWidget *levelTB;

    void setupUi(QWidget *tab)
    {
        auto *layout = new QVBoxLayout(tab);
        layout->setContentsMargins(2, 2, 2, 2);
        statWS = new QTabWidget(tab);
        statWS->setObjectName(QStringLiteral("statWS"));
        statWS->setTabPosition(QTabWidget::West);
        layout->addWidget(statWS);
        setupTotalPage();
        setupTeamPage();
        setupTaskPage();
        setupLevelPage();
        statWS->setCurrentIndex(0);
    }

private:
    template <class W> static W *make(QWidget *parent, const char *name)
    {
        auto *widget = new W(parent);
        widget->setObjectName(QString::fromLatin1(name));
        return widget;
    }

    static QLabel *makeLabel(QWidget *parent, const char *name, const QString &text)
    {
        auto *label = make<QLabel>(parent, name);
        label->setText(text);
        return label;
    }

    static QLabel *makeValue(QWidget *parent, const char *name)
    {
        auto *value = makeLabel(parent, name, QStringLiteral("0"));
        value->setAlignment(Qt::AlignCenter);
        value->setMinimumWidth(50);
        return value;
    }

    static QPushButton *makeButton(QWidget *parent, const char *name, const QString &text)
    {
        auto *button = make<QPushButton>(parent, name);
        button->setText(text);
        return button;
    }

    // Read-only, whole rows selected, each column as wide as its widest text, so that ids and
    // ranges are never elided. A sortable table starts
    // without a sort column, so its rows stay in the order they were written until the user
    // clicks a header.
    static QTableWidget *makeTable(QWidget *parent, const char *name, const QStringList &headers,
                                   bool sortable)
    {
        auto *table = make<QTableWidget>(parent, name);
        table->setColumnCount(headers.size());
        table->setHorizontalHeaderLabels(headers);
        table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
        table->setEditTriggers(QAbstractItemView::NoEditTriggers);
        table->setSelectionBehavior(QAbstractItemView::SelectRows);
        table->setSelectionMode(QAbstractItemView::SingleSelection);
        if (sortable) {
            table->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
            table->setSortingEnabled(true);
        }
        return table;
    }

    static QWidget *makePage(QTabWidget *tabs, const char *name, const QString &title)
    {
        auto *page = make<QWidget>(tabs, name);
        tabs->addTab(page, title);
        return page;
    }

    static QHBoxLayout *buttonRow(std::initializer_list<QWidget *> buttons)
    {
        auto *row = new QHBoxLayout;
        row->addStretch();
        for (QWidget *button : buttons)
            row->addWidget(button);
        return row;
    }

    void setupTotalPage()
    {
        totalpage = makePage(statWS, "totalpage", QStringLiteral("总体统计"));
        textLabel1_7 =
            makeLabel(totalpage, "textLabel1_7", QStringLiteral("设定分数段( 高分 --> 低分 )"));
        textLabel2 = makeLabel(totalpage, "textLabel2", QStringLiteral("从"));
        rangefromLE = make<QLineEdit>(totalpage, "rangefromLE");
        textLabel3_3 = makeLabel(totalpage, "textLabel3_3", QStringLiteral("分  至"));
        rangetoLE = make<QLineEdit>(totalpage, "rangetoLE");
        textLabel4_3 = makeLabel(totalpage, "textLabel4_3", QStringLiteral("分"));
        rangeaddPB = makeButton(totalpage, "rangeaddPB", QStringLiteral("添加"));
        rangedelPB = makeButton(totalpage, "rangedelPB", QStringLiteral("删除"));
        rangefromLE->setMaximumWidth(60);
        rangetoLE->setMaximumWidth(60);
        rangeLV = makeTable(totalpage, "rangeLV",
                            {QStringLiteral("分数段"), QStringLiteral("人数")}, false);
        rangeLV->setFixedWidth(190);
        label = makeLabel(totalpage, "label", QStringLiteral("选手成绩"));
        playersinfoTB =
            makeTable(totalpage, "playersinfoTB",
                      {QStringLiteral("编号"), QStringLiteral("姓名"), QStringLiteral("基本分"),
                       QStringLiteral("笔试分"), QStringLiteral("总分")},
                      true);
        exportResultPB = makeButton(totalpage, "exportResultPB", QStringLiteral("导出成绩"));
        importWrittenPB = makeButton(totalpage, "importWrittenPB", QStringLiteral("导入笔试成绩"));
        printselectedPB = makeButton(totalpage, "printselectedPB", QStringLiteral("打印选手成绩"));
        printfinal_sPB = makeButton(totalpage, "printfinal_sPB", QStringLiteral("打印总成绩"));

        auto *ranges = new QHBoxLayout;
        for (QWidget *widget : QList<QWidget *>{textLabel2, rangefromLE, textLabel3_3, rangetoLE,
                                                textLabel4_3, rangeaddPB, rangedelPB})
            ranges->addWidget(widget);
        ranges->addStretch();
        auto *grid = new QGridLayout(totalpage);
        grid->addWidget(textLabel1_7, 0, 0);
        grid->addLayout(ranges, 1, 0, 1, 2);
        grid->addWidget(rangeLV, 2, 0, 2, 1);
        grid->addWidget(label, 2, 1);
        grid->addWidget(playersinfoTB, 3, 1);
        grid->addLayout(
            buttonRow({importWrittenPB, exportResultPB, printselectedPB, printfinal_sPB}), 4, 0, 1,
            2);
    }

    void setupTeamPage()
    {
        teampage = makePage(statWS, "teampage", QStringLiteral("分组统计"));
        textLabel6 = makeLabel(teampage, "textLabel6", QStringLiteral("每队取得分最高的"));
        teamSP = make<QSpinBox>(teampage, "teamSP");
        textLabel7 = makeLabel(teampage, "textLabel7", QStringLiteral("人"));
        textLabel1 = makeLabel(teampage, "textLabel1", QStringLiteral("统计结果"));
        teamstatPB = makeButton(teampage, "teamstatPB", QStringLiteral("统计"));
        teamTB = makeTable(teampage, "teamTB",
                           {QStringLiteral("队名"), QStringLiteral("总分"),
                            QStringLiteral("平均分"), QStringLiteral("最高分"),
                            QStringLiteral("最低分"), QStringLiteral("自定义统计")},
                           true);
        fillRegionRows();
        exportteamPB = makeButton(teampage, "exportteamPB", QStringLiteral("导出成绩表"));
        printteamPB = makeButton(teampage, "printteamPB", QStringLiteral("打印成绩表"));

        auto *top = new QHBoxLayout;
        top->addWidget(textLabel6);
        top->addWidget(teamSP);
        top->addWidget(textLabel7);
        top->addStretch();
        top->addWidget(teamstatPB);
        auto *page = new QVBoxLayout(teampage);
        page->addLayout(top);
        page->addWidget(textLabel1);
        page->addWidget(teamTB);
        page->addLayout(buttonRow({exportteamPB, printteamPB}));
    }

    // One row per region in the order of the region table; only cells change afterwards.
    void fillRegionRows()
    {
        const auto &regions = regionTable();
        teamTB->setSortingEnabled(false);
        teamTB->setRowCount(regions.size());
        for (int r = 0; r < regions.size(); ++r) {
            teamTB->setItem(r, 0, new QTableWidgetItem(regions[r].second));
            for (int c = 1; c < teamTB->columnCount(); ++c) {
                auto *zero = new QTableWidgetItem;
                if (c == 2)
                    zero->setText(QStringLiteral("0"));
                else
                    zero->setData(Qt::DisplayRole, 0);
                teamTB->setItem(r, c, zero);
            }
        }
        teamTB->setSortingEnabled(true);
    }

    void setupTaskPage()
    {
        taskpage = makePage(statWS, "taskpage", QStringLiteral("试题统计"));
        textLabel1_9_2 =
            makeLabel(taskpage, "textLabel1_9_2", QStringLiteral("测\n试\n点\n统\n计"));
        stattaskCB = make<QComboBox>(taskpage, "stattaskCB");
        stattaskCB->setMinimumWidth(120);
        textLabel1_9 = makeLabel(taskpage, "textLabel1_9", QStringLiteral("最高得分"));
        taskmaxTL = makeValue(taskpage, "taskmaxTL");
        textLabel1_9_3 = makeLabel(taskpage, "textLabel1_9_3", QStringLiteral("最低得分"));
        taskminTL = makeValue(taskpage, "taskminTL");
        textLabel2_8 = makeLabel(taskpage, "textLabel2_8", QStringLiteral("平均得分"));
        taskequalTL = makeValue(taskpage, "taskequalTL");
        sampleTB = makeTable(taskpage, "sampleTB",
                             {QStringLiteral("最高分"), QStringLiteral("平均分"),
                              QStringLiteral("平均用时"), QStringLiteral("解答最短用时"),
                              QStringLiteral("解答平均用时")},
                             true);

        auto *top = new QHBoxLayout;
        top->addWidget(stattaskCB);
        for (QLabel *pair :
             {textLabel1_9, taskmaxTL, textLabel1_9_3, taskminTL, textLabel2_8, taskequalTL})
            top->addWidget(pair);
        top->addStretch();
        auto *points = new QHBoxLayout;
        points->addWidget(textLabel1_9_2);
        points->addWidget(sampleTB);
        auto *page = new QVBoxLayout(taskpage);
        page->addLayout(top);
        page->addLayout(points);
    }

    static QLabel *makePicture(QWidget *parent, const char *name, const QString &style)
    {
        auto *picture = make<QLabel>(parent, name);
        picture->setScaledContents(true);
        picture->setStyleSheet(style);
        picture->setFixedSize(28, 28);
        return picture;
    }

    void setupLevelPage()
    {
        levelpage = makePage(statWS, "levelpage", QStringLiteral("等级统计"));
        textLabel1_4 = makeLabel(levelpage, "textLabel1_4", QStringLiteral("奖项"));
        textLabel5 = makeLabel(levelpage, "textLabel5", QStringLiteral("一等奖"));
        textLabel6_2 = makeLabel(levelpage, "textLabel6_2", QStringLiteral("二等奖"));
        textLabel7_2 = makeLabel(levelpage, "textLabel7_2", QStringLiteral("三等奖"));
        level1PL =
            makePicture(levelpage, "level1PL", QStringLiteral("border-image:url(:/gold2.png);"));
        level2PL =
            makePicture(levelpage, "level2PL", QStringLiteral("border-image:url(:/silver2.png)"));
        level3PL =
            makePicture(levelpage, "level3PL", QStringLiteral("border-image:url(:/brown2.png)"));
        textLabel3_2 = makeLabel(levelpage, "textLabel3_2", QStringLiteral("人数/比例"));
        level1LE = make<QLineEdit>(levelpage, "level1LE");
        level2LE = make<QLineEdit>(levelpage, "level2LE");
        level3LE = make<QLineEdit>(levelpage, "level3LE");
        textLabel4 = makeLabel(levelpage, "textLabel4", QStringLiteral("实际得奖人数"));
        level1TL = makeValue(levelpage, "level1TL");
        level2TL = makeValue(levelpage, "level2TL");
        level3TL = makeValue(levelpage, "level3TL");
        textLabel5_2 = makeLabel(levelpage, "textLabel5_2", QStringLiteral("总人数"));
        gradetotalTL = makeValue(levelpage, "gradetotalTL");
        gradestatPB = makeButton(levelpage, "gradestatPB", QStringLiteral("统计"));
        levelTB = makeTable(levelpage, "levelTB",
                            {QStringLiteral("等级"), QStringLiteral("姓名"), QStringLiteral("编号"),
                             QStringLiteral("所属"), QStringLiteral("总分")},
                            true);

        auto *awards = new QGridLayout;
        awards->addWidget(textLabel1_4, 0, 0, 1, 2);
        awards->addWidget(textLabel3_2, 0, 2);
        awards->addWidget(textLabel4, 0, 3);
        const QList<QWidget *> rows[] = {{textLabel5, level1PL, level1LE, level1TL},
                                         {textLabel6_2, level2PL, level2LE, level2TL},
                                         {textLabel7_2, level3PL, level3LE, level3TL}};
        for (int r = 0; r < 3; ++r) {
            for (int c = 0; c < rows[r].size(); ++c)
                awards->addWidget(rows[r][c], r + 1, c);
        }
        awards->addWidget(textLabel5_2, 4, 0, 1, 2);
        awards->addWidget(gradetotalTL, 4, 2);
        awards->addWidget(gradestatPB, 4, 3);
        awards->setColumnStretch(4, 1);
        auto *page = new QVBoxLayout(levelpage);
        page->addLayout(awards);
        page->addWidget(levelTB);
    }
};

#endif
