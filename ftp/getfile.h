#ifndef TALDON_FTP_GETFILE_H
#define TALDON_FTP_GETFILE_H

#include <QDialog>

#include <memory>

class CSetupInfo;
class GetByFTP;

namespace Ui
{
class GetFile;
}

// The fetch dialog: downloads a directory from an FTP server into the contest's players
// directory and reports the outcome in a message box. The settings reach the client as the
// user types them.
class GetFile : public QDialog
{
    Q_OBJECT

public:
    GetFile(CSetupInfo *setup, QWidget *parent);
    ~GetFile() override;

public slots:
    virtual void serverSlot(const QString &text);
    virtual void portSlot(const QString &text);
    virtual void nameSlot(const QString &text);
    virtual void passwdSlot(const QString &text);
    virtual void dirSlot(const QString &text);
    virtual void getSlot();

protected:
    // Shows the outcome; tests override it to read the outcome without a modal box.
    virtual void report(const QString &title, const QString &text);

private:
    std::unique_ptr<Ui::GetFile> ui;
    std::unique_ptr<GetByFTP> ftp;
    CSetupInfo *setup;
};

#endif
