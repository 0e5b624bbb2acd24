#include "resultfile.h"

#include <QFile>

namespace
{

const char *const pointCodes[] = {"101", "-105", "-103", "-106", "-108"};
const int failedCode = -106;

bool bracesBalance(const QList<QByteArray> &lines)
{
    int depth = 0;
    bool header = false;
    for (const QByteArray &line : lines) {
        if (line.contains('{')) {
            ++depth;
            header = true;
        }
        if (line.contains('}'))
            --depth;
    }
    return header && depth == 0;
}

bool isPointLine(const QByteArray &line)
{
    for (const char *code : pointCodes) {
        if (line.startsWith(code))
            return true;
    }
    return false;
}

// The text after the n-th blank of line (counted from 1), or an empty string.
QString afterBlank(const QString &line, int n)
{
    int at = -1;
    for (int i = 0; i < n; ++i) {
        at = line.indexOf(' ', at + 1);
        if (at < 0)
            return QString();
    }
    return line.mid(at + 1);
}

ResultBlock headerBlock(const QByteArray &line)
{
    ResultBlock block;
    if (!line.startsWith('{'))
        return block;
    const QList<QByteArray> words = line.mid(1).simplified().split(' ');
    block.name = QString::fromUtf8(words.value(0));
    block.code = words.value(1).toInt(&block.headerOk);
    block.headerOk = block.headerOk && !block.name.isEmpty();
    block.text = afterBlank(QString::fromUtf8(line.mid(1)), 2);
    return block;
}

ResultPoint pointOf(const QByteArray &line)
{
    const QList<QByteArray> fields = line.simplified().split(' ');
    ResultPoint point;
    point.code = fields.value(0).toInt();
    point.score = fields.value(1).toInt();
    point.time = fields.value(2).toFloat();
    point.message = afterBlank(QString::fromUtf8(line), 3);
    return point;
}

// The trailer is "}102 <total>".
void readTrailer(const QByteArray &line, ResultBlock *block)
{
    block->hasTrailer = true;
    block->trailerOk = false;
    if (!line.startsWith('}'))
        return;
    const QList<QByteArray> fields = line.mid(1).simplified().split(' ');
    bool codeOk = false;
    fields.value(0).toInt(&codeOk);
    const int total = fields.value(1).toInt(&block->trailerOk);
    block->trailerOk = block->trailerOk && codeOk;
    if (block->trailerOk)
        block->trailerTotal = total;
}

} // namespace

QString ResultBlock::failure() const
{
    if (code == failedCode)
        return text;
    for (int i = 0; i < points.size(); ++i) {
        if (points.at(i).code == failedCode)
            return QStringLiteral("测试点%1: %2").arg(i + 1).arg(points.at(i).message);
    }
    return QString();
}

bool ResultFile::read(const QString &path, QList<ResultBlock> *blocks)
{
    blocks->clear();
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && parse(file.readAll(), blocks);
}

bool ResultFile::parse(const QByteArray &content, QList<ResultBlock> *blocks)
{
    blocks->clear();
    QList<QByteArray> lines = content.split('\n');
    for (QByteArray &line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
    }
    if (!bracesBalance(lines))
        return false;
    for (const QByteArray &line : qAsConst(lines)) {
        if (line.contains('{'))
            blocks->append(headerBlock(line));
        else if (blocks->isEmpty())
            continue;
        else if (isPointLine(line))
            blocks->last().points.append(pointOf(line));
        else if (line.contains('}'))
            readTrailer(line, &blocks->last());
    }
    return true;
}
