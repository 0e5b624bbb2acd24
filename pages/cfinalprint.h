#ifndef TALDON_PAGES_CFINALPRINT_H
#define TALDON_PAGES_CFINALPRINT_H

#include "cfileissuedlg.h"

class QPainter;
class QPrinter;
class QTableWidget;
class QWidget;

// Prints a whole table of the statistics page as plain text columns onto a printer or a PDF
// file chosen in the print dialog. It is itself the progress dialog shown while it prints,
// left open on "Done..." until the user closes it. Every page is numbered in its footer.
class CFinalPrint : private CFileIssueDlg
{
    Q_OBJECT

public:
    CFinalPrint(QTableWidget *table, QWidget *parent);
    ~CFinalPrint() override;

    void setTitle(const QString &title);
    // The contest named in every page's footer.
    void setContestName(const QString &name);
    // Asks for the printer in the print dialog and prints; false when cancelled or failed.
    bool print();
    // Prints onto the printer as configured; false when it cannot be opened.
    bool start();

private:
    QTableWidget *table;
    QPrinter *printer;
    QPainter *painter;
    QString contestName;
};

#endif
