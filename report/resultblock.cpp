#include "resultblock.h"

namespace
{

ResultBlock startBlock(const QString &line)
{
    ResultBlock block;
    block.header = line.mid(1);
    const int blank = block.header.indexOf(QLatin1Char(' '));
    block.name = block.header.left(blank);
    const QString rest = blank < 0 ? QString() : block.header.mid(blank + 1);
    bool ok = false;
    block.code = rest.section(QLatin1Char(' '), 0, 0).toInt(&ok);
    block.headerOk = ok && !block.name.isEmpty();
    return block;
}

void finishBlock(ResultBlock *block, const QString &line)
{
    const QStringList numbers = line.mid(1).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    bool ok = false;
    const int total = numbers.value(1).toInt(&ok);
    block->total = ok ? total : 0;
    block->complete = true;
}

} // namespace

QList<ResultBlock> ResultBlock::parse(const QByteArray &content)
{
    QList<ResultBlock> blocks;
    bool open = false;
    for (const QByteArray &raw : content.split('\n')) {
        const QString line = QString::fromUtf8(raw).remove(QLatin1Char('\r'));
        if (line.startsWith(QLatin1Char('{'))) {
            blocks << startBlock(line);
            open = true;
        } else if (open && line.startsWith(QLatin1Char('}'))) {
            finishBlock(&blocks.last(), line);
            open = false;
        } else if (open) {
            blocks.last().body << line;
        }
    }
    return blocks;
}

QString ResultBlock::headerText() const
{
    const int first = header.indexOf(QLatin1Char(' '));
    const int second = first < 0 ? -1 : header.indexOf(QLatin1Char(' '), first + 1);
    return second < 0 ? QString() : header.mid(second);
}

PointLine parsePointLine(const QString &line)
{
    PointLine point;
    const int b1 = line.indexOf(QLatin1Char(' '));
    const int b2 = b1 < 0 ? -1 : line.indexOf(QLatin1Char(' '), b1 + 1);
    const int b3 = b2 < 0 ? -1 : line.indexOf(QLatin1Char(' '), b2 + 1);
    if (b1 >= 0)
        point.score = line.mid(b1 + 1, b2 < 0 ? -1 : b2 - b1 - 1).toInt();
    if (b2 >= 0)
        point.time = line.mid(b2 + 1, b3 < 0 ? -1 : b3 - b2 - 1).toFloat();
    if (b3 >= 0)
        point.message = line.mid(b3);
    return point;
}
