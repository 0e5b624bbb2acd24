#include "playerinfo.h"

#include "teaminfo.h"

bool PlayerInfo::operator==(const PlayerInfo &other) const
{
    return id.toUpper() == other.id.toUpper();
}

bool PlayerInfo::operator<(const PlayerInfo &other) const
{
    return id.toUpper() < other.id.toUpper();
}

bool PlayerInfo::belongTeam(const TeamInfo &team) const
{
    return belongTeam(team.id);
}

bool PlayerInfo::belongTeam(const QString &teamId) const
{
    return id.contains(teamId);
}

namespace
{

// Line and paragraph separators break a line for many readers, though not for ours.
bool hasControl(const QString &text)
{
    for (const QChar c : text) {
        const QChar::Category kind = c.category();
        if (kind == QChar::Other_Control || kind == QChar::Separator_Line ||
            kind == QChar::Separator_Paragraph)
            return true;
    }
    return false;
}

const int MaxIdBytes = 200;

} // namespace

QString PlayerInfo::idProblem(const QString &text)
{
    if (text.isEmpty())
        return QStringLiteral("编号不能为空");
    if (text == QLatin1String(".") || text == QLatin1String(".."))
        return QStringLiteral("编号不能是 . 或 ..");
    for (const QChar separator : {QChar('@'), QChar(','), QChar('/')}) {
        if (text.contains(separator))
            return QStringLiteral("编号不能含有 %1").arg(separator);
    }
    if (hasControl(text))
        return QStringLiteral("编号不能含有换行或控制字符");
    if (text.toUtf8().size() > MaxIdBytes)
        return QStringLiteral("编号太长");
    return QString();
}

QString PlayerInfo::nameProblem(const QString &text)
{
    if (text.contains('@'))
        return QStringLiteral("姓名不能含有 @");
    if (hasControl(text))
        return QStringLiteral("姓名不能含有换行或控制字符");
    return QString();
}
