#ifndef TALDON_APP_UI_MAINWINDOW_H
#define TALDON_APP_UI_MAINWINDOW_H

#include <QAction>
#include <QIcon>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QWidget>

// The widget tree of the main window's shell: the welcome page, the main page with its three
// empty tabs, the menus and every action. Each page fills its own tab widget (submanage,
// playermanage, scoresta) with its widgets. Written by hand, so files that include it must not
// be handed to uic (the taldon_gui target has AUTOUIC off).
class Ui_MainWindow
{
public:
    QWidget *centralwidget;
    QStackedWidget *stackedWidget;
    QWidget *mainPage;
    QTabWidget *tabWidget;
    QWidget *submanage;
    QWidget *playermanage;
    QWidget *scoresta;
    QWidget *welcomePage;
    QPushButton *newGamePB;
    QPushButton *openGamePB;
    QPushButton *exitPB;
    QMenuBar *menuBar;
    QMenu *fileMenu;
    QMenu *helpMenu;
    QAction *newGameAct;
    QAction *openGameAct;
    QAction *saveGameAct;
    QAction *anotherSaveAct;
    QAction *exitAct;
    QAction *requireSandboxAct;
    QAction *aboutAct;
    QAction *addDayAct;
    QAction *addTaskAct;
    QAction *deleteAct;

    void setupUi(QMainWindow *window)
    {
        window->setObjectName(QStringLiteral("MainWindow"));
        window->resize(760, 578);
        window->setMinimumSize(760, 578);
        window->setMaximumSize(760, 578);
        window->setWindowTitle(QStringLiteral("考试评测系统 Taldon"));
        setupActions(window);
        setupMenus(window);

        centralwidget = new QWidget(window);
        centralwidget->setObjectName(QStringLiteral("centralwidget"));
        auto *layout = new QVBoxLayout(centralwidget);
        layout->setContentsMargins(0, 0, 0, 0);
        stackedWidget = new QStackedWidget(centralwidget);
        stackedWidget->setObjectName(QStringLiteral("stackedWidget"));
        layout->addWidget(stackedWidget);
        setupMainPage();
        setupWelcomePage();
        stackedWidget->setCurrentIndex(1);
        tabWidget->setCurrentIndex(0);
        window->setCentralWidget(centralwidget);
    }

private:
    static QAction *makeAction(QMainWindow *window, const char *name, const QString &text,
                               const QString &icon = QString())
    {
        auto *action = new QAction(window);
        action->setObjectName(QString::fromLatin1(name));
        action->setText(text);
        if (!icon.isEmpty())
            action->setIcon(QIcon(icon));
        return action;
    }

    void setupActions(QMainWindow *window)
    {
        newGameAct = makeAction(window, "newGameAct", QStringLiteral("(N)新建比赛"),
                                QStringLiteral(":/addexam.png"));
        newGameAct->setIconText(QStringLiteral("(N)新建比赛"));
        newGameAct->setShortcut(QKeySequence(QStringLiteral("Ctrl+N")));
        openGameAct = makeAction(window, "openGameAct", QStringLiteral("(O)打开比赛"),
                                 QStringLiteral(":/fileopen.png"));
        saveGameAct = makeAction(window, "saveGameAct", QStringLiteral("(S)保存"),
                                 QStringLiteral(":/treeico1.png"));
        saveGameAct->setShortcut(QKeySequence(QStringLiteral("Ctrl+S")));
        anotherSaveAct = makeAction(window, "anotherSaveAct", QStringLiteral("(A)另存为"),
                                    QStringLiteral(":/treeico4.png"));
        exitAct =
            makeAction(window, "exitAct", QStringLiteral("(Q)退出"), QStringLiteral(":/exit.png"));
        aboutAct = makeAction(window, "aboutAct", QStringLiteral("&About"));
        // For real contests: refuse to evaluate where the full submission sandbox cannot be had.
        requireSandboxAct = makeAction(window, "requireSandboxAct", QStringLiteral("要求完整沙箱"));
        requireSandboxAct->setCheckable(true);
        addDayAct = makeAction(window, "addDayAct", QStringLiteral("添加考试"));
        addTaskAct = makeAction(window, "addTaskAct", QStringLiteral("添加试题"));
        deleteAct = makeAction(window, "deleteAct", QStringLiteral("删除"));
    }

    void setupMenus(QMainWindow *window)
    {
        menuBar = new QMenuBar(window);
        menuBar->setObjectName(QStringLiteral("menuBar"));
        fileMenu = menuBar->addMenu(QStringLiteral("文件(&F)"));
        fileMenu->setObjectName(QStringLiteral("fileMenu"));
        fileMenu->addAction(newGameAct);
        fileMenu->addAction(openGameAct);
        fileMenu->addAction(saveGameAct);
        fileMenu->addAction(anotherSaveAct);
        fileMenu->addSeparator();
        fileMenu->addAction(requireSandboxAct);
        fileMenu->addSeparator();
        fileMenu->addAction(exitAct);
        helpMenu = menuBar->addMenu(QStringLiteral("帮助(&H)"));
        helpMenu->setObjectName(QStringLiteral("helpMenu"));
        helpMenu->addAction(aboutAct);
        window->setMenuBar(menuBar);
    }

    static QWidget *makeTab(QTabWidget *tabs, const char *name, const QString &title)
    {
        auto *tab = new QWidget(tabs);
        tab->setObjectName(QString::fromLatin1(name));
        tabs->addTab(tab, title);
        return tab;
    }

    void setupMainPage()
    {
        mainPage = new QWidget(stackedWidget);
        mainPage->setObjectName(QStringLiteral("mainPage"));
        auto *layout = new QVBoxLayout(mainPage);
        layout->setContentsMargins(2, 2, 2, 2);
        tabWidget = new QTabWidget(mainPage);
        tabWidget->setObjectName(QStringLiteral("tabWidget"));
        layout->addWidget(tabWidget);
        submanage = makeTab(tabWidget, "submanage", QStringLiteral("试题管理"));
        playermanage = makeTab(tabWidget, "playermanage", QStringLiteral("试题评测"));
        scoresta = makeTab(tabWidget, "scoresta", QStringLiteral("成绩统计"));
        stackedWidget->addWidget(mainPage);
    }

    // The buttons stand in the panel that the welcome image leaves for them.
    QPushButton *makeImageButton(const char *name, const QString &image, int y)
    {
        auto *button = new QPushButton(welcomePage);
        button->setObjectName(QString::fromLatin1(name));
        button->setGeometry(505, y, 180, 60);
        button->setCursor(Qt::PointingHandCursor);
        button->setStyleSheet(
            QStringLiteral("QPushButton{border:none;border-image:url(%1);}").arg(image));
        return button;
    }

    void setupWelcomePage()
    {
        welcomePage = new QWidget(stackedWidget);
        welcomePage->setObjectName(QStringLiteral("welcomePage"));
        welcomePage->setAttribute(Qt::WA_StyledBackground);
        welcomePage->setStyleSheet(
            QStringLiteral("#welcomePage{background-image:url(:/welcome.png);}"));
        newGamePB = makeImageButton("newGamePB", QStringLiteral(":/bt1.png"), 200);
        openGamePB = makeImageButton("openGamePB", QStringLiteral(":/bt2.png"), 280);
        exitPB = makeImageButton("exitPB", QStringLiteral(":/bt3.png"), 360);
        stackedWidget->addWidget(welcomePage);
    }
};

#endif
