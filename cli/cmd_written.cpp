#include "cliutil.h"
#include "commands.h"
#include "csetupinfo.h"
#include "mystat.h"
#include "writtenscores.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QTextStream>

int cmdWritten(const QStringList &args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Imports the written-exam scores (导入笔试成绩): copies FILE, lines <id>@<score>, into the "
        "contest home as written.txt, which the statistics, exports and reports read from then "
        "on. Prints every registered player's written score."));
    addContestArgument(parser);
    parser.addPositionalArgument(QStringLiteral("file"),
                                 QStringLiteral("The written-exam score file."));
    const int parsed = parseCommand(parser, QStringLiteral("written"), args, 2);
    if (parsed >= 0)
        return parsed;

    CSetupInfo setup;
    if (!openContest(QStringLiteral("written"), parser, &setup))
        return CliBadInput;
    const QString file = parser.positionalArguments().at(1);
    if (!QFileInfo(file).isFile() || !QFileInfo(file).isReadable())
        return reportError(CliBadInput, QStringLiteral("written: cannot read ") + file);
    if (!installWrittenScores(setup.getHome(), file))
        return reportError(CliFailed, QStringLiteral("written: cannot write ") +
                                          writtenScoresPath(setup.getHome()));

    MyStat stat(&setup);
    stat.addRegistered();
    QTextStream out(stdout);
    out.setCodec("UTF-8");
    if (setup.getPlayerInfo()) {
        for (const PlayerInfo &player : *setup.getPlayerInfo()->getPlayerInfo())
            out << player.id << " written=" << stat.getPlayerStat(player.id).getWritten() << '\n';
    }
    return CliOk;
}
