#include "filterrule.h"

namespace
{

// "<prefix>int_e" and "<prefix>float_<k>e": the prefix tells how many lines and numbers.
std::optional<FilterRule> parseNumberRule(std::string_view name)
{
    if (name.size() < 5 || name[4] != '_')
        return std::nullopt;
    const std::string_view prefix = name.substr(0, 4);
    FilterRule rule;
    if (prefix == "slsn" || prefix == "slmn" || prefix == "mlsn" || prefix == "mlmn") {
        rule.multiLine = prefix[0] == 'm';
        rule.manyNumbers = prefix[2] == 'm';
    } else {
        return std::nullopt;
    }
    const std::string_view suffix = name.substr(5);
    if (suffix == "int_e") {
        rule.kind = FilterKind::Integer;
        return rule;
    }
    // The task page writes a single precision digit; 1 to 9 all have a clear meaning.
    if (suffix.size() == 8 && suffix.substr(0, 6) == "float_" && suffix[7] == 'e' &&
        suffix[6] >= '1' && suffix[6] <= '9') {
        rule.kind = FilterKind::Float;
        rule.precision = suffix[6] - '0';
        return rule;
    }
    return std::nullopt;
}

} // namespace

std::optional<FilterRule> parseFilterRule(std::string_view name)
{
    FilterRule rule;
    if (name == "fulltext_e")
        return rule;
    if (name == "slss_filterspace_e" || name == "mlss_filterspace_e") {
        rule.kind = FilterKind::FilterSpace;
        rule.multiLine = name[0] == 'm';
        return rule;
    }
    return parseNumberRule(name);
}

std::string_view baseName(std::string_view path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}
