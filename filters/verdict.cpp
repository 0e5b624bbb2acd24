#include "verdict.h"

namespace
{

constexpr size_t ExcerptBytes = 40;
constexpr size_t ExcerptLead = 10;
constexpr size_t MessageBytes = 300;

bool isContinuationByte(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Moves `pos` back to the first byte of the UTF-8 sequence it falls in.
size_t characterStart(std::string_view text, size_t pos)
{
    while (pos > 0 && pos < text.size() && isContinuationByte(text[pos]))
        --pos;
    return pos;
}

} // namespace

Verdict wrongAnswer(std::string message)
{
    return Verdict{Outcome::Wrong, std::move(message)};
}

Verdict badAnswer(std::string message)
{
    return Verdict{Outcome::BadAnswer, std::move(message)};
}

std::string excerpt(std::string_view line, size_t at)
{
    size_t begin = at > ExcerptLead * 2 ? characterStart(line, at - ExcerptLead) : 0;
    size_t end = line.size();
    if (end - begin > ExcerptBytes)
        end = characterStart(line, begin + ExcerptBytes);
    std::string text = "\"";
    if (begin > 0)
        text += "...";
    text.append(line.substr(begin, end - begin));
    if (end < line.size())
        text += "...";
    return text + "\"";
}

std::string safeMessage(std::string_view message)
{
    if (message.size() > MessageBytes)
        message = message.substr(0, characterStart(message, MessageBytes));
    std::string safe;
    for (const char c : message) {
        if (c == '{')
            safe += '(';
        else if (c == '}')
            safe += ')';
        else if (c == '\r')
            safe += "\\r";
        else if (c == '\t')
            safe += "\\t";
        else if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            safe += '?';
        else
            safe += c;
    }
    return safe;
}
