#ifndef TALDON_TESTS_COMMON_WIDGETS_H
#define TALDON_TESTS_COMMON_WIDGETS_H

#include "filedialogs.h"

#include <QAction>
#include <QStringList>
#include <QTableWidget>
#include <QWidget>

#include <functional>

// The child of that type and object name. A missing one ends the run at once: every later step
// would only crash on it.
template <typename T> T *child(QWidget *parent, const char *name)
{
    T *found = parent->findChild<T *>(QString::fromLatin1(name));
    if (!found)
        qFatal("no widget %s", name);
    return found;
}

template <typename T> T *child(QWidget &parent, const char *name)
{
    return child<T>(&parent, name);
}

// The texts of a table row, "<none>" for a cell without an item.
inline QStringList rowTexts(const QTableWidget *table, int row)
{
    QStringList texts;
    for (int c = 0; c < table->columnCount(); ++c)
        texts << (table->item(row, c) ? table->item(row, c)->text() : QStringLiteral("<none>"));
    return texts;
}

// Runs act with the open-file dialog answering path, as if the user had chosen that file.
inline void withOpenFile(const QString &path, const std::function<void()> &act)
{
    FileDialogs::replaceOpenFileName(
        [path](QWidget *, const QString &, const QString &, const QString &) { return path; });
    act();
    FileDialogs::replaceOpenFileName({});
}

// Opens the contest of setupFile in window through File > Open.
inline void openFromMenu(QWidget *window, const QString &setupFile)
{
    withOpenFile(setupFile, [window] { child<QAction>(window, "openGameAct")->trigger(); });
}

#endif
