#pragma once

#include <optional>
#include <string_view>

// What a stock filter compares, read from the name it was started under.
enum class FilterKind { FullText, FilterSpace, Integer, Float };

struct FilterRule {
    FilterKind kind = FilterKind::FullText;
    bool multiLine = false;   // every line, not only the first
    bool manyNumbers = false; // any count of numbers per line, not exactly one
    int precision = 0;        // k of a float rule: numbers may differ by 10^-k
};

// The rule for a filter name such as "mlmn_float_3e", or none for a name we do not know.
std::optional<FilterRule> parseFilterRule(std::string_view name);

// The part of a path after its last '/'.
std::string_view baseName(std::string_view path);
