#ifndef TALDON_APP_FILEDIALOGS_H
#define TALDON_APP_FILEDIALOGS_H

#include <QString>

#include <functional>

class QWidget;

// The one way the window and its pages ask the user for a file or a directory. Each call shows
// the toolkit's dialog unless a replacement was installed, which lets tests answer the dialogs
// without a user. An empty result means the user cancelled.
class FileDialogs
{
public:
    using DirectoryChooser =
        std::function<QString(QWidget *parent, const QString &caption, const QString &dir)>;
    using FileChooser = std::function<QString(QWidget *parent, const QString &caption,
                                              const QString &dir, const QString &filter)>;

    // The effective user's home directory, from the password database: where every dialog for
    // contest data starts. Falls back to the root directory when there is none.
    static QString startDirectory();
    // The file a save dialog proposes in the start directory: the contest's name followed by
    // ending ("比赛" for a contest without a name; a '/' in the name becomes '_').
    static QString proposedFile(const QString &contestName, const QString &ending);

    static QString getExistingDirectory(QWidget *parent, const QString &caption,
                                        const QString &dir);
    static QString getOpenFileName(QWidget *parent, const QString &caption, const QString &dir,
                                   const QString &filter);
    static QString getSaveFileName(QWidget *parent, const QString &caption, const QString &dir,
                                   const QString &filter);

    // An empty function restores the toolkit's dialog.
    static void replaceExistingDirectory(DirectoryChooser chooser);
    static void replaceOpenFileName(FileChooser chooser);
    static void replaceSaveFileName(FileChooser chooser);

private:
    static DirectoryChooser &directoryChooser();
    static FileChooser &openChooser();
    static FileChooser &saveChooser();
};

#endif
