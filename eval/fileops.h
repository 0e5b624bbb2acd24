#ifndef TALDON_EVAL_FILEOPS_H
#define TALDON_EVAL_FILEOPS_H

#include <QByteArray>

#include <sys/types.h>

// File work of the evaluation done in-process on UTF-8 byte paths, so that no name or path
// ever passes through a shell. Each function but writeAll reports its failures on standard error.

// Writes all of data to fd, going on after interruptions and short writes. It makes no call
// but write(), so the child of a threaded program may use it between fork and exec.
bool writeAll(int fd, const void *data, size_t size);
// Removes a file, link or whole directory tree; a missing path is not an error.
bool removeEntry(const QByteArray &path);
// Removes everything inside a directory, hidden entries included.
bool emptyDirectory(const QByteArray &dir);
// Replaces `to` with a copy of `from` carrying the permission bits `mode`.
bool copyFile(const QByteArray &from, const QByteArray &to, mode_t mode);
// Copies the visible entries of directory `from` into directory `to`, recursively, keeping
// their permission bits. Symbolic links are skipped: a submission must not bring in a file
// it could not read itself.
bool copyTree(const QByteArray &from, const QByteArray &to);

#endif
