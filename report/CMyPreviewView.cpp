#include "report/CMyPreviewView.h"

#include "report/PreviewPages.h"
#include <QPageSize>
#include <QPaintEvent>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

namespace morvik {

namespace {

constexpr double kMillimetresPerInch = 25.4;
const QColor kDeskColour(128, 128, 128);
const QColor kShadowColour(64, 64, 64);
constexpr int kShadowOffset = 3;
constexpr int kLinesPerPage = 20; // arrow-key and wheel steps through one page

// A picture that reports the printer's resolution and printable area, so the sheet drawn
// into it measures its fonts and lays itself out in printer pixels.
class PrinterPicture : public QPicture {
public:
    explicit PrinterPicture(const PrinterPage& page) : page_(page) {}

protected:
    int metric(PaintDeviceMetric metric) const override {
        switch (metric) {
        case PdmWidth:
            return page_.printable.width();
        case PdmHeight:
            return page_.printable.height();
        case PdmWidthMM:
            return static_cast<int>(
                std::lround(page_.printable.width() * kMillimetresPerInch / page_.dpiX));
        case PdmHeightMM:
            return static_cast<int>(
                std::lround(page_.printable.height() * kMillimetresPerInch / page_.dpiY));
        case PdmDpiX:
        case PdmPhysicalDpiX:
            return page_.dpiX;
        case PdmDpiY:
        case PdmPhysicalDpiY:
            return page_.dpiY;
        default:
            return QPicture::metric(metric);
        }
    }

private:
    PrinterPage page_;
};

} // namespace

PrinterPage printerPage(const QPrinter& printer) {
    PrinterPage page;
    const QRect paper = printer.paperRect(QPrinter::DevicePixel).toAlignedRect();
    const QRect printable = printer.pageRect(QPrinter::DevicePixel).toAlignedRect();
    page.paper = paper.size();
    page.printable =
        QRect(printable.topLeft() - paper.topLeft(), QSize(printer.width(), printer.height()));
    page.dpiX = printer.logicalDpiX();
    page.dpiY = printer.logicalDpiY();
    return page;
}

std::unique_ptr<QPrinter> makePreviewPrinter() {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (QPrinterInfo::availablePrinterNames().isEmpty()) {
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setPageSize(QPageSize(QPageSize::A4));
    }
    return printer;
}

CMyPreviewView::CMyPreviewView(const QPrinter& printer, const PreviewPages& pages, QWidget* parent)
    : QAbstractScrollArea(parent), pages_(pages), printer_(printerPage(printer)) {
    setAccessibleName(QStringLiteral("打印预览"));
    setFocusPolicy(Qt::StrongFocus);
    // Always there, so fitting the width never changes the width it fitted.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    geometry_.paper = printer_.paper;
    geometry_.pageCount = pages.pageCount();
    pictures_.resize(static_cast<std::size_t>(pages.pageCount()));
    relayout();
}

CMyPreviewView::~CMyPreviewView() = default;

void CMyPreviewView::reload() {
    geometry_.pageCount = pages_.pageCount();
    pictures_.clear();
    pictures_.resize(static_cast<std::size_t>(pages_.pageCount()));
    currentPage_ = 1;
    relayout();
    viewport()->update();
}

std::unique_ptr<QPicture> CMyPreviewView::printerPicture() const {
    return std::make_unique<PrinterPicture>(printer_);
}

int CMyPreviewView::pageCount() const {
    return geometry_.pageCount;
}

bool CMyPreviewView::isPageDrawn(int pageNumber) const {
    return pageNumber >= 1 && pageNumber <= pageCount() &&
           pictures_[static_cast<std::size_t>(pageNumber - 1)] != nullptr;
}

const QPicture& CMyPreviewView::pictureOf(int pageNumber) {
    auto& picture = pictures_[static_cast<std::size_t>(pageNumber - 1)];
    if (picture == nullptr) {
        picture = std::make_unique<PrinterPicture>(printer_);
        QPainter painter(picture.get());
        pages_.drawPage(painter, printer_.printable.width(), printer_.printable.height(),
                        pageNumber);
        ++pagesDrawn_;
    }
    return *picture;
}

void CMyPreviewView::setCurrentPage(int pageNumber) {
    currentPage_ = geometry_.pageAt(geometry_.pageRect(pageNumber).top());
    scrollingToPage_ = true;
    verticalScrollBar()->setValue(geometry_.pageRect(currentPage_).top() - kPreviewGap);
    scrollingToPage_ = false;
    viewport()->update();
    emit previewChanged();
}

void CMyPreviewView::setLayout(Layout layout) {
    if (layout == layout_)
        return;
    layout_ = layout;
    relayout();
}

void CMyPreviewView::zoomIn() {
    setScale(geometry_.scale * kPreviewZoomStep, Zoom::Custom);
}

void CMyPreviewView::zoomOut() {
    setScale(geometry_.scale / kPreviewZoomStep, Zoom::Custom);
}

void CMyPreviewView::fitToWidth() {
    zoom_ = Zoom::FitWidth;
    relayout();
}

void CMyPreviewView::fitToPage() {
    zoom_ = Zoom::FitPage;
    relayout();
}

void CMyPreviewView::setScale(double scale, Zoom mode) {
    zoom_ = mode;
    geometry_.scale = PreviewLayout::clampScale(geometry_.paper, scale);
    relayout();
}

void CMyPreviewView::relayout() {
    geometry_.columns = layout_ == Layout::TwoPages ? 2 : 1;
    const QSize room = viewport()->size();
    if (zoom_ == Zoom::FitWidth)
        geometry_.scale =
            PreviewLayout::fitWidthScale(geometry_.paper, geometry_.columns, room.width());
    else if (zoom_ == Zoom::FitPage)
        geometry_.scale = PreviewLayout::fitPageScale(geometry_.paper, geometry_.columns, room);
    const QSize content = geometry_.contentSize();
    // New ranges may move the scroll bars; the current page is kept, not taken from them.
    scrollingToPage_ = true;
    horizontalScrollBar()->setRange(0, std::max(0, content.width() - room.width()));
    horizontalScrollBar()->setPageStep(room.width());
    verticalScrollBar()->setRange(0, std::max(0, content.height() - room.height()));
    verticalScrollBar()->setPageStep(room.height());
    verticalScrollBar()->setSingleStep(std::max(1, geometry_.slot().height() / kLinesPerPage));
    scrollingToPage_ = false;
    setCurrentPage(currentPage_);
}

int CMyPreviewView::horizontalOffset() const {
    // Pages narrower than the view stand in its middle.
    const int spare = viewport()->width() - geometry_.contentSize().width();
    return spare > 0 ? spare / 2 : -horizontalScrollBar()->value();
}

void CMyPreviewView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    relayout();
}

void CMyPreviewView::scrollContentsBy(int, int) {
    if (!scrollingToPage_) {
        const int page = geometry_.pageAt(verticalScrollBar()->value() + kPreviewGap);
        if (page != currentPage_) {
            currentPage_ = page;
            emit previewChanged();
        }
    }
    viewport()->update();
}

void CMyPreviewView::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    painter.fillRect(event->rect(), kDeskColour);
    const QPoint origin(horizontalOffset(), -verticalScrollBar()->value());
    const QRect visible = event->rect().translated(-origin);

    const int first = geometry_.pageAt(visible.top());
    const double toScreen =
        static_cast<double>(geometry_.slot().width()) / std::max(1, geometry_.paper.width());
    for (int n = first; n <= pageCount(); ++n) {
        const QRect sheet = geometry_.pageRect(n);
        if (sheet.top() > visible.bottom())
            break;
        if (!sheet.intersects(visible))
            continue;
        const QRect onScreen = sheet.translated(origin);
        painter.fillRect(onScreen.translated(kShadowOffset, kShadowOffset), kShadowColour);
        painter.fillRect(onScreen, Qt::white);
        painter.save();
        painter.setClipRect(onScreen);
        painter.translate(onScreen.topLeft());
        painter.scale(toScreen, toScreen);
        painter.translate(printer_.printable.topLeft());
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.drawPicture(0, 0, pictureOf(n));
        painter.restore();
    }
}

} // namespace morvik
