#ifndef TALDON_APP_PAGEGLOBALS_H
#define TALDON_APP_PAGEGLOBALS_H

class CDayInfo;
class CTaskInfo;
class QTreeWidgetItem;

// State the pages share with each other and with the evaluation thread. All of it points into
// the open contest, so it is cleared whenever that contest is replaced.

// Day chosen on the evaluation page.
extern CDayInfo *curDay;
// Task shown on the task configuration page.
extern CTaskInfo *curTask;
// Item selected in the task tree of the task configuration page.
extern QTreeWidgetItem *curItem;
// While false, the task configuration page ignores the change signals its own filling causes.
extern bool isResponse;

// Forgets curDay, curTask and curItem and makes isResponse true again.
void clearPageGlobals();

#endif
