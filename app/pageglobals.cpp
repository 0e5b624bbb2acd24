#include "pageglobals.h"

CDayInfo *curDay = nullptr;
CTaskInfo *curTask = nullptr;
QTreeWidgetItem *curItem = nullptr;
bool isResponse = true;

void clearPageGlobals()
{
    curDay = nullptr;
    curTask = nullptr;
    curItem = nullptr;
    isResponse = true;
}
