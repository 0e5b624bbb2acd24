#ifndef TALDON_PAGES_UI_TASKCONFIGPAGE_H
#define TALDON_PAGES_UI_TASKCONFIGPAGE_H

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QWidget>

// The widget tree of the task configuration tab: the day and task tree on the left, and on the
// right a stack of the task form, a blank page and the day table. Written by hand.
class Ui_TaskConfigPage
{
public:
    QTreeWidget *proLV;
    QGroupBox *groupBox;
    QStackedWidget *infoWS;
    QWidget *WStackPage1;
    QWidget *blank;
    QWidget *WStackPage;
    QTableWidget *dayTB;

    QLineEdit *basenameLE;
    QComboBox *submitCB;
    QSpinBox *tscSB;
    QCheckBox *aveCB;
    QSpinBox *testpointnumSB;
    QTableWidget *spTB;
    QLineEdit *lineEdit12;
    QRadioButton *radioButton1_2;
    QSpinBox *timelimitSB;
    QSpinBox *memlimitSB;
    QRadioButton *radioButton2_2;
    QComboBox *methodCB;
    QComboBox *stringCB;
    QComboBox *numCB;
    QFrame *customF;
    QLineEdit *methodLE;
    QPushButton *methodPB;
    QCheckBox *testlibCB;
    QFrame *floatF;
    QSpinBox *preciseSB;
    QLabel *nofilterTL;
    QCheckBox *scCB;
    QLineEdit *scLE;
    QCheckBox *scplusCB;
    QLineEdit *scplusLE;
    QCheckBox *spascalCB;
    QLineEdit *spascalLE;
    QCheckBox *spythonCB;
    QLineEdit *spythonLE;
    QCheckBox *sjavaCB;
    QLineEdit *sjavaLE;

    void setupUi(QWidget *tab)
    {
        auto *layout = new QHBoxLayout(tab);
        layout->setContentsMargins(4, 4, 4, 4);
        proLV = new QTreeWidget(tab);
        proLV->setObjectName(QStringLiteral("proLV"));
        proLV->setHeaderLabel(QStringLiteral("试题列表"));
        proLV->setContextMenuPolicy(Qt::CustomContextMenu);
        proLV->setAlternatingRowColors(true);
        proLV->setItemsExpandable(true);
        proLV->setFixedWidth(170);
        // A long task name widens its column and the tree scrolls, rather than cutting it; a
        // short one leaves the column about as wide as the tree, which a vertical scroll bar
        // may narrow.
        proLV->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
        proLV->header()->setStretchLastSection(false);
        proLV->header()->setMinimumSectionSize(150);
        layout->addWidget(proLV);

        groupBox = new QGroupBox(QStringLiteral("试题配置"), tab);
        groupBox->setObjectName(QStringLiteral("groupBox"));
        auto *boxLayout = new QVBoxLayout(groupBox);
        boxLayout->setContentsMargins(4, 4, 4, 4);
        infoWS = new QStackedWidget(groupBox);
        infoWS->setObjectName(QStringLiteral("infoWS"));
        boxLayout->addWidget(infoWS);
        layout->addWidget(groupBox);

        WStackPage1 = makePage("WStackPage1");
        setupTaskForm();
        blank = makePage("blank");
        WStackPage = makePage("WStackPage");
        setupDayTable();
        infoWS->setCurrentIndex(1);
    }

private:
    QWidget *makePage(const char *name)
    {
        auto *page = new QWidget(infoWS);
        page->setObjectName(QString::fromLatin1(name));
        infoWS->addWidget(page);
        return page;
    }

    template <typename W> W *make(QWidget *parent, const char *name)
    {
        auto *widget = new W(parent);
        widget->setObjectName(QString::fromLatin1(name));
        return widget;
    }

    static QSpinBox *range(QSpinBox *box, int min, int max, int value)
    {
        box->setRange(min, max);
        box->setValue(value);
        return box;
    }

    static QLabel *label(const QString &text, QWidget *parent) { return new QLabel(text, parent); }

    void setupTaskForm()
    {
        QWidget *page = WStackPage1;
        auto *grid = new QGridLayout(page);
        grid->setContentsMargins(2, 2, 2, 2);
        grid->setVerticalSpacing(5);
        setupNameAndMarks(page, grid);
        setupLimits(page, grid);
        setupMethod(page, grid);
        setupLanguages(page, grid);
        grid->setRowStretch(grid->rowCount(), 1);
    }

    void setupNameAndMarks(QWidget *page, QGridLayout *grid)
    {
        basenameLE = make<QLineEdit>(page, "basenameLE");
        submitCB = make<QComboBox>(page, "submitCB");
        submitCB->addItems({QStringLiteral("源文件"), QStringLiteral("答案文件")});
        grid->addWidget(label(QStringLiteral("试题名称"), page), 0, 0);
        grid->addWidget(basenameLE, 0, 1, 1, 2);
        grid->addWidget(label(QStringLiteral("提交方式"), page), 0, 3);
        grid->addWidget(submitCB, 0, 4);

        tscSB = range(make<QSpinBox>(page, "tscSB"), 0, 500, 100);
        tscSB->setSingleStep(10);
        aveCB = make<QCheckBox>(page, "aveCB");
        aveCB->setText(QStringLiteral("均等分值"));
        aveCB->setChecked(true);
        testpointnumSB = range(make<QSpinBox>(page, "testpointnumSB"), 0, 80, 10);
        grid->addWidget(label(QStringLiteral("题目分值"), page), 1, 0);
        grid->addWidget(tscSB, 1, 1);
        grid->addWidget(aveCB, 1, 2);
        grid->addWidget(label(QStringLiteral("测试点数量"), page), 1, 3);
        grid->addWidget(testpointnumSB, 1, 4);

        spTB = make<QTableWidget>(page, "spTB");
        spTB->setRowCount(1);
        spTB->setVerticalHeaderLabels({QStringLiteral("分值")});
        spTB->setEditTriggers(QAbstractItemView::DoubleClicked);
        spTB->setSelectionMode(QAbstractItemView::NoSelection);
        spTB->horizontalHeader()->setDefaultSectionSize(36);
        spTB->setFixedHeight(66);
        spTB->setEnabled(false);
        grid->addWidget(spTB, 2, 0, 1, 5);
        QObject::connect(aveCB, &QCheckBox::clicked, tscSB, &QWidget::setEnabled);
        QObject::connect(aveCB, &QCheckBox::clicked, spTB, &QWidget::setDisabled);
    }

    void setupLimits(QWidget *page, QGridLayout *grid)
    {
        lineEdit12 = make<QLineEdit>(page, "lineEdit12");
        lineEdit12->setEnabled(false);
        radioButton1_2 = make<QRadioButton>(page, "radioButton1_2");
        radioButton1_2->setText(QStringLiteral("标准输入"));
        radioButton1_2->setEnabled(false);
        grid->addWidget(label(QStringLiteral("运行参数"), page), 3, 0);
        grid->addWidget(lineEdit12, 3, 1, 1, 2);
        grid->addWidget(radioButton1_2, 3, 4);

        timelimitSB = range(make<QSpinBox>(page, "timelimitSB"), 0, 999, 1);
        memlimitSB = range(make<QSpinBox>(page, "memlimitSB"), -1, 2048, 32);
        radioButton2_2 = make<QRadioButton>(page, "radioButton2_2");
        radioButton2_2->setText(QStringLiteral("文件输入"));
        radioButton2_2->setChecked(true);
        grid->addWidget(label(QStringLiteral("时间限制"), page), 4, 0);
        grid->addLayout(withUnit(timelimitSB, QStringLiteral("sec")), 4, 1);
        grid->addWidget(label(QStringLiteral("内存限制"), page), 4, 2);
        grid->addLayout(withUnit(memlimitSB, QStringLiteral("MB")), 4, 3);
        grid->addWidget(radioButton2_2, 4, 4);
    }

    static QHBoxLayout *withUnit(QSpinBox *box, const QString &unit)
    {
        auto *row = new QHBoxLayout;
        row->addWidget(box, 1);
        row->addWidget(label(unit, box->parentWidget()));
        return row;
    }

    void setupMethod(QWidget *page, QGridLayout *grid)
    {
        methodCB = make<QComboBox>(page, "methodCB");
        methodCB->addItems({QString(), QStringLiteral("字符串比较"), QStringLiteral("整数比较"),
                            QStringLiteral("浮点数比较"), QStringLiteral("自定义方式比较")});
        stringCB = make<QComboBox>(page, "stringCB");
        stringCB->addItems({QString(), QStringLiteral("全文完全直接比较（不过滤）"),
                            QStringLiteral("多行单字符串（过滤行内空格）"),
                            QStringLiteral("单行单字符串（过滤行内空格）")});
        numCB = make<QComboBox>(page, "numCB");
        numCB->addItems({QString(), QStringLiteral("单行单个数字比较"),
                         QStringLiteral("单行多个数字比较"), QStringLiteral("多行单个数字比较"),
                         QStringLiteral("多行多个数字比较")});
        customF = make<QFrame>(page, "customF");
        auto *customRow = new QHBoxLayout(customF);
        customRow->setContentsMargins(0, 0, 0, 0);
        methodLE = make<QLineEdit>(customF, "methodLE");
        methodLE->setEnabled(false);
        methodPB = make<QPushButton>(customF, "methodPB");
        methodPB->setText(QStringLiteral("浏览"));
        testlibCB = make<QCheckBox>(customF, "testlibCB");
        testlibCB->setText(QStringLiteral("testlib 校验器"));
        customRow->addWidget(methodLE, 1);
        customRow->addWidget(testlibCB);
        customRow->addWidget(methodPB);
        grid->addWidget(label(QStringLiteral("比较方式"), page), 5, 0);
        grid->addWidget(methodCB, 5, 1);
        grid->addWidget(stringCB, 5, 2, 1, 3);
        grid->addWidget(numCB, 5, 2, 1, 3);
        grid->addWidget(customF, 5, 2, 1, 3);

        floatF = make<QFrame>(page, "floatF");
        auto *floatRow = new QHBoxLayout(floatF);
        floatRow->setContentsMargins(0, 0, 0, 0);
        preciseSB = range(make<QSpinBox>(floatF, "preciseSB"), 1, 5, 1);
        floatRow->addWidget(label(QStringLiteral("精确到小数点后"), floatF));
        floatRow->addWidget(preciseSB);
        floatRow->addWidget(label(QStringLiteral("位"), floatF));
        floatRow->addStretch(1);
        grid->addWidget(floatF, 6, 2, 1, 3);
        nofilterTL = make<QLabel>(page, "nofilterTL");
        nofilterTL->setText(QStringLiteral("未选定比较程序, 该题无法评测"));
        nofilterTL->setStyleSheet(QStringLiteral("color:rgb(204, 0, 0)"));
        nofilterTL->hide();
        grid->addWidget(nofilterTL, 6, 0, 1, 2);
        grid->setRowMinimumHeight(6, preciseSB->sizeHint().height());
    }

    void setupLanguages(QWidget *page, QGridLayout *grid)
    {
        grid->addWidget(label(QStringLiteral("允许使用语言"), page), 7, 0);
        grid->addWidget(label(QStringLiteral("编译命令"), page), 7, 1, 1, 2);
        grid->addWidget(label(QStringLiteral("编译选项"), page), 7, 3);
        scCB = make<QCheckBox>(page, "scCB");
        scLE = make<QLineEdit>(page, "scLE");
        addLanguage(page, grid, 8, scCB, QStringLiteral("C"),
                    QStringLiteral("gcc -o outfile infile"), scLE);
        scplusCB = make<QCheckBox>(page, "scplusCB");
        scplusLE = make<QLineEdit>(page, "scplusLE");
        addLanguage(page, grid, 9, scplusCB, QStringLiteral("C++"),
                    QStringLiteral("g++ -o outfile infile"), scplusLE);
        spascalCB = make<QCheckBox>(page, "spascalCB");
        spascalLE = make<QLineEdit>(page, "spascalLE");
        addLanguage(page, grid, 10, spascalCB, QStringLiteral("PASCAL"),
                    QStringLiteral("fpc infile"), spascalLE);
        spythonCB = make<QCheckBox>(page, "spythonCB");
        spythonLE = make<QLineEdit>(page, "spythonLE");
        addLanguage(page, grid, 11, spythonCB, QStringLiteral("Python"),
                    QStringLiteral("python3 -m py_compile infile"), spythonLE);
        sjavaCB = make<QCheckBox>(page, "sjavaCB");
        sjavaLE = make<QLineEdit>(page, "sjavaLE");
        addLanguage(page, grid, 12, sjavaCB, QStringLiteral("Java"), QStringLiteral("javac infile"),
                    sjavaLE);
    }

    static void addLanguage(QWidget *page, QGridLayout *grid, int row, QCheckBox *box,
                            const QString &name, const QString &command, QLineEdit *options)
    {
        box->setText(name);
        options->setEnabled(false);
        grid->addWidget(box, row, 0);
        grid->addWidget(label(command, page), row, 1, 1, 2);
        grid->addWidget(options, row, 3, 1, 2);
        QObject::connect(box, &QCheckBox::clicked, options, &QWidget::setEnabled);
    }

    void setupDayTable()
    {
        auto *pageLayout = new QVBoxLayout(WStackPage);
        pageLayout->setContentsMargins(0, 0, 0, 0);
        dayTB = make<QTableWidget>(WStackPage, "dayTB");
        dayTB->setColumnCount(7);
        dayTB->setHorizontalHeaderLabels({QStringLiteral("程序名"), QStringLiteral("运行参数"),
                                          QStringLiteral("提交方式"), QStringLiteral("分值"),
                                          QStringLiteral("测试点"), QStringLiteral("时限"),
                                          QStringLiteral("插件类型")});
        dayTB->verticalHeader()->hide();
        dayTB->verticalHeader()->setDefaultSectionSize(30);
        dayTB->setEditTriggers(QAbstractItemView::NoEditTriggers);
        QHeaderView *header = dayTB->horizontalHeader();
        header->setSectionResizeMode(QHeaderView::ResizeToContents);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
        header->setSectionResizeMode(6, QHeaderView::Stretch);
        pageLayout->addWidget(dayTB);
    }
};

#endif
