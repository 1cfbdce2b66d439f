#include "controls/Prompt.h"

#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace morvik {

namespace {

// Where no printer is installed the sheets go to a PDF file instead.
const FileDialogRequest kPdfOutputRequest{
    QStringLiteral("砂浆抗压强度贯入检测记录表.pdf"),
    QStringLiteral("pdf"),
    QStringLiteral("PDF 文件"),
    QStringLiteral("*.pdf"),
};

} // namespace

bool WidgetPrompt::choosePrinter(QWidget* parent, QPrinter& printer, int firstPage, int lastPage) {
    if (QPrinterInfo::availablePrinterNames().isEmpty()) {
        const std::optional<QString> path = saveFileName(parent, kPdfOutputRequest);
        if (!path)
            return false;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(*path);
        printer.setPrintRange(QPrinter::AllPages);
        return true;
    }
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    dialog.setOption(QAbstractPrintDialog::PrintCollateCopies, true);
    dialog.setMinMax(firstPage, lastPage);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace morvik
