#include "statsglobals.h"

#include "mystat.h"
#include "teamstat.h"

MyStat *mystat = nullptr;
TeamStat *teamstat = nullptr;

void resetStats(CSetupInfo *setup)
{
    delete teamstat;
    teamstat = nullptr;
    delete mystat;
    mystat = nullptr;
    if (!setup)
        return;
    mystat = new MyStat(setup);
    mystat->addRegistered();
}
