#ifndef TALDON_MODEL_CUSTOMFILTER_H
#define TALDON_MODEL_CUSTOMFILTER_H

#include <QString>

// How a custom comparison filter chosen by the organiser was made available to the engine,
// which runs filters by name from the contest's filter directory.
enum class FilterPlacement {
    InPlace,   // that very file, or one with the same contents, is already there
    Copied,    // copied there, with the chosen file's permissions
    NameTaken, // another file of that name is there; nothing was changed
    Failed     // the file could not be read, or not written with its permissions
};

// Places the program at path into <home>/filter under its own file name, or under `name` when
// one is given. An existing different file of that name is replaced only when replace is true.
FilterPlacement placeCustomFilter(const QString &home, const QString &path, bool replace,
                                  const QString &name = QString());

#endif
