// Writes benchmark files for the stock filters into a directory: for each of text, integers and
// floats an answer of about the given size and an output that the filter accepts. The integer
// output is the answer byte for byte, as most accepted outputs are; the "intform" output writes
// the same integers otherwise (a plus sign, tabs), and the float output differs from its answer
// by less than 10^-3 in every number, so that in these each number is read.
// Usage: filter-bench-data <directory> [megabytes]

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

namespace
{

using LineMaker = void (*)(std::mt19937_64 &random, std::string &answer, std::string &output);

void textLine(std::mt19937_64 &random, std::string &answer, std::string &output)
{
    std::string line;
    const size_t length = 20 + random() % 100;
    for (size_t i = 0; i < length; ++i)
        line += static_cast<char>(' ' + random() % 95);
    answer += line + "\n";
    output += line + "\n";
}

void integerLine(std::mt19937_64 &random, std::string &answer, std::string &output)
{
    for (int i = 0; i < 10; ++i) {
        const long long value = static_cast<long long>(random()) >> (random() % 63);
        const std::string text = std::to_string(value) + (i < 9 ? " " : "\n");
        answer += text;
        output += text;
    }
}

void reformattedIntegerLine(std::mt19937_64 &random, std::string &answer, std::string &output)
{
    for (int i = 0; i < 10; ++i) {
        const long long value = static_cast<long long>(random()) >> (random() % 63);
        answer += std::to_string(value) + (i < 9 ? " " : "\n");
        output += (value >= 0 ? "+" : "") + std::to_string(value) + (i < 9 ? "\t" : "\n");
    }
}

void floatLine(std::mt19937_64 &random, std::string &answer, std::string &output)
{
    char buffer[64];
    for (int i = 0; i < 8; ++i) {
        const double value = (static_cast<double>(random() % 2000000000) - 1e9) / 1e4;
        const char end = i < 7 ? ' ' : '\n';
        std::snprintf(buffer, sizeof buffer, "%.6f%c", value, end);
        answer += buffer;
        std::snprintf(buffer, sizeof buffer, "%.6f%c", value + 0.0004, end);
        output += buffer;
    }
}

bool writeFile(const std::string &path, const std::string &content)
{
    FILE *file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    const bool written = std::fwrite(content.data(), 1, content.size(), file) == content.size();
    return std::fclose(file) == 0 && written;
}

bool writePair(const std::string &dir, const char *stem, LineMaker makeLine, size_t bytes)
{
    std::mt19937_64 random(20261206);
    std::string answer;
    std::string output;
    answer.reserve(bytes + 256);
    output.reserve(bytes + 256);
    while (answer.size() < bytes)
        makeLine(random, answer, output);
    return writeFile(dir + "/" + stem + ".ans", answer) &&
           writeFile(dir + "/" + stem + ".out", output);
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: %s <directory> [megabytes]\n", argv[0]);
        return 2;
    }
    const size_t bytes = (argc == 3 ? std::strtoul(argv[2], nullptr, 10) : 50) << 20;
    const std::string dir = argv[1];
    if (!writePair(dir, "text", textLine, bytes) || !writePair(dir, "int", integerLine, bytes) ||
        !writePair(dir, "intform", reformattedIntegerLine, bytes) ||
        !writePair(dir, "float", floatLine, bytes)) {
        std::perror("cannot write the benchmark files");
        return 1;
    }
    return 0;
}
