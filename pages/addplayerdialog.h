#ifndef TALDON_PAGES_ADDPLAYERDIALOG_H
#define TALDON_PAGES_ADDPLAYERDIALOG_H

#include <QDialog>
#include <QString>

class QLineEdit;
class QPushButton;

// Asks for a new player's name and id. The confirm button is enabled only while both fields
// hold text; blanks count as text.
class AddPlayerDialog : public QDialog
{
    Q_OBJECT

public:
    explicit AddPlayerDialog(QWidget *parent = nullptr);

    QString getPlayerName() const;
    QString getPalyerId() const;

public slots:
    void textChangedSlot();

private:
    QLineEdit *nameLE;
    QLineEdit *idLE;
    QPushButton *okPB;
    QPushButton *cancelPB;
};

#endif
