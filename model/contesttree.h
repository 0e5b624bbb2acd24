#ifndef TALDON_MODEL_CONTESTTREE_H
#define TALDON_MODEL_CONTESTTREE_H

#include <QString>
#include <QStringList>

// Lays out a new contest's directory tree: the home with its fixed subdirectories, and the
// stock comparison filters copied into its filter directory.
class ContestTree
{
public:
    // Creates home (with missing parents), then players, data, result, final, tmp, filter and
    // evaldata, leaving existing ones alone, and copies every file of stockFilterDir into
    // home/filter with its permission bits. A missing or empty stockFilterDir copies nothing.
    // Returns false when a directory cannot be created or a filter cannot be copied.
    static bool makeTree(const QString &home, const QString &stockFilterDir);
    // A contest home as the contest keeps it: absolute and clean. The evaluation works in
    // <home>/tmp, where a relative home would stop meaning the same directory.
    static QString absoluteHome(const QString &path);
    // The stock filters that come with the program: the first of stockFilterCandidates that
    // holds a file, or an empty string when none does (the caller should say so).
    static QString stockFilterDir();
    // Where the stock filters may be, in order: <program directory>filter (unless the program
    // was started by its bare name), filter beside the real executable, and the installed
    // directory, both relative to the real executable and as configured.
    static QStringList stockFilterCandidates();
    // The directory the stock filters were installed in: as configured, unless the environment
    // variable TALDON_FILTER_DIR names another (a relocated installation, or a test that must
    // not see what is installed on the machine; empty names none).
    static QString installedFilterDir();
    // The first of dirs that holds at least one file, or an empty string.
    static QString firstFilterDir(const QStringList &dirs);

private:
    static bool copyFilters(const QString &from, const QString &to);
};

#endif
