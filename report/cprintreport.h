#ifndef TALDON_REPORT_CPRINTREPORT_H
#define TALDON_REPORT_CPRINTREPORT_H

#include <QString>
#include <QStringList>
#include <QWidget>

#include <memory>
#include <vector>

class CDayInfo;
class CTaskInfo;
class QPainter;
struct ResultBlock;
class PdfPartFile;
class QPrinter;
class ScoreTable;

using ScoreTables = std::vector<std::unique_ptr<ScoreTable>>;

// One player's score report for one day: a title block, per task a table of the test points
// with the task total, and a summary of all totals with the day's base score. The results come
// from the player's result file, read as the statistics read it, every score in points. Rendered
// into a PDF file (written beside the target and renamed into place) or onto the default printer.
// Never shown: the widget only carries the state.
class CPrintReport : public QWidget
{
    Q_OBJECT

public:
    CPrintReport(const QString &resultFile, const QString &outputFile, bool toFile);
    ~CPrintReport() override;

    void setDayinfo(CDayInfo *day) { dayInfo = day; }
    void setPrintInfo(const QString &headline, const QString &playerName, const QString &playerId,
                      const QString &machineId);
    bool prepare();
    bool print();
    bool drawTitle(int *y);
    bool drawBody(int *y);
    ScoreTables buildScoreTable();
    bool getScoreFromFile(ScoreTables &tables);
    bool drawTable(int *y, const ScoreTables &tables);
    bool drawFoot(int *y, const ScoreTables &tables);

private:
    int lineHeight() const;
    int pageWidth() const;
    int pageHeight() const;
    void drawPlayerLine(int *y, int left, int right);
    void hline(int left, int right, int y);
    void vlines(const QList<int> &xs, int top, int bottom);
    QList<int> columnEdges() const;
    int drawRow(int baseline, const QStringList &cells, const QList<int> &edges);
    int footColumnWidth(const QStringList &cells, int columns) const;
    void drawGrid(int *y, const ScoreTable &table);
    void drawNote(int *y, int y0, ScoreTable &table);
    void drawTotal(int *y, int total);
    static void fillPoints(ScoreTable *table, const ResultBlock &block, const CTaskInfo &task);

    QString resultFile;
    QPrinter *printer;
    QPainter *painter;
    QString headline;
    QString playerName;
    QString playerId;
    QString machineId;
    CDayInfo *dayInfo = nullptr;
    std::unique_ptr<PdfPartFile> partFile;
};

#endif
