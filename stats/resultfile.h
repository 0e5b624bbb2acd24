#ifndef TALDON_STATS_RESULTFILE_H
#define TALDON_STATS_RESULTFILE_H

#include <QByteArray>
#include <QList>
#include <QString>

// One test point line of a result block: "code score time message".
struct ResultPoint {
    int code = 0;
    int score = 0;
    float time = 0.0f;
    QString message;
};

// One task block of a result file, as every reader takes it.
struct ResultBlock {
    // The first word after a '{' that opens the header line; empty when the line holds a '{'
    // elsewhere.
    QString name;
    // The header's code and the text after it (" Compile failed." without its blank).
    int code = 0;
    bool headerOk = false;
    QString text;
    QList<ResultPoint> points;
    bool hasTrailer = false;
    bool trailerOk = false;
    int trailerTotal = 0;

    // Why the evaluation of the task failed, when it did: the block's header or one of its
    // test points carries the code -106 (the task or a run could not be evaluated). Empty for
    // a sound outcome, a compile failure or a missing source included.
    QString failure() const;
};

// The result file of a player for one day (format written by the evaluation engine), read by
// one set of rules for the statistics, the status of an evaluation and the score reports:
//
// - A file whose lines holding '{' and lines holding '}' do not pair off (an evaluation cut
//   off before a trailer, or a brace in a message) is not read at all.
// - A line holding '{' starts a block; lines before the first block are skipped.
// - Otherwise a line that starts with a test point code (101, -105, -103, -106, -108) is a test
//   point line of the current block; otherwise a line holding '}' is its trailer.
class ResultFile
{
public:
    // The blocks of the file at path, in file order. False, with no blocks, when the file
    // cannot be opened or fails the brace check.
    static bool read(const QString &path, QList<ResultBlock> *blocks);
    // The same for the bytes of a file.
    static bool parse(const QByteArray &content, QList<ResultBlock> *blocks);
};

#endif
