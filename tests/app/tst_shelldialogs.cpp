#include "newgamedlg.h"
#include "qttranslations.h"

#include "pages/pageui.h"

#include <QDir>
#include <QFileDialog>
#include <QTranslator>

#include <unistd.h>

class TestShellDialogs : public QObject
{
    Q_OBJECT

private slots:
    void newGameDialog();
    void dialogsStartInTheUsersHome();
    void toolkitDialogsSpeakChinese();
};

// OK is enabled only with both a name and a path; 浏览 starts in the typed directory when it
// exists and cancelling keeps the path; Return never opens 浏览: it does nothing while OK is
// disabled and accepts once it is enabled.
void TestShellDialogs::newGameDialog()
{
    NewGameDlg dialog;
    auto *name = dialog.findChild<QLineEdit *>(QStringLiteral("basenameLE"));
    auto *path = dialog.findChild<QLineEdit *>(QStringLiteral("pathLE"));
    auto *ok = dialog.findChild<QPushButton *>(QStringLiteral("okPB"));
    QString answer = QStringLiteral("/srv/考试 2026"), askedDir;
    int browsed = 0;
    FileDialogs::replaceExistingDirectory([&](QWidget *, const QString &, const QString &dir) {
        ++browsed;
        askedDir = dir;
        return answer;
    });
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(name->text(), QStringLiteral("程序设计竞赛"));
    QVERIFY(!ok->isEnabled());
    path->setFocus();
    QTest::keyClick(path, Qt::Key_Return);
    QVERIFY(dialog.isVisible());
    QCOMPARE(browsed, 0);

    clickButton(&dialog, "openPathPB");
    QCOMPARE(askedDir, FileDialogs::startDirectory());
    QCOMPARE(path->text(), answer);
    QVERIFY(ok->isEnabled());
    name->clear();
    QVERIFY(!ok->isEnabled());
    name->insert(QStringLiteral("校赛"));

    const QString typed = QDir::tempPath();
    path->setText(typed);
    answer.clear();
    clickButton(&dialog, "openPathPB");
    QCOMPARE(askedDir, typed);
    QCOMPARE(path->text(), typed);
    FileDialogs::replaceExistingDirectory({});

    path->setFocus();
    QTest::keyClick(path, Qt::Key_Return);
    QCOMPARE(browsed, 2);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.getContestName(), QStringLiteral("校赛"));
    QCOMPARE(dialog.getHomePath(), typed);
}

// The home of the effective user, from the password database: for root /root, never
// /home/root, which does not exist and would open /home with "root" typed as the file name. The
// proposed file is named for the contest, a slash in the name being no directory.
void TestShellDialogs::dialogsStartInTheUsersHome()
{
    const QString home = FileDialogs::startDirectory();
    QVERIFY2(QFileInfo(home).isDir(), qPrintable(home));
    if (geteuid() == 0)
        QCOMPARE(home, QStringLiteral("/root"));
    QCOMPARE(QStringList({FileDialogs::proposedFile(QString(), "-选手名单.txt"),
                          FileDialogs::proposedFile("a/../b", ".csv")}),
             QStringList({home + "/比赛-选手名单.txt", home + "/a_.._b.csv"}));
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
