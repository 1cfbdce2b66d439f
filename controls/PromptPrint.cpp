#include "controls/PromptPrint.h"

#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace morvik {

FileDialogRequest pdfOutputRequest(const QString& documentName) {
    return FileDialogRequest{
        (documentName.isEmpty() ? QStringLiteral("砂浆抗压强度贯入检测记录表") : documentName) +
            QStringLiteral(".pdf"),
        QStringLiteral("pdf"),
        QStringLiteral("PDF 文件"),
        QStringLiteral("*.pdf"),
    };
}

bool choosePdfOutput(Prompt& prompt, QWidget* parent, QPrinter& printer) {
    const std::optional<QString> path =
        prompt.saveFileName(parent, pdfOutputRequest(printer.docName()));
    if (!path)
        return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(*path);
    printer.setPrintRange(QPrinter::AllPages);
    return true;
}

bool WidgetPrompt::choosePrinter(QWidget* parent, QPrinter& printer, int firstPage, int lastPage) {
    if (QPrinterInfo::availablePrinterNames().isEmpty())
        return choosePdfOutput(*this, parent, printer);
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    dialog.setOption(QAbstractPrintDialog::PrintCollateCopies, true);
    dialog.setMinMax(firstPage, lastPage);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace morvik
