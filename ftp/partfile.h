#ifndef TALDON_FTP_PARTFILE_H
#define TALDON_FTP_PARTFILE_H

#include <QByteArray>
#include <QString>

// A downloaded file on its way: written under a hidden name beside its final one and renamed
// into place by commit(), so that a transfer that fails leaves neither a truncated file nor the
// old copy damaged. Unlike a saved record file it is not synced to disk before the rename: a
// fetch that a crash interrupts is simply run again, and a sync per file would cost more than
// the whole transfer of a small submission.
class PartFile
{
public:
    explicit PartFile(const QString &path);
    ~PartFile();
    PartFile(const PartFile &) = delete;
    PartFile &operator=(const PartFile &) = delete;

    // Creates the hidden file; false with errorText() when it cannot be.
    bool open();
    bool write(const char *data, int size);
    // Closes the file and renames it to its final name.
    bool commit();
    QByteArray errorText() const { return error; }

private:
    bool failed(const QByteArray &what);

    QByteArray target;
    QByteArray part;
    QByteArray error;
    int fd = -1;
};

#endif
