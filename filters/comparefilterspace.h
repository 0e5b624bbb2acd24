#pragma once

#include "verdict.h"

#include <string_view>

// Accepts when the lines are equal once every blank and tab is removed from them: the first
// lines only, or every line when `multiLine` is set.
Verdict compareFilterSpace(std::string_view output, std::string_view answer, bool multiLine);
