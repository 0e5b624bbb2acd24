#ifndef TALDON_APP_CFILEISSUEDLG_H
#define TALDON_APP_CFILEISSUEDLG_H

#include <QDialog>
#include <QString>

class Ui_CFileIssueDlg;

// A progress bar and a line of text shown while a long command runs on the window's thread.
// The caller shows it modally (show, not exec), advances it while letting the event loop run
// after each item, then calls wait() until the user presses OK.
class CFileIssueDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CFileIssueDlg(QWidget *parent = nullptr);
    ~CFileIssueDlg() override;

    // Runs the dialog modally and returns once it is closed.
    void wait();

public slots:
    virtual void setProgress(int value);
    virtual void setProgressRange(int min, int max);
    virtual void setProgressText(QString text);
    virtual void okSlot();

private:
    Ui_CFileIssueDlg *ui;
};

#endif
