#include "sheet/SheetPdf.h"

#include "sheet/PainterCanvas.h"
#include "sheet/RecordSheet.h"
#include <QBuffer>
#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <cmath>
#include <filesystem>
#include <limits>

namespace morvik {

namespace {
constexpr int kReferenceDpi = 300;
constexpr int kA4WidthAtReference = 2480;
constexpr int kA4HeightAtReference = 3508;
// The sheet prints "共%d页" from a 16-bit count; more pages cannot be numbered.
constexpr int kMaxPages = std::numeric_limits<std::int16_t>::max();
// The writer puts the document information, creation date included, at the very start.
constexpr int kInformationReach = 4096;

int scaled(int units, int dotsPerInch) {
    return static_cast<int>(std::lround(static_cast<double>(units) * dotsPerInch / kReferenceDpi));
}

bool fail(QString* error, const QString& reason) {
    if (error != nullptr)
        *error = reason;
    return false;
}

// Blanks the creation date the writer stamps, so identical input gives identical bytes.
// Blanks keep every offset of the cross-reference table valid and are legal between the
// entries of a dictionary.
void blankCreationDate(QByteArray& pdf) {
    static const QByteArray key = QByteArrayLiteral("/CreationDate (");
    const int start = pdf.indexOf(key);
    if (start < 0 || start > kInformationReach)
        return;
    const int end = pdf.indexOf(')', start + key.size());
    if (end < 0)
        return;
    for (int i = start; i <= end; ++i)
        pdf[i] = ' ';
}

// Draws the pages of `document` into `pdf`, each laid on `page` device units of the
// printable area of `layout`; false with a reason when a page cannot be added or the
// document cannot be finished.
bool renderSheets(const SheetDocument& document, const QPageLayout& layout, int dotsPerInch,
                  const PageSizeUnits& page, QByteArray& pdf, QString* error) {
    const QString cannot = QStringLiteral("cannot write the document");
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(dotsPerInch);
    writer.setPageLayout(layout);
    writer.setCreator(QStringLiteral("morvik"));
    QPainter painter;
    if (!painter.begin(&writer))
        return fail(error, cannot);
    {
        PainterCanvas canvas(painter);
        const int pages = document.pageCount(canvas, page.width, page.height);
        if (pages < 1 || pages > kMaxPages) {
            painter.end();
            return fail(error, pages < 1 ? QStringLiteral("no page to write")
                                         : QStringLiteral("too many pages"));
        }
        for (int n = 1; n <= pages; ++n) {
            if (n > 1 && !writer.newPage())
                return fail(error, cannot);
            document.drawPage(canvas, page.width, page.height, n);
        }
    }
    if (!painter.end())
        return fail(error, cannot);
    blankCreationDate(pdf);
    return true;
}

// A4 portrait without margins, the page as printers report A4 at that resolution.
bool renderSheets(const SheetDocument& document, int dotsPerInch, QByteArray& pdf, QString* error) {
    const QPageLayout a4(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0));
    return renderSheets(document, a4, dotsPerInch, a4PageUnits(dotsPerInch), pdf, error);
}

bool writeBytes(QIODevice& device, const QByteArray& bytes) {
    return device.write(bytes) == bytes.size();
}

bool writeSheetsPdfFile(const QString& path, const SheetDocument& document, int dotsPerInch,
                        QString* error) {
    // The old file stays until the new one is complete: QSaveFile writes beside it and
    // renames only when every byte reached the device (a full disk or a size limit used
    // to leave a truncated PDF in place of the old one, reported as success).
    const QString reason = QStringLiteral("cannot write ") + path;
    // A device or a pipe is never renamed over (a privileged user could replace one).
    std::error_code ec;
    const auto type = std::filesystem::status(QFile::encodeName(path).toStdString(), ec).type();
    const bool replaceable = type == std::filesystem::file_type::not_found ||
                             type == std::filesystem::file_type::regular;
    QSaveFile file(path);
    if (!replaceable || !file.open(QIODevice::WriteOnly))
        return fail(error, reason);
    QByteArray pdf;
    if (!renderSheets(document, dotsPerInch, pdf, error)) {
        file.cancelWriting();
        return false;
    }
    if (!writeBytes(file, pdf) || file.error() != QFileDevice::NoError || !file.commit())
        return fail(error, reason);
    return true;
}

} // namespace

SheetDocument recordSheetDocument(const SheetJob& job) {
    SheetDocument document;
    const int pages = job.members.size() > static_cast<std::size_t>(kMaxPages)
                          ? kMaxPages + 1
                          : static_cast<int>(job.members.size());
    document.pageCount = [&job, pages](SheetCanvas&, int, int) {
        return job.project == nullptr ? 0 : pages;
    };
    document.drawPage = [&job, pages](SheetCanvas& dc, int width, int height, int n) {
        RecordSheetContext context =
            sheetContext(*job.project, job.settings, static_cast<std::int16_t>(pages));
        context.batchMode = job.batchMode;
        context.batch = job.batch;
        DrawRecordSheet(dc, width, height, n, job.members[static_cast<std::size_t>(n - 1)],
                        context);
    };
    return document;
}

SheetDocument summarySheetDocument(const SummaryJob& job) {
    SheetDocument document;
    document.pageCount = [&job](SheetCanvas& dc, int width, int height) {
        return job.members.empty() ? 0 : summaryPageCount(dc, width, height, job);
    };
    document.drawPage = [&job](SheetCanvas& dc, int width, int height, int n) {
        DrawSummarySheet(dc, width, height, n, job);
    };
    return document;
}

PageSizeUnits a4PageUnits(int dotsPerInch) {
    return {scaled(kA4WidthAtReference, dotsPerInch), scaled(kA4HeightAtReference, dotsPerInch)};
}

bool writeSheetsPdf(QIODevice& device, const SheetDocument& document, int dotsPerInch,
                    QString* error) {
    QByteArray pdf;
    if (!renderSheets(document, dotsPerInch, pdf, error))
        return false;
    if (!writeBytes(device, pdf))
        return fail(error, QStringLiteral("cannot write the document"));
    return true;
}

bool writeSheetsPdf(QIODevice& device, const SheetDocument& document, const QPageLayout& layout,
                    int dotsPerInch, QString* error) {
    const QRect printable = layout.paintRectPixels(dotsPerInch);
    QByteArray pdf;
    if (!renderSheets(document, layout, dotsPerInch, {printable.width(), printable.height()}, pdf,
                      error))
        return false;
    if (!writeBytes(device, pdf))
        return fail(error, QStringLiteral("cannot write the document"));
    return true;
}

bool writeRecordSheetsPdf(QIODevice& device, const SheetJob& job, int dotsPerInch, QString* error) {
    return writeSheetsPdf(device, recordSheetDocument(job), dotsPerInch, error);
}

bool writeRecordSheetsPdf(const QString& path, const SheetJob& job, int dotsPerInch,
                          QString* error) {
    return writeSheetsPdfFile(path, recordSheetDocument(job), dotsPerInch, error);
}

bool writeSummaryPdf(QIODevice& device, const SummaryJob& job, int dotsPerInch, QString* error) {
    return writeSheetsPdf(device, summarySheetDocument(job), dotsPerInch, error);
}

bool writeSummaryPdf(const QString& path, const SummaryJob& job, int dotsPerInch, QString* error) {
    return writeSheetsPdfFile(path, summarySheetDocument(job), dotsPerInch, error);
}

} // namespace morvik
