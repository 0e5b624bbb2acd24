#pragma once

#include "verdict.h"

#include <string_view>

// Accepts when the two files are equal byte for byte (line ends and blanks included).
Verdict compareFullText(std::string_view output, std::string_view answer);
