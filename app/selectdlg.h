#ifndef TALDON_APP_SELECTDLG_H
#define TALDON_APP_SELECTDLG_H

#include <QDialog>
#include <QString>

class Ui_SelectDlg;

// Asks the user to pick one entry of a combo box. Callers add a placeholder entry first, so
// getSelectIndex() gives -1 for the placeholder and 0 for the first real entry. Callers set the
// title, centre the dialog and run it modally; a result other than Accepted means no choice.
class SelectDlg : public QDialog
{
    Q_OBJECT

public:
    explicit SelectDlg(QWidget *parent = nullptr);
    ~SelectDlg() override;

public slots:
    virtual void setTips(QString text);
    virtual int getSelectIndex();
    virtual void addItem(QString text);

private:
    Ui_SelectDlg *ui;
};

#endif
