#ifndef TALDON_PAGES_VIEWRESULTDIALOG_H
#define TALDON_PAGES_VIEWRESULTDIALOG_H

#include "ui_viewresultdialog.h"

#include <QDialog>
#include <QString>
#include <QStringList>

class CDayInfo;

// Shows what a player handed in for each task of the contest, the tasks listed day by day as
// "第<d>场 <task>": for a source task the program <home>/players/day<d>/<id>/<task>/<task>.{c,
// cpp,pas}, for an answer-file task each <task><i>.out there. Texts that are not UTF-8 are read
// as GB18030. The id can be edited to look at another player; the texts of all tasks are read
// again for every id.
class ViewResultDialog : public QDialog
{
    Q_OBJECT

public:
    ViewResultDialog(const QString &id, CDayInfo *days, int dayNum);

    void fillTaskCB();

public slots:
    void idChangedSlot(const QString &id);
    // Shows the text of the task at that place of the task list.
    void taskChangedSlot(int index);

private:
    Ui_ViewResultDialog ui;
    CDayInfo *days;
    int dayNum;
    // One text per entry of the task list, in its order.
    QStringList texts;
};

#endif
