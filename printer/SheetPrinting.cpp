#include "printer/SheetPrinting.h"

#include <QBuffer>
#include <QPageSize>
#include <QSizeF>

namespace morvik {

QPageLayout pageLayoutOf(const QueuePaper& paper) {
    // An exact size: a printer's Letter or A4 in whole points must not snap to the
    // standard's fractions, or the sheet would be laid out on another paper than printed.
    const QPageSize size(QSizeF(paper.width, paper.height), QPageSize::Point,
                         QString::fromStdString(paper.media), QPageSize::ExactMatch);
    return QPageLayout(size, QPageLayout::Portrait,
                       QMarginsF(paper.left, paper.top, paper.right, paper.bottom),
                       QPageLayout::Point);
}

std::optional<std::string> printSheets(const SheetDocument& document, const QPageLayout& layout,
                                       int dotsPerInch, const std::string& name,
                                       const std::string& title, const QueueCopies& copies) {
    QByteArray pdf;
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    QString error;
    if (!writeSheetsPdf(buffer, document, layout, dotsPerInch, &error))
        return "the pages could not be drawn: " + error.toStdString();
    return sendPdfJob(name, title,
                      std::string_view(pdf.constData(), static_cast<std::size_t>(pdf.size())),
                      copies);
}

} // namespace morvik
