#ifndef TALDON_FTP_FTPLISTING_H
#define TALDON_FTP_FTPLISTING_H

#include <QByteArray>
#include <QList>
#include <QString>

// One entry of a directory listing, as the download needs it.
struct FtpListEntry {
    // The bytes the server listed, sent back unchanged in RETR and CWD.
    QByteArray name;
    // The name of the local copy (set by FtpListing::read).
    QString localName;
    bool isDir = false;
    bool isLink = false;
    // The size the listing gave; -1 for none (directories, links, whose size is the target's
    // name).
    qint64 size = -1;
};

// One directory listing read into entries, in the long Unix form most servers send or the
// MS-DOS form of Windows servers. Local names are decoded for the whole listing at once: as
// UTF-8 when every name is valid UTF-8, else as GB18030 (what Chinese Windows machines write).
// Entries that would leave the directory or land on one local name are not listed but
// reported.
class FtpListing
{
public:
    // A long-form or MS-DOS line; false for others ("total 12", a cut line).
    static bool parseLine(const QByteArray &line, FtpListEntry *entry);
    static bool parseUnixLine(const QByteArray &line, FtpListEntry *entry);
    static bool parseDosLine(const QByteArray &line, FtpListEntry *entry);
    // A remote entry name that stays inside the directory it is listed in.
    static bool isSafeName(const QByteArray &name);
    // The name as shown in messages: as it stands when UTF-8, else with its bytes escaped.
    static QByteArray shown(const QByteArray &name);

    // Reads a whole listing; false when it cannot stand for the directory at all (cut short, or
    // not one line readable). problems() then, and for single entries, says what went wrong.
    bool read(const QByteArray &data);
    const QList<FtpListEntry> &entries() const { return items; }
    const QList<QByteArray> &problems() const { return faults; }
    // Names left out because they would leave the directory ("a/b"; "." and ".." are not
    // counted).
    const QList<QByteArray> &refused() const { return unsafe; }
    // Whether the names were taken as GB18030.
    bool legacyNames() const { return legacy; }

private:
    void name(QList<FtpListEntry> *parsed);

    QList<FtpListEntry> items;
    QList<QByteArray> faults;
    QList<QByteArray> unsafe;
    bool legacy = false;
};

#endif
