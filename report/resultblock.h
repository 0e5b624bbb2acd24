#ifndef TALDON_REPORT_RESULTBLOCK_H
#define TALDON_REPORT_RESULTBLOCK_H

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// One task block of a result file as written by the evaluation: the header "{name code text",
// the body lines and the trailer "}102 total". A block cut off before its trailer (evaluation
// stopped half-way) is kept, marked incomplete.
class ResultBlock
{
public:
    // The blocks of a whole result file, in file order; lines outside blocks are ignored.
    static QList<ResultBlock> parse(const QByteArray &content);

    QString header; // the header line without its "{"
    QString name;   // first word of the header
    int code = 0;   // second word of the header
    bool headerOk = false;
    QStringList body;
    int total = 0; // second number of the trailer, 0 when unreadable
    bool complete = false;

    // The header's text from its second blank on, the blank included (" Compile failed.").
    QString headerText() const;
};

// A body line "code score time message" cut at its first three blanks; missing or unreadable
// numbers are 0 and the message keeps its leading blank.
struct PointLine {
    int score = 0;
    float time = 0.0f;
    QString message;
};
PointLine parsePointLine(const QString &line);

#endif
