#pragma once

#include "filterrule.h"
#include "verdict.h"

// Reads the output to judge and the answer file and compares them by `rule`. An output that
// cannot be read is wrong; an answer file that cannot be read is a bad answer.
Verdict judgeFiles(const FilterRule &rule, const char *outputPath, const char *answerPath);
