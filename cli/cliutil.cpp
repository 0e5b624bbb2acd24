#include "cliutil.h"

#include "csetupinfo.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>

int reportError(int status, const QString &message)
{
    QTextStream err(stderr);
    err.setCodec("UTF-8");
    err << "taldon-cli: " << message << '\n';
    return status;
}

int parseCommand(QCommandLineParser &parser, const QString &name, const QStringList &args,
                 int positionals)
{
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help."));
    parser.addOption(help);
    if (!parser.parse(QStringList{QStringLiteral("taldon-cli ") + name} + args))
        return reportError(CliBadInput, name + QStringLiteral(": ") + parser.errorText());
    if (parser.isSet(help)) {
        // The parser names only the program in its usage line; the subcommand belongs there too.
        QString text = parser.helpText();
        const QString usage = QStringLiteral("Usage: ") + QCoreApplication::arguments().value(0);
        if (text.startsWith(usage))
            text.insert(usage.size(), QLatin1Char(' ') + name);
        QTextStream out(stdout);
        out.setCodec("UTF-8");
        out << text;
        return CliOk;
    }
    const int given = parser.positionalArguments().size();
    if (positionals >= 0 ? given != positionals : given < -positionals)
        return reportError(CliBadInput,
                           QStringLiteral("%1: expected %2%3 argument(s), got %4 (see --help)")
                               .arg(name)
                               .arg(positionals >= 0 ? QString() : QStringLiteral("at least "))
                               .arg(qAbs(positionals))
                               .arg(parser.positionalArguments().size()));
    return -1;
}

void addContestArgument(QCommandLineParser &parser)
{
    parser.addPositionalArgument(QStringLiteral("contest"),
                                 QStringLiteral("The contest home or its setup.cfg."));
}

bool openContest(const QString &command, const QCommandLineParser &parser, CSetupInfo *setup)
{
    const QString contest = parser.positionalArguments().value(0);
    QFileInfo info(contest);
    if (info.isDir())
        info.setFile(info.absoluteFilePath() + QStringLiteral("/setup.cfg"));
    if (!info.isFile()) {
        reportError(CliBadInput, command + QStringLiteral(": no such contest: ") + contest);
        return false;
    }
    setup->loadSetupInfo(info.absoluteFilePath());
    for (const QString &notice : setup->loadNotices())
        reportError(CliOk, command + QStringLiteral(": ") + notice);
    return true;
}

int dayOption(const QCommandLineParser &parser, const QString &option, CSetupInfo &setup)
{
    bool isNumber = false;
    const int day = parser.value(option).toInt(&isNumber);
    return isNumber && day >= 1 && day <= setup.getDayNum() ? day : 0;
}
