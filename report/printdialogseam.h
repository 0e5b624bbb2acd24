#ifndef TALDON_REPORT_PRINTDIALOGSEAM_H
#define TALDON_REPORT_PRINTDIALOGSEAM_H

#include <functional>

class QPrinter;
class QWidget;

// Lets the user configure printer (device, file, pages) before a table is printed; true when
// the user accepted. By default the platform print dialog; tests replace it with a hook that
// points the printer at a PDF file.
bool runPrintDialog(QPrinter *printer, QWidget *parent);

using PrintDialogHook = std::function<bool(QPrinter *printer, QWidget *parent)>;
// Replaces the print dialog; an empty hook restores it.
void setPrintDialogHook(const PrintDialogHook &hook);

#endif
