#include "ftplisting.h"

#include "textdecoder.h"

#include <QHash>
#include <QVector>

namespace
{

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool isNumber(const QByteArray &text)
{
    if (text.isEmpty())
        return false;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

bool isMonth(const QByteArray &text)
{
    static const QByteArray months = "JanFebMarAprMayJunJulAugSepOctNovDec";
    return text.size() == 3 && months.indexOf(text) % 3 == 0;
}

bool hasLineBreak(const QByteArray &text)
{
    return text.contains('\r') || text.contains('\n') || text.contains('\0');
}

// The blank-separated words of line, at most max of them, with the offset just past each.
struct Words {
    QList<QByteArray> words;
    QList<int> ends;
};

Words splitWords(const QByteArray &line, int max)
{
    Words w;
    int i = 0;
    while (w.words.size() < max) {
        while (i < line.size() && isBlank(line[i]))
            ++i;
        int start = i;
        while (i < line.size() && !isBlank(line[i]))
            ++i;
        if (i == start)
            break;
        w.words << line.mid(start, i - start);
        w.ends << i;
    }
    return w;
}

// The text after the blank that follows offset; names may begin with blanks of their own.
QByteArray nameAfter(const QByteArray &line, int offset)
{
    if (offset >= line.size() || !isBlank(line[offset]))
        return QByteArray();
    return line.mid(offset + 1);
}

} // namespace

bool FtpListing::parseUnixLine(const QByteArray &line, FtpListEntry *entry)
{
    const Words w = splitWords(line, 8);
    if (w.words.size() < 7 || !QByteArray("-dlbcps").contains(w.words[0][0]))
        return false;
    // Permissions, links, owner, group, size, month, day, time or year, name; some servers
    // leave out the group.
    int month = w.words.size() == 8 && isMonth(w.words[5]) ? 5 : isMonth(w.words[4]) ? 4 : 5;
    if (month + 2 >= w.words.size())
        return false;
    QByteArray name = nameAfter(line, w.ends[month + 2]);
    const char type = w.words[0][0];
    if (type == 'l') {
        int arrow = name.indexOf(" -> ");
        if (arrow >= 0)
            name.truncate(arrow);
    }
    if (name.isEmpty())
        return false;
    entry->name = name;
    entry->isDir = type == 'd';
    entry->isLink = type == 'l';
    const QByteArray &size = w.words[month - 1];
    entry->size = type == '-' && isNumber(size) ? size.toLongLong() : -1;
    return true;
}

// "01-15-24  10:30AM       <DIR>          day1" or "01-15-24  10:30AM     1234 add.c".
bool FtpListing::parseDosLine(const QByteArray &line, FtpListEntry *entry)
{
    const Words w = splitWords(line, 3);
    if (w.words.size() < 3)
        return false;
    const QByteArray &date = w.words[0];
    const QByteArray &time = w.words[1];
    const bool dateOk = (date.size() == 8 || date.size() == 10) && date[2] == '-' &&
                        date[5] == '-' && isNumber(date.left(2) + date.mid(3, 2) + date.mid(6));
    QByteArray clock = time;
    if (clock.endsWith("AM") || clock.endsWith("PM"))
        clock.chop(2);
    const bool timeOk =
        clock.size() == 5 && clock[2] == ':' && isNumber(clock.left(2) + clock.mid(3));
    const bool isDir = w.words[2] == "<DIR>";
    if (!dateOk || !timeOk || (!isDir && !isNumber(w.words[2])))
        return false;
    QByteArray name;
    if (isDir) {
        // The listing pads "<DIR>" with ten blanks; blanks beyond them belong to the name.
        int i = w.ends[2];
        for (int pad = 0; pad < 10 && i < line.size() && isBlank(line[i]); ++pad)
            ++i;
        if (i > w.ends[2])
            name = line.mid(i);
    } else {
        name = nameAfter(line, w.ends[2]);
    }
    if (name.isEmpty())
        return false;
    entry->name = name;
    entry->isDir = isDir;
    entry->isLink = false;
    entry->size = isDir ? -1 : w.words[2].toLongLong();
    return true;
}

bool FtpListing::parseLine(const QByteArray &line, FtpListEntry *entry)
{
    return parseUnixLine(line, entry) || parseDosLine(line, entry);
}

bool FtpListing::isSafeName(const QByteArray &name)
{
    return !name.isEmpty() && name != "." && name != ".." && !name.contains('/') &&
           !hasLineBreak(name);
}

QByteArray FtpListing::shown(const QByteArray &name)
{
    if (TextDecoder::isUtf8(name))
        return name;
    QByteArray text;
    for (char c : name) {
        if (uchar(c) < 0x80)
            text += c;
        else
            text += "\\x" + QByteArray::number(uchar(c), 16);
    }
    return text;
}

bool FtpListing::read(const QByteArray &data)
{
    items.clear();
    faults.clear();
    unsafe.clear();
    // Every line of a listing ends with a line end: one without it was cut off on the way.
    if (!data.isEmpty() && !data.endsWith('\n')) {
        faults << "the listing was cut short";
        return false;
    }
    QList<FtpListEntry> parsed;
    QList<QByteArray> unreadable;
    for (QByteArray line : data.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        FtpListEntry entry;
        if (parseLine(line, &entry))
            parsed << entry;
        else if (!line.trimmed().isEmpty() && !line.startsWith("total "))
            unreadable << line;
    }
    if (parsed.isEmpty() && !unreadable.isEmpty()) {
        faults << "the listing could not be read: " + shown(unreadable.first());
        return false;
    }
    for (const QByteArray &line : unreadable)
        faults << "unreadable listing line: " + shown(line);
    name(&parsed);
    return true;
}

// Decodes the names of the listing and keeps the entries that land on a local name of their
// own.
void FtpListing::name(QList<FtpListEntry> *parsed)
{
    QList<FtpListEntry> safe;
    legacy = false;
    for (const FtpListEntry &entry : *parsed) {
        if (entry.name == "." || entry.name == "..")
            continue;
        if (!isSafeName(entry.name)) {
            unsafe << entry.name;
            continue;
        }
        legacy = legacy || !TextDecoder::isUtf8(entry.name);
        safe << entry;
    }
    QHash<QString, int> seen;
    QVector<bool> clash(safe.size(), false);
    for (int i = 0; i < safe.size(); ++i) {
        FtpListEntry &entry = safe[i];
        entry.localName =
            legacy ? TextDecoder::fromGb18030(entry.name) : QString::fromUtf8(entry.name);
        const auto first = seen.constFind(entry.localName);
        if (first == seen.constEnd()) {
            seen.insert(entry.localName, i);
            continue;
        }
        clash[i] = clash[*first] = true;
        faults << "\"" + shown(safe[*first].name) + "\" and \"" + shown(entry.name) +
                      "\" would both be saved as \"" + entry.localName.toUtf8() +
                      "\"; neither was fetched";
    }
    for (int i = 0; i < safe.size(); ++i) {
        if (!clash[i])
            items << safe[i];
    }
}
