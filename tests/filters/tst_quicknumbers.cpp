#include "filterrule.h"
#include "numberparse.h"
#include "quicknumbers.h"
#include "shortintegers.h"

#include <QtTest>

#include <cstring>
#include <random>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

// The quick readings of numbers against the exact parsers, which are their reference.
class TestQuickNumbers : public QObject
{
    Q_OBJECT

private slots:
    void readAsTheParsersDo();
    void linesMatchAtTheEdgeOfMemory();
    void integerLinesAsTheParsersDo();
};

namespace
{

std::string digits(std::mt19937_64 &random, size_t count)
{
    std::string text;
    for (size_t i = 0; i < count; ++i)
        text += char('0' + random() % 10);
    return text;
}

// Numbers of every length and form, now and then with a stray byte from beside the digits.
std::string randomToken(std::mt19937_64 &random)
{
    std::string token = random() % 3 ? "" : random() % 2 ? "-" : "+";
    token += std::string(random() % 4 == 0 ? random() % 6 : 0, '0') + digits(random, random() % 22);
    if (random() % 2)
        token += "." + digits(random, random() % 18);
    if (random() % 10 == 0)
        token += "e" + std::to_string(int(random() % 40) - 20);
    if (random() % 8 == 0)
        token.insert(random() % (token.size() + 1), 1, "/:.-+ex"[random() % 7]);
    return token;
}

// Digits, sign and point apart: what the quick readers promise to read.
bool inIntegerReach(const std::string &token)
{
    long long value = 0;
    return parseInteger(token, value) && token.size() - (token[0] == '-' || token[0] == '+') <= 19;
}

bool inRealReach(const std::string &token)
{
    double value = 0;
    if (!parseReal(token, value) || token.find_first_of("eE") != std::string::npos)
        return false;
    const size_t start = token[0] == '-' || token[0] == '+' ? 1 : 0;
    const size_t point = std::min(token.find('.'), token.size());
    const std::string whole = token.substr(start, point - start);
    const std::string fraction = point < token.size() ? token.substr(point + 1) : "";
    return whole.size() <= 15 && fraction.size() <= 15 && whole.size() + fraction.size() <= 19 &&
           std::stoull(whole + fraction) <= (uint64_t(1) << 53);
}

} // namespace

// What the quick readers read, the parsers take, as long and of the same bits; what they promise
// to read, they do; the digits after each line's end stay unread. Fixed: eight digits each side
// of the point, more than 2^53 in all, and a point just after a first word of digits.
void TestQuickNumbers::readAsTheParsersDo()
{
    const std::string fixed[] = {"91282193.01767377", "-12345678.87654321", "9007199254740993",
                                 "12345678.5"};
    std::mt19937_64 random(20261207);
    int read = 0;
    for (int i = 0; i < 300000; ++i) {
        const std::string token = i < 4 ? fixed[i] : randomToken(random);
        if (token.empty())
            continue;
        static const char *const Before[] = {"", "7 ", "\t-1\v"};
        static const char *const After[] = {"", " ", "\r", " 1 2 3 4 5 6 7 8 9 10 11 12 13 14"};
        const std::string before = Before[random() % 3];
        const std::string line = before + token + After[random() % 4];
        const std::string buffer = line + "12345678901234567890";
        const std::string_view view(buffer.data(), line.size());
        const size_t pos = before.size();
        long long integer = 0, quickInteger = 0;
        const bool isInteger = parseInteger(token, integer);
        const size_t integerLength = readIntegerQuickly(view, pos, quickInteger);
        QVERIFY2(integerLength == 0 ||
                     (isInteger && integerLength == token.size() && quickInteger == integer),
                 token.c_str());
        QVERIFY2(integerLength > 0 || !inIntegerReach(token), token.c_str());
        double real = 0, quickReal = 0;
        const bool isReal = parseReal(token, real);
        const size_t realLength = readRealQuickly(view, pos, quickReal);
        QVERIFY2(realLength == 0 || (isReal && realLength == token.size() &&
                                     !std::memcmp(&quickReal, &real, sizeof real)),
                 token.c_str());
        QVERIFY2(realLength > 0 || !inRealReach(token), token.c_str());
        read += integerLength > 0 || realLength > 0;
    }
    QVERIFY2(read > 100000, qPrintable(QString::number(read)));
}

// The quick comparison says what the full one would, on lines that end where readable memory
// ends: a read past them would crash.
void TestQuickNumbers::linesMatchAtTheEdgeOfMemory()
{
    const size_t page = size_t(sysconf(_SC_PAGESIZE));
    char *memory = static_cast<char *>(
        mmap(nullptr, 3 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
    QVERIFY(memory != MAP_FAILED);
    QCOMPARE(mprotect(memory + page, page, PROT_NONE), 0);
    // The output ends at the first page that may not be read, the answer at the second.
    const auto place = [&](char *end, const std::string &text) {
        std::memcpy(end - text.size(), text.data(), text.size());
        return std::string_view(end - text.size(), text.size());
    };
    const auto match = [&](const char *rule, const std::string &output, const std::string &answer) {
        return numbersMatchQuickly(place(memory + page, output), place(memory + 3 * page, answer),
                                   *parseFilterRule(rule));
    };
    const struct {
        const char *rule, *output, *answer;
        bool match;
    } lines[] = {
        {"slmn_int_e", "007 +5\t-0", "7 5 0", true},
        {"slmn_float_3e", "+1.5000 .25 3", "1.5 0.2501 3.", true},
        {"slmn_int_e", "1 2 \t", "1 2", true},
        {"slmn_int_e", "1 2 3", "1 2 4", false},
        {"slmn_int_e", "1 2 3", "1 2", false},
        {"slsn_int_e", "1 2", "1 2", false},
        {"slmn_float_1e", "1 x", "1 x", false},
    };
    for (const auto &line : lines)
        QVERIFY2(match(line.rule, line.output, line.answer) == line.match, line.output);
    for (const std::string text : {"7", "-1", "12 345", "1 22 333 4444 55555 666666 7777777",
                                   "1234567890123456789", "0.5 1234567.1234567", "+.25"}) {
        QCOMPARE(match("mlmn_int_e", text, text), text.find('.') == std::string::npos);
        QVERIFY(match("mlmn_float_3e", text, text));
        // Written otherwise, so that each number is read.
        QVERIFY(match("mlmn_float_3e", text, " " + text));
        const std::string_view output = place(memory + page, text);
        const size_t last = output.rfind(' ') + 1;
        const std::string token(output.substr(last));
        long long integer = 0;
        double real = 0;
        QCOMPARE(readIntegerQuickly(output, last, integer),
                 inIntegerReach(token) ? token.size() : 0);
        QCOMPARE(readRealQuickly(output, last, real), inRealReach(token) ? token.size() : 0);
    }
    QCOMPARE(munmap(memory, 3 * page), 0);
}

// Lines of integers written as their answers, read a block at a time: accepted exactly when the
// parser takes every token, without the number readers. Up to five blocks, so that tokens, signs
// and runs of 19 digits or more fall across the blocks' edges.
void TestQuickNumbers::integerLinesAsTheParsersDo()
{
    const std::optional<FilterRule> rule = parseFilterRule("mlmn_int_e");
    const LongTokenCheck parses = [](std::string_view line, size_t start) {
        const size_t end = std::min(line.find_first_of(" \t\v\f\r", start), line.size());
        long long value = 0;
        return parseInteger(line.substr(start, end - start), value);
    };
    // A sign that ends a block or the line or follows a digit across blocks, a newline, which
    // separates nothing, and a 19-digit token after a block's edge.
    const std::string fixed[] = {std::string(63, ' ') + "-",
                                 std::string(63, ' ') + "+1",
                                 std::string(63, '1').replace(60, 1, " ") + "-",
                                 "-1" + std::string(52, ' ') + "+1" + std::string(18, '0'),
                                 std::string(54, ' ') + "1234567890-5",
                                 "12\n34"};
    const size_t fixedCount = std::size(fixed);
    std::mt19937_64 random(20261208);
    int accepted = 0, refused = 0;
    for (int i = 0; i < 40000; ++i) {
        const bool isFixed = size_t(i) < fixedCount;
        std::string line = isFixed ? fixed[i] : random() % 2 ? "" : " ";
        bool integers = !isFixed || i == 1 || i == 3;
        const size_t count = isFixed ? 0 : 1 + random() % 24;
        for (size_t t = 0; t < count; ++t) {
            std::string token = random() % 3 ? "" : random() % 2 ? "-" : "+";
            // Mostly about 19 digits, where 64 bits end.
            const size_t length = random() % 2 ? 16 + random() % 6 : 1 + random() % 22;
            if (random() % 100)
                token += std::string(random() % 5 == 0 ? random() % 4 : 0, '0') +
                         (random() % 4 ? digits(random, length)
                                       : "922337203685477580" + digits(random, 1));
            if (random() % 200 == 0)
                token.insert(random() % (token.size() + 1), 1, "-+x.\n"[random() % 5]);
            long long value = 0;
            // A sign that is left alone is a token; nothing at all is only more blanks.
            integers = integers && (token.empty() || parseInteger(token, value));
            line += token + std::string(1 + random() % 2, " \t\v\f\r"[random() % 5]);
        }
        if (count > 0 && random() % 2)
            line.pop_back();
        const bool match = numbersMatchQuickly(line, line, *rule);
        QVERIFY2(match == integers, line.c_str());
#ifdef __SSE2__
        QVERIFY2(holdsIntegers(line, parses) == integers, line.c_str());
#endif
        (match ? accepted : refused)++;
    }
    QVERIFY2(accepted > 5000 && refused > 5000, qPrintable(QString::number(accepted)));
}

QTEST_GUILESS_MAIN(TestQuickNumbers)
#include "tst_quicknumbers.moc"
