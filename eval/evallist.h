#ifndef TALDON_EVAL_EVALLIST_H
#define TALDON_EVAL_EVALLIST_H

#include <QList>
#include <QString>

class MyThread;

// One player of an evaluation: the row of the player table and the player id.
struct _evaldata {
    int row;
    QString id;
};

// The players of the evaluation about to run, in table order; filled before the thread starts
// and only read by it.
extern QList<_evaldata> evallist;
// The running evaluation thread, or null.
extern MyThread *t;

#endif
