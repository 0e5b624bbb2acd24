#pragma once

#include "verdict.h"

#include <functional>
#include <optional>
#include <string_view>

// Compares two lines; no value when they match, else the verdict on them.
using LineComparer = std::function<std::optional<Verdict>(
    std::string_view output, std::string_view answer, size_t lineNumber)>;

// Runs `compare` over the first lines only, or over every line when `multiLine` is set; then
// the two files must hold the same number of lines once blank lines at their ends are left out.
Verdict compareLines(std::string_view output, std::string_view answer, bool multiLine,
                     const LineComparer &compare);
