#ifndef TALDON_PAGES_VIEWRESULTDIALOG_H
#define TALDON_PAGES_VIEWRESULTDIALOG_H

#include "ui_viewresultdialog.h"

#include <QDialog>
#include <QMap>
#include <QString>

class CDayInfo;

// Shows the source program a player handed in for each task of the contest, read from
// <home>/players/day<d>/<id>/<task>/<task>.{c,cpp,pas}. The id can be edited to look at
// another player; the texts of all tasks are read again for every id.
class ViewResultDialog : public QDialog
{
    Q_OBJECT

public:
    ViewResultDialog(const QString &id, CDayInfo *days, int dayNum);

    void fillTaskCB();

public slots:
    void idChangedSlot(const QString &id);
    void taskChangedSlot(const QString &task);

private:
    Ui_ViewResultDialog ui;
    CDayInfo *days;
    int dayNum;
    QMap<QString, QString> texts;
};

#endif
