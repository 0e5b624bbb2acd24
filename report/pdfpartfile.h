#ifndef TALDON_REPORT_PDFPARTFILE_H
#define TALDON_REPORT_PDFPARTFILE_H

#include <QString>

class QPrinter;

// A PDF file is written under a hidden name beside its target and renamed into place once
// complete, so a failed run never leaves a half-written file under the real name.
class PdfPartFile
{
public:
    // Points printer at the hidden name when it prints to a file; a printer that prints to a
    // device is left alone.
    explicit PdfPartFile(QPrinter *printer);
    ~PdfPartFile();

    // Renames the hidden file into place when painting ended well; removes it otherwise.
    bool commit(bool ended);

private:
    QString target;
    QString part;
};

#endif
