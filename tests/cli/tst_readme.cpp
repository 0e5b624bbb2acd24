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
    readme.replace(QRegularExpression(QStringLiteral("\\\\\n\\s*")), QStringLiteral(" "));
    QStringList lines;
    for (const QString &line : readme.split('\n')) {
        if (line.startsWith(QLatin1String("    ")))
            lines << line.trimmed();
    }
    return lines;
}

// The subcommands as taldon-cli --help lists them under "commands:".
QStringList subcommands()
{
    const ProgramRun help = runCli({QStringLiteral("--help")});
    QStringList names;
    const QRegularExpression row(QStringLiteral("^  (\\S+)\\t"),
                                 QRegularExpression::MultilineOption);
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
    const QString readme = readSource(QStringLiteral("README.md"));
    QStringList lines = readme.split('\n');
    lines.removeAll(QString());
    QVERIFY(lines.size() > 3);
    QCOMPARE(lines.at(0), QStringLiteral("# Taldon"));
    QCOMPARE(lines.at(1), QStringLiteral("    sh scripts/taldon.sh run"));
    QCOMPARE(lines.at(2), QStringLiteral("    sh scripts/taldon.sh test"));

    // CI runs the README's test command and nothing else.
    const QString ci = readSource(QStringLiteral(".ci/run"));
    QVERIFY(QRegularExpression(QStringLiteral("^sh scripts/taldon\\.sh test\\b"),
                               QRegularExpression::MultilineOption)
                .match(ci)
                .hasMatch());

    // The script itself takes both words and names them in its own usage notes.
    const QString script = readSource(QStringLiteral("scripts/taldon.sh"));
    for (const QString &word : {QStringLiteral("run"), QStringLiteral("test")}) {
        QVERIFY2(script.contains('\n' + word + QStringLiteral(")\n")), qPrintable(word));
        QVERIFY2(script.contains(QStringLiteral("scripts/taldon.sh ") + word), qPrintable(word));
    }
}

// Before installing or building anything, run tells a user without a display how to get one.
void TestReadme::runWithoutADisplaySaysHowToGetOne()
{
    QTemporaryDir build;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    env.insert(QStringLiteral("TALDON_BUILD_DIR"), build.path() + QStringLiteral("/b"));
    QProcess script;
    script.setProcessEnvironment(env);
    script.start(QStringLiteral("sh"),
                 {sourcePath(QStringLiteral("scripts/taldon.sh")), QStringLiteral("run")});
    QVERIFY(script.waitForFinished(20000));
    QCOMPARE(script.exitCode(), 1);
    const QString err = QString::fromUtf8(script.readAllStandardError());
    QVERIFY2(err.contains(QStringLiteral("xvfb-run -a sh scripts/taldon.sh run")), qPrintable(err));
    QVERIFY(!QFileInfo::exists(build.path() + QStringLiteral("/b")));
}

// Every subcommand has an example, and every option an example uses is one that subcommand
// lists in its --help.
void TestReadme::hasAWorkingExampleOfEverySubcommand()
{
    const QStringList names = subcommands();
    QVERIFY2(names.size() >= 8, qPrintable(names.join(' ')));
    const QStringList code = codeLines(readSource(QStringLiteral("README.md")));
    const QRegularExpression option(QStringLiteral("(?:^|\\s)(--?[a-z][a-z-]*)"));
    for (const QString &name : names) {
        const QString prefix = QStringLiteral("taldon-cli ") + name + ' ';
        const ProgramRun run = runCli({name, QStringLiteral("--help")});
        QCOMPARE(run.status, 0);
        const QString help = run.outText();
        int examples = 0;
        for (const QString &line : code) {
            if (!line.startsWith(prefix))
                continue;
            ++examples;
            for (auto it = option.globalMatch(line); it.hasNext();) {
                const QString used = it.next().captured(1);
                QVERIFY2(help.contains(used + ' ') || help.contains(used + ','),
                         qPrintable(name + QStringLiteral(": ") + used));
            }
        }
        QVERIFY2(examples > 0, qPrintable(QStringLiteral("no example of ") + name));
    }
}

void TestReadme::showsEveryScreenshotAtWindowSize()
{
    const QString readme = readSource(QStringLiteral("README.md"));
    const QRegularExpression image(QStringLiteral("!\\[[^\\]]*\\]\\(([^)]+)\\)"));
    QStringList shown;
    for (auto it = image.globalMatch(readme); it.hasNext();)
        shown << it.next().captured(1);
    const QStringList taken = QDir(sourcePath(QStringLiteral("docs/screenshots")))
                                  .entryList({QStringLiteral("*.png")}, QDir::Files, QDir::Name);
    // The welcome page and the three tabs.
    QCOMPARE(taken.size(), 4);
    for (const QString &file : taken)
        QVERIFY2(shown.contains(QStringLiteral("docs/screenshots/") + file), qPrintable(file));
    for (const QString &path : shown) {
        QImageReader reader(sourcePath(path));
        QVERIFY2(reader.canRead(), qPrintable(path));
        QCOMPARE(reader.size(), QSize(760, 578));
    }
}

QTEST_GUILESS_MAIN(TestReadme)
#include "tst_readme.moc"
