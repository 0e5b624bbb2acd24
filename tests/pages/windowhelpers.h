#ifndef TALDON_TESTS_PAGES_WINDOWHELPERS_H
#define TALDON_TESTS_PAGES_WINDOWHELPERS_H

#include "filedialogs.h"
#include "mainwindow.h"

#include <QAction>
#include <QString>
#include <QWidget>

// The named widget below window. A missing one stops the run: every later step would only
// fail on a null pointer.
template <class W> W *child(QWidget *window, const char *name)
{
    W *found = window->findChild<W *>(QString::fromLatin1(name));
    if (!found)
        qFatal("no widget %s", name);
    return found;
}

template <class W> W *child(QWidget &window, const char *name)
{
    return child<W>(&window, name);
}

// Opens the contest whose setup file is setupFile as Open would, the file dialog answered.
inline void openSetupFile(MainWindow &window, const QString &setupFile)
{
    FileDialogs::replaceOpenFileName([setupFile](QWidget *, const QString &, const QString &,
                                                 const QString &) { return setupFile; });
    child<QAction>(window, "openGameAct")->trigger();
    FileDialogs::replaceOpenFileName({});
}

#endif
