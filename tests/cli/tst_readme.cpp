// The README is the newcomer's guide: its commands, examples and pictures must match what the
// scripts, CI and taldon-cli really do.

#include "common/programrun.h"
#include "common/testfiles.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace
{

QString sourcePath(const QString &relative)
{
    return qEnvironmentVariable("TALDON_SOURCE_DIR") + '/' + relative;
}

QString readSource(const QString &relative)
{
    return QString::fromUtf8(readFile(sourcePath(relative)));
}

} // namespace

class TestReadme : public QObject
{
    Q_OBJECT

private slots:
    void startsWithTheCommandsThatCiAndTheScriptRun();
    void runWithoutADisplaySaysHowToGetOne();
    void hasAWorkingExampleOfEverySubcommand();
    void showsEveryScreenshotAtWindowSize();
};

void TestReadme::startsWithTheCommandsThatCiAndTheScriptRun()
{
    QStringList lines = readSource("README.md").split('\n');
    lines.removeAll(QString());
    QCOMPARE(lines.mid(0, 3), QStringList({"# Taldon", "    sh scripts/taldon.sh run",
                                           "    sh scripts/taldon.sh test"}));
    // CI runs the README's test command, which the script takes and names in its usage notes.
    QVERIFY(
        QRegularExpression("^sh scripts/taldon\\.sh test\\b", QRegularExpression::MultilineOption)
            .match(readSource(".ci/run"))
            .hasMatch());
    const QString script = readSource("scripts/taldon.sh");
    for (const QString word : {"run", "test"})
        QVERIFY2(script.contains('\n' + word + ")\n") &&
                     script.contains("scripts/taldon.sh " + word),
                 qPrintable(word));
}

// Before installing or building anything, run tells a user without a display how to get one.
void TestReadme::runWithoutADisplaySaysHowToGetOne()
{
    QTemporaryDir build;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    env.insert("TALDON_BUILD_DIR", build.path() + "/b");
    QProcess script;
    script.setProcessEnvironment(env);
    script.start("sh", {sourcePath("scripts/taldon.sh"), "run"});
    QVERIFY(script.waitForFinished(20000));
    QCOMPARE(script.exitCode(), 1);
    const QString err = QString::fromUtf8(script.readAllStandardError());
    QVERIFY2(err.contains("xvfb-run -a sh scripts/taldon.sh run"), qPrintable(err));
    QVERIFY(!QFileInfo::exists(build.path() + "/b"));
}

// Every subcommand that taldon-cli --help lists has an example in the README's indented code
// (a trailing backslash goes on with the next line), and every option an example uses is one
// that subcommand lists in its --help.
void TestReadme::hasAWorkingExampleOfEverySubcommand()
{
    const ProgramRun list = runCli({"--help"});
    QCOMPARE(list.status, 0);
    QStringList names;
    const QRegularExpression row("^  (\\S+)\\t", QRegularExpression::MultilineOption);
    for (auto it = row.globalMatch(list.outText()); it.hasNext();)
        names << it.next().captured(1);
    QVERIFY2(names.size() >= 8, qPrintable(names.join(' ')));
    QStringList code;
    for (const QString &line :
         readSource("README.md").replace(QRegularExpression("\\\\\n\\s*"), " ").split('\n'))
        if (line.startsWith("    "))
            code << line.trimmed();
    const QRegularExpression option("(?:^|\\s)(--?[a-z][a-z-]*)");
    for (const QString &name : names) {
        const QString prefix = "taldon-cli " + name + ' ';
        const ProgramRun run = runCli({name, "--help"});
        QCOMPARE(run.status, 0);
        const QString help = run.outText();
        // The usage line names the subcommand, as it is to be typed.
        const QString usage = help.section('\n', 0, 0);
        QVERIFY2(usage.startsWith("Usage: ") && usage.contains(prefix + "[options]"),
                 qPrintable(usage));
        int examples = 0;
        for (const QString &line : code) {
            if (!line.startsWith(prefix))
                continue;
            ++examples;
            // An example given a path has the usage line say what that path is.
            if (line.mid(prefix.size()).startsWith('/'))
                QVERIFY2(!usage.section("[options]", 1).trimmed().isEmpty(), qPrintable(usage));
            for (auto it = option.globalMatch(line); it.hasNext();) {
                const QString used = it.next().captured(1);
                QVERIFY2(help.contains(used + ' ') || help.contains(used + ','),
                         qPrintable(name + ": " + used));
            }
        }
        QVERIFY2(examples > 0, qPrintable("no example of " + name));
    }
}

// The welcome page and the three tabs, each shown at the window's size.
void TestReadme::showsEveryScreenshotAtWindowSize()
{
    const QRegularExpression image("!\\[[^\\]]*\\]\\(([^)]+)\\)");
    QStringList shown;
    for (auto it = image.globalMatch(readSource("README.md")); it.hasNext();)
        shown << it.next().captured(1);
    const QStringList taken =
        QDir(sourcePath("docs/screenshots")).entryList({"*.png"}, QDir::Files);
    QCOMPARE(taken.size(), 4);
    for (const QString &file : taken)
        QVERIFY2(shown.contains("docs/screenshots/" + file), qPrintable(file));
    for (const QString &path : shown)
        QCOMPARE(QImageReader(sourcePath(path)).size(), QSize(760, 578));
}

QTEST_GUILESS_MAIN(TestReadme)
#include "tst_readme.moc"
