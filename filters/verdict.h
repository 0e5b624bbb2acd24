#pragma once

#include <string>
#include <string_view>

// The outcome of judging one output: accepted, wrong, or a fault of the answer file itself
// (which is the organiser's to mend, so it is told apart from a wrong output).
enum class Outcome { Accepted, Wrong, BadAnswer };

struct Verdict {
    Outcome outcome = Outcome::Accepted;
    std::string message = "Accepted.";
};

Verdict wrongAnswer(std::string message);
Verdict badAnswer(std::string message);

// A quoted piece of a line for a message, starting a little before byte `at`: at most 40
// bytes, never cut inside a UTF-8 sequence, with "..." where it was shortened.
std::string excerpt(std::string_view line, size_t at = 0);

// The message as the judge may store it: one line, no '{' or '}' (the result file's block
// marks), no control bytes, and short enough for the judge's message buffer.
std::string safeMessage(std::string_view message);
