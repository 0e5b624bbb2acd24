#ifndef TALDON_STATS_STATSGLOBALS_H
#define TALDON_STATS_STATSGLOBALS_H

class CSetupInfo;
class MyStat;
class TeamStat;

// The statistics of the open contest, shared by the pages; null until created.
extern MyStat *mystat;
extern TeamStat *teamstat;

// Discards both statistics objects and, for a contest, builds mystat again with every
// registered player and the results on disk. Run when a contest is opened or replaced, so
// that nothing goes on reading through the old one; teamstat stays null until the
// statistics page builds it.
void resetStats(CSetupInfo *setup);

#endif
