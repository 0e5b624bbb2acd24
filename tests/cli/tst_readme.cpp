// The README is the newcomer's guide: its commands, examples and pictures must match what the
// scripts, CI and taldon-cli really do.

#include "common/programrun.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QProcess>
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
    QFile file(sourcePath(relative));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

// Lines of the README's indented code blocks, without the indentation; a line ending in a
// backslash goes on with the next.
QStringList codeLines(QString readme)
{
    readme.replace(QRegularExpression("\\\\\n\\s*"), " ");
    QStringList lines;
    for (const QString &line : readme.split('\n')) {
        if (line.startsWith("    "))
            lines << line.trimmed();
    }
    return lines;
}

// The subcommands as taldon-cli --help lists them under "commands:".
QStringList subcommands()
{
    const ProgramRun help = runCli({"--help"});
    QStringList names;
    const QRegularExpression row("^  (\\S+)\\t", QRegularExpression::MultilineOption);
    for (auto it = row.globalMatch(help.outText()); it.hasNext();)
        names << it.next().captured(1);
    return help.status == 0 ? names : QStringList();
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
    const QString readme = readSource("README.md");
    QStringList lines = readme.split('\n');
    lines.removeAll(QString());
    QVERIFY(lines.size() > 3);
    QCOMPARE(lines.at(0), QString("# Taldon"));
    QCOMPARE(lines.at(1), QString("    sh scripts/taldon.sh run"));
    QCOMPARE(lines.at(2), QString("    sh scripts/taldon.sh test"));

    // CI runs the README's test command and nothing else.
    const QString ci = readSource(".ci/run");
    QVERIFY(
        QRegularExpression("^sh scripts/taldon\\.sh test\\b", QRegularExpression::MultilineOption)
            .match(ci)
            .hasMatch());

    // The script itself takes both words and names them in its own usage notes.
    const QString script = readSource("scripts/taldon.sh");
    for (const char *word : {"run", "test"}) {
        QVERIFY2(script.contains('\n' + QString(word) + ")\n"), word);
        QVERIFY2(script.contains("scripts/taldon.sh " + QString(word)), word);
    }
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

// Every subcommand has an example, and every option an example uses is one that subcommand
// lists in its --help.
void TestReadme::hasAWorkingExampleOfEverySubcommand()
{
    const QStringList names = subcommands();
    QVERIFY2(names.size() >= 8, qPrintable(names.join(' ')));
    const QStringList code = codeLines(readSource("README.md"));
    const QRegularExpression option("(?:^|\\s)(--?[a-z][a-z-]*)");
    for (const QString &name : names) {
        const QString prefix = "taldon-cli " + name + ' ';
        const ProgramRun run = runCli({name, "--help"});
        QCOMPARE(run.status, 0);
        const QString help = run.outText();
        // The usage line names the subcommand, as it is to be typed.
        const QString usage = help.section('\n', 0, 0);
        QVERIFY2(usage.startsWith("Usage: ") && usage.contains("taldon-cli " + name + " [options]"),
                 qPrintable(usage));
        int examples = 0;
        for (const QString &line : code) {
            if (!line.startsWith(prefix))
                continue;
            ++examples;
            for (auto it = option.globalMatch(line); it.hasNext();) {
                const QString used = it.next().captured(1);
                QVERIFY2(help.contains(used + ' ') || help.contains(used + ','),
                         qPrintable(name + ": " + used));
            }
        }
        QVERIFY2(examples > 0, qPrintable("no example of " + name));
    }
}

void TestReadme::showsEveryScreenshotAtWindowSize()
{
    const QString readme = readSource("README.md");
    const QRegularExpression image("!\\[[^\\]]*\\]\\(([^)]+)\\)");
    QStringList shown;
    for (auto it = image.globalMatch(readme); it.hasNext();)
        shown << it.next().captured(1);
    const QStringList taken =
        QDir(sourcePath("docs/screenshots")).entryList({"*.png"}, QDir::Files, QDir::Name);
    // The welcome page and the three tabs.
    QCOMPARE(taken.size(), 4);
    for (const QString &file : taken)
        QVERIFY2(shown.contains("docs/screenshots/" + file), qPrintable(file));
    for (const QString &path : shown) {
        QImageReader reader(sourcePath(path));
        QVERIFY2(reader.canRead(), qPrintable(path));
        QCOMPARE(reader.size(), QSize(760, 578));
    }
}

QTEST_GUILESS_MAIN(TestReadme)
#include "tst_readme.moc"
