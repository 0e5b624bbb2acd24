#include "filedialogs.h"

#include "globals.h"

#include <QFileDialog>

QString FileDialogs::startDirectory()
{
    return QStringLiteral("/home/") + username;
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
