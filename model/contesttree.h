#ifndef TALDON_MODEL_CONTESTTREE_H
#define TALDON_MODEL_CONTESTTREE_H

#include <QString>

// Lays out a new contest's directory tree: the home with its fixed subdirectories, and the
// stock comparison filters copied into its filter directory.
class ContestTree
{
public:
    // Creates home (with missing parents), then players, data, result, final, tmp, filter and
    // evaldata, leaving existing ones alone, and copies every file of stockFilterDir into
    // home/filter with its permission bits. A missing stockFilterDir copies nothing. Returns
    // false when a directory cannot be created or a filter cannot be copied.
    static bool makeTree(const QString &home, const QString &stockFilterDir);
    // The stock filters that come with the program: <program directory>filter.
    static QString stockFilterDir();

private:
    static bool copyFilters(const QString &from, const QString &to);
};

#endif
