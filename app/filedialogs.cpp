#include "filedialogs.h"

#include <QDir>
#include <QFileDialog>

#include <pwd.h>
#include <unistd.h>

// Not the login name under /home: root's home is /root, and a dialog given a directory that
// does not exist opens its parent with the missing name typed in as the file name.
QString FileDialogs::startDirectory()
{
    const passwd *pw = getpwuid(geteuid());
    const QString home = pw && pw->pw_dir ? QFile::decodeName(pw->pw_dir) : QString();
    return !home.isEmpty() && QDir(home).exists() ? home : QDir::rootPath();
}

QString FileDialogs::proposedFile(const QString &contestName, const QString &ending)
{
    QString stem = contestName.isEmpty() ? QStringLiteral("比赛") : contestName;
    stem.replace('/', '_');
    return QDir(startDirectory()).filePath(stem + ending);
}

QString FileDialogs::getExistingDirectory(QWidget *parent, const QString &caption,
                                          const QString &dir)
{
    if (directoryChooser())
        return directoryChooser()(parent, caption, dir);
    return QFileDialog::getExistingDirectory(parent, caption, dir, QFileDialog::ShowDirsOnly);
}

QString FileDialogs::getOpenFileName(QWidget *parent, const QString &caption, const QString &dir,
                                     const QString &filter)
{
    if (openChooser())
        return openChooser()(parent, caption, dir, filter);
    return QFileDialog::getOpenFileName(parent, caption, dir, filter);
}

QString FileDialogs::getSaveFileName(QWidget *parent, const QString &caption, const QString &dir,
                                     const QString &filter)
{
    if (saveChooser())
        return saveChooser()(parent, caption, dir, filter);
    return QFileDialog::getSaveFileName(parent, caption, dir, filter);
}

void FileDialogs::replaceExistingDirectory(DirectoryChooser chooser)
{
    directoryChooser() = std::move(chooser);
}

void FileDialogs::replaceOpenFileName(FileChooser chooser)
{
    openChooser() = std::move(chooser);
}

void FileDialogs::replaceSaveFileName(FileChooser chooser)
{
    saveChooser() = std::move(chooser);
}

FileDialogs::DirectoryChooser &FileDialogs::directoryChooser()
{
    static DirectoryChooser chooser;
    return chooser;
}

FileDialogs::FileChooser &FileDialogs::openChooser()
{
    static FileChooser chooser;
    return chooser;
}

FileDialogs::FileChooser &FileDialogs::saveChooser()
{
    static FileChooser chooser;
    return chooser;
}
