#ifndef TALDON_APP_NEWGAMEDLG_H
#define TALDON_APP_NEWGAMEDLG_H

#include <QDialog>
#include <QString>

class Ui_NewGameDlg;

// Asks for the name and the storage directory of a new contest. OK stays disabled until both
// are filled in.
class NewGameDlg : public QDialog
{
    Q_OBJECT

public:
    explicit NewGameDlg(QWidget *parent = nullptr);
    ~NewGameDlg() override;

    QString getContestName() const;
    QString getHomePath() const;

public slots:
    void openPathSlot();
    void textChangedSlot();

private:
    Ui_NewGameDlg *ui;
};

#endif
