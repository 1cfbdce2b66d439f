#include "sheet/SheetPdf.h"

#include "sheet/PainterCanvas.h"
#include "sheet/RecordSheet.h"
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

int scaled(int units, int dotsPerInch) {
    return static_cast<int>(std::lround(static_cast<double>(units) * dotsPerInch / kReferenceDpi));
}
} // namespace

PageSizeUnits a4PageUnits(int dotsPerInch) {
    return {scaled(kA4WidthAtReference, dotsPerInch), scaled(kA4HeightAtReference, dotsPerInch)};
}

namespace {

// Draws the pages of `job` through `writer`; false with a reason when a page cannot be
// added or the document cannot be finished.
bool drawSheets(QPdfWriter& writer, const SheetJob& job, int dotsPerInch, const QString& name,
                QString* error) {
    auto fail = [error](const QString& reason) {
        if (error != nullptr)
            *error = reason;
        return false;
    };
    if (job.members.empty() || job.project == nullptr)
        return fail(QStringLiteral("no page to write"));
    if (job.members.size() > static_cast<std::size_t>(std::numeric_limits<std::int16_t>::max()))
        return fail(QStringLiteral("too many pages"));

    writer.setResolution(dotsPerInch);
    writer.setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    writer.setCreator(QStringLiteral("morvik"));
    QPainter painter;
    if (!painter.begin(&writer))
        return fail(QStringLiteral("cannot write ") + name);

    const auto totalPages = static_cast<std::int16_t>(job.members.size());
    RecordSheetContext context = sheetContext(*job.project, job.settings, totalPages);
    context.batchMode = job.batchMode;
    context.batch = job.batch;
    const PageSizeUnits page = a4PageUnits(dotsPerInch);
    {
        PainterCanvas canvas(painter);
        for (std::size_t i = 0; i < job.members.size(); ++i) {
            if (i > 0 && !writer.newPage())
                return fail(QStringLiteral("cannot write ") + name);
            DrawRecordSheet(canvas, page.width, page.height, static_cast<int>(i + 1),
                            job.members[i], context);
        }
    }
    if (!painter.end())
        return fail(QStringLiteral("cannot write ") + name);
    return true;
}

} // namespace

bool writeRecordSheetsPdf(QIODevice& device, const SheetJob& job, int dotsPerInch, QString* error) {
    QPdfWriter writer(&device);
    return drawSheets(writer, job, dotsPerInch, QStringLiteral("the document"), error);
}

bool writeRecordSheetsPdf(const QString& path, const SheetJob& job, int dotsPerInch,
                          QString* error) {
    // The old file stays until the new one is complete: QSaveFile writes beside it and
    // renames only when every byte reached the device (a full disk or a size limit used
    // to leave a truncated PDF in place of the old one, reported as success).
    QSaveFile file(path);
    const QString reason = QStringLiteral("cannot write ") + path;
    // A device or a pipe is never renamed over (a privileged user could replace one).
    std::error_code ec;
    const auto type = std::filesystem::status(QFile::encodeName(path).toStdString(), ec).type();
    const bool replaceable = type == std::filesystem::file_type::not_found ||
                             type == std::filesystem::file_type::regular;
    if (!replaceable || !file.open(QIODevice::WriteOnly)) {
        if (error != nullptr)
            *error = reason;
        return false;
    }
    bool drawn = false;
    {
        QPdfWriter writer(&file);
        drawn = drawSheets(writer, job, dotsPerInch, path, error);
    } // the writer is done with the file before it is committed
    if (!drawn) {
        file.cancelWriting();
        return false;
    }
    if (file.error() != QFileDevice::NoError || !file.commit()) {
        if (error != nullptr)
            *error = reason;
        return false;
    }
    return true;
}

} // namespace morvik
