#include "printdialogseam.h"

#include <QPrintDialog>

namespace
{

PrintDialogHook &currentHook()
{
    static PrintDialogHook hook;
    return hook;
}

} // namespace

bool runPrintDialog(QPrinter *printer, QWidget *parent)
{
    if (currentHook())
        return currentHook()(printer, parent);
    QPrintDialog dialog(printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

void setPrintDialogHook(const PrintDialogHook &hook)
{
    currentHook() = hook;
}
