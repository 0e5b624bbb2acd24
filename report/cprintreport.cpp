#include "cprintreport.h"

#include "cdayinfo.h"
#include "drawstring.h"
#include "pdfpartfile.h"
#include "reportdate.h"
#include "reportfont.h"
#include "resultfile.h"
#include "scoretable.h"
#include "taskresult.h"

#include <QDate>
#include <QFile>
#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>

namespace
{

const QString pointHeading = QStringLiteral("测试点");

const ResultBlock *lastBlockOf(const QList<ResultBlock> &blocks, const QString &task)
{
    for (int i = blocks.size() - 1; i >= 0; --i) {
        if (blocks.at(i).name == task)
            return &blocks.at(i);
    }
    return nullptr;
}

} // namespace

CPrintReport::CPrintReport(const QString &resultFile, const QString &outputFile, bool toFile)
    : resultFile(resultFile), printer(new QPrinter(QPrinter::ScreenResolution)),
      painter(new QPainter)
{
    if (!toFile)
        return;
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(outputFile);
    partFile = std::make_unique<PdfPartFile>(printer);
}

CPrintReport::~CPrintReport()
{
    delete painter;
    delete printer;
}

void CPrintReport::setPrintInfo(const QString &headline, const QString &playerName,
                                const QString &playerId, const QString &machineId)
{
    this->headline = headline;
    this->playerName = playerName;
    this->playerId = playerId;
    this->machineId = machineId;
}

bool CPrintReport::prepare()
{
    if (!dayInfo)
        return false;
    printer->setFullPage(false);
    return painter->begin(printer);
}

bool CPrintReport::print()
{
    if (!painter || !prepare())
        return false;
    int y = 10;
    painter->setFont(reportFont(15, QFont::Bold));
    drawTitle(&y);
    painter->setFont(reportFont(10));
    drawBody(&y);
    const bool ended = painter->end();
    return partFile ? partFile->commit(ended) : ended;
}

int CPrintReport::lineHeight() const
{
    return painter->fontMetrics().height();
}

int CPrintReport::pageWidth() const
{
    return printer->width();
}

int CPrintReport::pageHeight() const
{
    return printer->height();
}

bool CPrintReport::drawTitle(int *y)
{
    const int right = pageWidth() - 10;
    *y += lineHeight() + 2;
    DrawString(painter, y, 10, right, headline + " " + dayInfo->getDayname(), 3);
    DrawString(painter, y, 10, right, QStringLiteral("成绩单"), 3);
    DrawString(painter, y, 10, right, reportDate(QDate::currentDate()), 2);
    drawPlayerLine(y, 10, right);
    return true;
}

// Name on the left, id centred, machine on the right, on one line; an id that the name reaches
// moves after it. When the three cannot share a line without touching, each takes its own.
void CPrintReport::drawPlayerLine(int *y, int left, int right)
{
    const QString name = QStringLiteral("姓名:") + playerName;
    const QString id = QStringLiteral("编号:") + playerId;
    const QString machine = QStringLiteral("机器编号:") + machineId;
    const QFontMetrics metrics = painter->fontMetrics();
    const int gap = metrics.horizontalAdvance(QStringLiteral("  "));
    const int idWidth = metrics.horizontalAdvance(id);
    const int idX =
        qMax(left + (right - left - idWidth) / 2, left + metrics.horizontalAdvance(name) + gap);
    if (idX + idWidth + gap > right - metrics.horizontalAdvance(machine)) {
        DrawString(painter, y, left, right, name, 1);
        DrawString(painter, y, left, right, id, 3);
        DrawString(painter, y, left, right, machine, 2);
        return;
    }
    int nameY = *y;
    int idY = *y;
    DrawString(painter, &nameY, left, right, name, 1);
    DrawString(painter, &idY, idX, right, id, 1);
    DrawString(painter, y, left, right, machine, 2);
}

bool CPrintReport::drawBody(int *y)
{
    const ScoreTables tables = buildScoreTable();
    if (tables.empty())
        return false;
    drawTable(y, tables);
    *y += 2;
    drawFoot(y, tables);
    return true;
}

ScoreTables CPrintReport::buildScoreTable()
{
    ScoreTables tables;
    if (!dayInfo || dayInfo->getTaskNum() <= 0)
        return tables;
    for (int t = 0; t < dayInfo->getTaskNum(); ++t) {
        const CTaskInfo *task = dayInfo->getTaskInfo(t);
        tables.push_back(std::make_unique<ScoreTable>(task->getTaskname(), task->getTimelimit(),
                                                      task->getSamplenum()));
    }
    if (!getScoreFromFile(tables))
        tables.clear();
    return tables;
}

// Each task shows the last block written for it: a task evaluated again appends a newer
// block. The file is read by the statistics' rules and every score is printed in points, so a
// printed row, a task total, the window and the CSV agree.
bool CPrintReport::getScoreFromFile(ScoreTables &tables)
{
    QFile file(resultFile);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QList<ResultBlock> blocks;
    const bool readable = ResultFile::parse(file.readAll(), &blocks);
    for (int t = 0; t < static_cast<int>(tables.size()); ++t) {
        ScoreTable &table = *tables[t];
        const ResultBlock *block = lastBlockOf(blocks, table.taskName);
        if (!readable || (block && (!block->headerOk || !block->hasTrailer))) {
            table.note = tr("Evaluation result file reads failed");
        } else if (block && block->code <= 0) {
            table.note = QStringLiteral(" ") + block->text;
        } else if (block) {
            fillPoints(&table, *block, *dayInfo->getTaskInfo(t));
        }
    }
    return true;
}

void CPrintReport::fillPoints(ScoreTable *table, const ResultBlock &block, const CTaskInfo &task)
{
    TaskResult result(block.name);
    result.takeRaw(block);
    result.toPoints(task);
    table->rows = table->sampleNum;
    for (int k = 0; k < table->sampleNum && k < 99; ++k) {
        table->scores[k] = result.score[k + 1];
        table->times[k] = result.time[k + 1];
        if (k < block.points.size())
            table->messages[k] = QStringLiteral(" ") + block.points.at(k).message;
    }
    table->total = result.total;
}

void CPrintReport::hline(int left, int right, int y)
{
    painter->drawLine(left, y, right, y);
}

void CPrintReport::vlines(const QList<int> &xs, int top, int bottom)
{
    for (int x : xs)
        painter->drawLine(x, top, x, bottom);
}

// The test point column is widened when its heading would not fit in 40 pixels in the font
// at hand, so the heading is never split; the time column keeps its 50 pixels.
QList<int> CPrintReport::columnEdges() const
{
    const int W = pageWidth();
    const int first = qMax(40, painter->fontMetrics().horizontalAdvance(pointHeading) + 4);
    return {10, 10 + first, 60 + first, W - 50, W - 10};
}

// Cell c lies between edges c and c + 1; the row ends at its tallest cell.
int CPrintReport::drawRow(int baseline, const QStringList &cells, const QList<int> &edges)
{
    int bottom = baseline;
    for (int c = 0; c + 1 < edges.size(); ++c) {
        int y = baseline;
        DrawString(painter, &y, edges.at(c), edges.at(c + 1), cells.value(c), 3);
        bottom = qMax(bottom, y);
    }
    return bottom;
}

bool CPrintReport::drawTable(int *y, const ScoreTables &tables)
{
    painter->setPen(QPen(Qt::black, 1, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    const int h = lineHeight();
    for (const auto &table : tables) {
        int y0 = *y;
        const int needed = (table->rows != 0 ? table->sampleNum + 2 : 3) * (h + 2);
        if (y0 + needed > pageHeight()) {
            printer->newPage();
            *y = y0 = 10;
        }
        const QString heading = QStringLiteral("题目:%1").arg(table->taskName) + " " +
                                QStringLiteral("测试点数量:%1").arg(table->sampleNum) + " " +
                                QStringLiteral("时间限制:%1").arg(table->timeLimit, 3, 'f', 3);
        DrawString(painter, y, 10, pageWidth() - 10, heading, 1);
        *y += 2;
        if (table->rows != 0)
            drawGrid(y, *table);
        else
            drawNote(y, y0, *table);
        drawTotal(y, table->total);
    }
    return true;
}

// A table longer than a page goes on over the next pages, each part closed by its own lines
// and headed by the header row again, so that no test point falls off the sheet.
void CPrintReport::drawGrid(int *y, const ScoreTable &table)
{
    const int W = pageWidth();
    const int h = lineHeight();
    const QList<int> columns = columnEdges();
    const QStringList header = {pointHeading, QStringLiteral("用时"), QStringLiteral("评测结果"),
                                QStringLiteral("得分")};
    int top = *y - h;
    hline(10, W - 10, top);
    int bottom = drawRow(*y, header, columns);
    hline(10, W - 10, bottom - h);
    for (int k = 0; k < table.sampleNum; ++k) {
        if (bottom + h + 2 > pageHeight()) {
            vlines(columns, top, bottom - h);
            printer->newPage();
            top = 10;
            hline(10, W - 10, top);
            bottom = drawRow(10 + h, header, columns);
            hline(10, W - 10, bottom - h);
        }
        bottom = drawRow(bottom,
                         {QStringLiteral("%1").arg(k + 1),
                          QStringLiteral("%1").arg(table.times[k], 3, 'f', 3), table.messages[k],
                          QStringLiteral("%1").arg(table.scores[k])},
                         columns);
        hline(10, W - 10, bottom - h);
    }
    vlines(columns, top, bottom - h);
    *y = bottom;
}

void CPrintReport::drawNote(int *y, int y0, ScoreTable &table)
{
    const int W = pageWidth();
    if (table.note.isEmpty())
        table.note = tr("There are some errors in the result file.");
    hline(10, W - 10, y0 + 2);
    DrawString(painter, y, 10, W - 10, table.note, 3);
    const int bottom = *y - lineHeight();
    vlines({10, W - 10}, y0 + 2, bottom);
    hline(10, W - 10, bottom);
}

void CPrintReport::drawTotal(int *y, int total)
{
    const int W = pageWidth();
    const int h = lineHeight();
    const int b = *y;
    int labelY = b;
    DrawString(painter, &labelY, 10, W - 52, QStringLiteral("本题总得分"), 2);
    int e = b;
    DrawString(painter, &e, W - 50, W - 10, QStringLiteral("%1").arg(total), 3);
    hline(W - 50, W - 10, e - h);
    vlines({W - 50, W - 10}, b - h, e - h);
    *y = e + h;
}

// At least 40 pixels, wide enough for the widest task name or number when the page allows;
// names too long for that wrap inside their column.
int CPrintReport::footColumnWidth(const QStringList &cells, int columns) const
{
    int widest = 0;
    for (const QString &cell : cells)
        widest = qMax(widest, painter->fontMetrics().horizontalAdvance(cell) + 6);
    return qMax(40, qMin(widest, (pageWidth() - 20) / columns));
}

bool CPrintReport::drawFoot(int *y, const ScoreTables &tables)
{
    const int h = lineHeight();
    const int n = static_cast<int>(tables.size());
    if (*y + 2 * (h + 2) > pageHeight()) {
        printer->newPage();
        *y = 10;
    }
    QStringList names;
    QStringList totals;
    int sum = 0;
    for (const auto &table : tables) {
        names << table->taskName;
        totals << QString::number(table->total);
        sum += table->total;
    }
    names << QStringLiteral("基本分") << QStringLiteral("总分");
    totals << QString::number(dayInfo->getBaseScore())
           << QString::number(sum + dayInfo->getBaseScore());
    const int width = footColumnWidth(names + totals, n + 2);
    QList<int> xs;
    for (int c = 0; c <= n + 2; ++c)
        xs << 10 + width * c;
    const int r1 = drawRow(*y, names, xs);
    const int r2 = drawRow(r1, totals, xs);
    for (int line : {*y - h, r1 - h, r2 - h})
        hline(10, xs.last(), line);
    vlines(xs, *y - h, r2 - h);
    *y = r2 + h;
    return true;
}
