#include "cfileissuedlg.h"
#include "newgamedlg.h"
#include "qttranslations.h"
#include "selectdlg.h"

#include "pages/pageui.h"

#include <QDir>
#include <QFileDialog>
#include <QProgressBar>
#include <QTranslator>

#include <unistd.h>

class TestShellDialogs : public QObject
{
    Q_OBJECT

private slots:
    void selectDlgIndexes();
    void progressDialog();
    void newGameDlgEnablesOk();
    void newGameDlgBrowse();
    void newGameDlgReturn();
    void dialogsStartInTheUsersHome_data();
    void dialogsStartInTheUsersHome();
    void toolkitDialogsSpeakChinese();
};

void TestShellDialogs::selectDlgIndexes()
{
    for (int pick = -1; pick <= 2; ++pick) {
        SelectDlg dialog;
        dialog.addItem(QStringLiteral("请选择试题"));
        for (const char *task : {"sum", "path", "tree"})
            dialog.addItem(QString::fromLatin1(task));
        auto *combo = dialog.findChild<QComboBox *>(QStringLiteral("selectCB"));
        QVERIFY(combo);
        QCOMPARE(combo->count(), 4);
        dialog.show();
        for (int step = -1; step < pick; ++step)
            QTest::keyClick(combo, Qt::Key_Down);
        clickButton(&dialog, "okPB");
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.getSelectIndex(), pick);
    }
    SelectDlg dialog;
    dialog.addItem(QStringLiteral("placeholder"));
    dialog.addItem(QStringLiteral("sum"));
    answerNextModal([](QWidget *modal) {
        modal->findChild<QComboBox *>(QStringLiteral("selectCB"))->setCurrentIndex(1);
        clickButton(modal, "cancelPB");
    });
    QCOMPARE(dialog.exec(), int(QDialog::Rejected));
}

void TestShellDialogs::progressDialog()
{
    CFileIssueDlg dialog;
    auto *bar = dialog.findChild<QProgressBar *>(QStringLiteral("ppbProgress"));
    auto *text = dialog.findChild<QLabel *>(QStringLiteral("pProgressText"));
    QCOMPARE(text->text(), QStringLiteral("Idle..."));

    dialog.setProgressRange(0, 4);
    dialog.setModal(true);
    dialog.show();
    for (int item = 1; item <= 4; ++item) {
        dialog.setProgress(item);
        QCoreApplication::processEvents();
    }
    dialog.setProgressText(QStringLiteral("Done..."));
    QCOMPARE(bar->maximum(), 4);
    QCOMPARE(bar->value(), 4);
    QCOMPARE(text->text(), QStringLiteral("Done..."));

    // wait() must block until OK is pressed, and not a moment before.
    bool pressed = false;
    answerNextModal([&pressed](QWidget *modal) {
        pressed = true;
        clickButton(modal, "okPB");
    });
    dialog.wait();
    QVERIFY(pressed);
    QVERIFY(!dialog.isVisible());
}

void TestShellDialogs::newGameDlgEnablesOk()
{
    NewGameDlg dialog;
    auto *name = dialog.findChild<QLineEdit *>(QStringLiteral("basenameLE"));
    auto *path = dialog.findChild<QLineEdit *>(QStringLiteral("pathLE"));
    auto *ok = dialog.findChild<QPushButton *>(QStringLiteral("okPB"));
    QCOMPARE(name->text(), QStringLiteral("程序设计竞赛"));
    QVERIFY(!ok->isEnabled());

    QTest::keyClicks(path, QStringLiteral("/tmp/c"));
    QVERIFY(ok->isEnabled());
    QCOMPARE(ok->styleSheet(), QStringLiteral("color:rgb(78, 154, 6)"));
    name->clear();
    QVERIFY(!ok->isEnabled());
    QCOMPARE(ok->styleSheet(), QStringLiteral("color:rgb(186, 189, 182)"));
    name->insert(QStringLiteral("校赛"));
    QVERIFY(ok->isEnabled());
    QCOMPARE(dialog.getContestName(), QStringLiteral("校赛"));
    QCOMPARE(dialog.getHomePath(), QStringLiteral("/tmp/c"));

    answerNextModal([](QWidget *modal) { clickButton(modal, "cancelPB"); });
    QCOMPARE(dialog.exec(), int(QDialog::Rejected));
}

void TestShellDialogs::newGameDlgBrowse()
{
    NewGameDlg dialog;
    auto *path = dialog.findChild<QLineEdit *>(QStringLiteral("pathLE"));
    auto *ok = dialog.findChild<QPushButton *>(QStringLiteral("okPB"));
    auto *browse = dialog.findChild<QPushButton *>(QStringLiteral("openPathPB"));
    QString answer = QStringLiteral("/srv/考试 2026");
    QString askedCaption;
    QString askedDir;
    FileDialogs::replaceExistingDirectory(
        [&](QWidget *, const QString &caption, const QString &dir) {
            askedCaption = caption;
            askedDir = dir;
            return answer;
        });
    QTest::mouseClick(browse, Qt::LeftButton);
    QCOMPARE(askedCaption, QStringLiteral("Choose a directory"));
    QCOMPARE(askedDir, FileDialogs::startDirectory());
    QCOMPARE(path->text(), QStringLiteral("/srv/考试 2026"));
    QVERIFY(ok->isEnabled());

    // Browsing again starts in the typed directory when it exists; cancelling keeps the path.
    const QString typed = QDir::tempPath();
    path->setText(typed);
    answer.clear();
    QTest::mouseClick(browse, Qt::LeftButton);
    QCOMPARE(askedDir, typed);
    QCOMPARE(path->text(), typed);
    QVERIFY(ok->isEnabled());
    FileDialogs::replaceExistingDirectory({});
}

// Return never opens 浏览: it does nothing while OK is disabled and accepts once it is enabled.
void TestShellDialogs::newGameDlgReturn()
{
    NewGameDlg dialog;
    auto *path = dialog.findChild<QLineEdit *>(QStringLiteral("pathLE"));
    int browsed = 0;
    FileDialogs::replaceExistingDirectory([&browsed](QWidget *, const QString &, const QString &) {
        ++browsed;
        return QString();
    });
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    path->setFocus();
    QTest::keyClick(path, Qt::Key_Return);
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QTest::keyClicks(path, QStringLiteral("/srv/c"));
    QTest::keyClick(path, Qt::Key_Return);
    FileDialogs::replaceExistingDirectory({});
    QCOMPARE(browsed, 0);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.getHomePath(), QStringLiteral("/srv/c"));
}

void TestShellDialogs::dialogsStartInTheUsersHome_data()
{
    QTest::addColumn<QString>("contest");
    QTest::addColumn<QString>("ending");
    QTest::addColumn<QString>("proposed");
    QTest::newRow("results") << "省赛 2026"
                             << ".csv"
                             << "省赛 2026.csv";
    QTest::newRow("no name") << ""
                             << "-选手名单.txt"
                             << "比赛-选手名单.txt";
    QTest::newRow("slash") << "a/../b"
                           << ".csv"
                           << "a_.._b.csv";
}

// The home of the effective user, from the password database: for root /root, never
// /home/root, which does not exist and would open /home with "root" typed as the file name.
void TestShellDialogs::dialogsStartInTheUsersHome()
{
    QFETCH(QString, contest);
    QFETCH(QString, ending);
    QFETCH(QString, proposed);
    const QString home = FileDialogs::startDirectory();
    QVERIFY2(QFileInfo(home).isDir(), qPrintable(home));
    if (geteuid() == 0)
        QCOMPARE(home, QStringLiteral("/root"));
    QCOMPARE(FileDialogs::proposedFile(contest, ending), home + '/' + proposed);
}

// The buttons and labels that Qt draws itself: in Chinese once its translations are loaded,
// which scripts/bootstrap.sh installs (qttranslations5-l10n).
void TestShellDialogs::toolkitDialogsSpeakChinese()
{
    QVERIFY2(loadQtTranslations(qApp), "Qt's Chinese translations are not installed");
    QMessageBox box(QMessageBox::Information, QStringLiteral("Close Window"),
                    QStringLiteral("确定关闭?"),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Ok | QMessageBox::Cancel);
    QStringList buttons;
    for (QMessageBox::StandardButton b :
         {QMessageBox::Yes, QMessageBox::No, QMessageBox::Ok, QMessageBox::Cancel})
        buttons << box.button(b)->text();
    QFileDialog files(nullptr, QStringLiteral("Choose a file"));
    files.setOption(QFileDialog::DontUseNativeDialog);
    QStringList labels;
    for (QLabel *label : files.findChildren<QLabel *>())
        labels << label->text();
    // Translators belong to the application: the other tests see the toolkit's own texts.
    qDeleteAll(qApp->findChildren<QTranslator *>());
    QCOMPARE(buttons, QStringList({"是(&Y)", "否(&N)", "确定", "取消"}));
    QVERIFY2(labels.contains(QStringLiteral("查找范围：")), qPrintable(labels.join(' ')));
}

QTEST_MAIN(TestShellDialogs)
#include "tst_shelldialogs.moc"
