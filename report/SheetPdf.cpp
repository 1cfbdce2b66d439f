#include "report/SheetPdf.h"

#include "report/PainterCanvas.h"
#include "report/RecordSheet.h"
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <cmath>
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

bool writeRecordSheetsPdf(const QString& path, const SheetJob& job, int dotsPerInch,
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

    QPdfWriter writer(path);
    writer.setResolution(dotsPerInch);
    writer.setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    writer.setCreator(QStringLiteral("morvik"));
    QPainter painter;
    if (!painter.begin(&writer))
        return fail(QStringLiteral("cannot write ") + path);

    const auto totalPages = static_cast<std::int16_t>(job.members.size());
    RecordSheetContext context = sheetContext(*job.project, job.settings, totalPages);
    context.batchMode = job.batchMode;
    context.batch = job.batch;
    const PageSizeUnits page = a4PageUnits(dotsPerInch);
    {
        PainterCanvas canvas(painter);
        for (std::size_t i = 0; i < job.members.size(); ++i) {
            if (i > 0 && !writer.newPage())
                return fail(QStringLiteral("cannot add a page to ") + path);
            DrawRecordSheet(canvas, page.width, page.height, static_cast<int>(i + 1),
                            job.members[i], context);
        }
    }
    if (!painter.end())
        return fail(QStringLiteral("cannot finish ") + path);
    return true;
}

} // namespace morvik
