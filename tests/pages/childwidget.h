#ifndef TALDON_TESTS_PAGES_CHILDWIDGET_H
#define TALDON_TESTS_PAGES_CHILDWIDGET_H

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

#endif
