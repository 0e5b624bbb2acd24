#include "pdfpartfile.h"

#include <QFile>
#include <QFileInfo>
#include <QPrinter>

#include <cstdio>

PdfPartFile::PdfPartFile(QPrinter *printer)
{
    if (printer->outputFileName().isEmpty())
        return;
    target = printer->outputFileName();
    const QFileInfo info(target);
    part = info.absolutePath() + "/." + info.fileName() + ".part";
    if (printer->outputFormat() != QPrinter::PdfFormat)
        printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(part);
}

PdfPartFile::~PdfPartFile()
{
    if (!part.isEmpty())
        QFile::remove(part);
}

bool PdfPartFile::commit(bool ended)
{
    if (part.isEmpty())
        return ended;
    const bool renamed = ended && QFileInfo(part).isFile() &&
                         std::rename(QFile::encodeName(part).constData(),
                                     QFile::encodeName(target).constData()) == 0;
    QFile::remove(part);
    part.clear();
    return renamed;
}
