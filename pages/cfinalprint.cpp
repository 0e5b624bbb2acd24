#include "cfinalprint.h"

#include "filedialogs.h"
#include "pdfpartfile.h"
#include "printdialogseam.h"
#include "tablepages.h"

#include <QCoreApplication>
#include <QDir>
#include <QPainter>
#include <QPrinter>
#include <QTableWidget>

CFinalPrint::CFinalPrint(QTableWidget *table, QWidget *parent)
    : CFileIssueDlg(parent), table(table), printer(new QPrinter(QPrinter::ScreenResolution)),
      painter(new QPainter)
{
}

CFinalPrint::~CFinalPrint()
{
    delete painter;
    delete printer;
}

void CFinalPrint::setTitle(const QString &title)
{
    setWindowTitle(title);
}

void CFinalPrint::setContestName(const QString &name)
{
    contestName = name;
}

bool CFinalPrint::print()
{
    if (!table)
        return false;
    printer->setOutputFileName(QDir(FileDialogs::startDirectory()).filePath("result.pdf"));
    if (!runPrintDialog(printer, parentWidget()))
        return false;
    return start();
}

bool CFinalPrint::start()
{
    setModal(true);
    show();
    PdfPartFile output(printer);
    if (!painter->begin(printer)) {
        hide();
        return false;
    }
    setProgressText(QStringLiteral("Printing..."));
    setProgressRange(0, table->rowCount());
    drawTablePages(printer, painter, table, contestName, [this](int rows) {
        setProgress(rows);
        QCoreApplication::processEvents();
    });
    const bool written = output.commit(painter->end());
    setProgressText(written ? QStringLiteral("Done...") : QStringLiteral("Failed..."));
    wait();
    return written;
}
