#pragma once
// The preview view: the record sheets of a PreviewPages on sheets of paper of the
// printer's size, one or two side by side, scrolled and zoomed. A page is drawn once, when
// it first comes into sight, into a picture with the printer's resolution and printable
// area, so the preview lays the sheet out exactly as the printer will; paging, scrolling
// and zooming replay pictures. Opening a preview of many pages therefore costs the pages
// on screen, not all of them.

#include "report/PreviewLayout.h"
#include <QAbstractScrollArea>
#include <QPicture>
#include <memory>
#include <vector>

class QPrinter;

namespace morvik {

class PreviewPages;

// The page geometry of a printer in its device pixels.
struct PrinterPage {
    QSize paper;     // the whole sheet
    QRect printable; // the printable area within the sheet: the page the sheet is laid on
    int dpiX = 0;
    int dpiY = 0;
};
PrinterPage printerPage(const QPrinter& printer);

// A printer for the preview and the print run: the default printer at high resolution, or
// an A4 PDF printer where no printer is installed, so the preview always has a device.
std::unique_ptr<QPrinter> makePreviewPrinter();

class CMyPreviewView : public QAbstractScrollArea {
    Q_OBJECT
public:
    enum class Layout { OnePage, TwoPages };
    enum class Zoom { FitPage, FitWidth, Custom };

    // Shows `pages` laid out for `printer` (its geometry is taken now). `pages` must outlive
    // the view. Opens on page 1, the whole page in sight.
    CMyPreviewView(const QPrinter& printer, const PreviewPages& pages, QWidget* parent = nullptr);
    ~CMyPreviewView() override;

    int pageCount() const;
    // The page at the top of the view; the first of its pair in two-page layout.
    int currentPage() const { return currentPage_; }
    // Brings the row of `pageNumber` (clamped to the pages there are) to the top.
    void setCurrentPage(int pageNumber);

    Layout layout() const { return layout_; }
    void setLayout(Layout layout);
    Zoom zoomMode() const { return zoom_; }
    double scale() const { return geometry_.scale; }
    void zoomIn();
    void zoomOut();
    void fitToWidth();
    void fitToPage();

    // Takes the pages afresh after they changed their document: page 1 in sight, nothing
    // drawn yet.
    void reload();
    // A picture that measures like the printer's printable area, for laying pages out
    // without drawing them; and the size of that area.
    std::unique_ptr<QPicture> printerPicture() const;
    QSize printableSize() const { return printer_.printable.size(); }

    // How many pages have been drawn into pictures so far; each page is drawn at most once.
    int pagesDrawn() const { return pagesDrawn_; }
    bool isPageDrawn(int pageNumber) const;

signals:
    // The current page, the zoom or the layout changed.
    void previewChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    const QPicture& pictureOf(int pageNumber);
    void relayout();
    void setScale(double scale, Zoom mode);
    int horizontalOffset() const;

    const PreviewPages& pages_;
    const PrinterPage printer_;
    PreviewLayout geometry_;
    Layout layout_ = Layout::OnePage;
    Zoom zoom_ = Zoom::FitPage;
    int currentPage_ = 1;
    bool scrollingToPage_ = false;
    std::vector<std::unique_ptr<QPicture>> pictures_; // by page, drawn on first sight
    int pagesDrawn_ = 0;
};

} // namespace morvik
