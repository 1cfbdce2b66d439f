#include "report/CMainFrame.h"

#include "controls/Prompt.h"
#include "report/CMyPreviewView.h"
#ifdef MORVIK_PRINTER
#include "printer/SheetPrinting.h"
#endif
#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QKeySequence>
#include <QLabel>
#include <QPainter>
#include <QPicture>
#include <QPrinter>
#include <QSpinBox>
#include <QToolBar>
#include <algorithm>
#include <iterator>

namespace morvik {

const char* const kPrintFailedText = "打印失败，请检查打印机或输出文件后重试。";

Message printFailedMessage() {
    return Message{kPrintFailedText, kCaptionNotice, MessageIcon::Warning};
}

Message printFailedMessage(const std::string& reason) {
    return Message{"打印失败：" + reason, kCaptionNotice, MessageIcon::Warning};
}

namespace {

const QString kTitleSuffix = QStringLiteral(" - (打印预览)");
const QString kTitleAlone = QStringLiteral("打印预览");

// One toolbar entry: its command, text and key.
struct CommandEntry {
    PreviewCommand command;
    const char* text;
    QKeySequence::StandardKey key;
};

const CommandEntry kCommands[] = {
    {PreviewCommand::Print, "打印", QKeySequence::Print},
    {PreviewCommand::PreviousPage, "上一页", QKeySequence::MoveToPreviousPage},
    {PreviewCommand::NextPage, "下一页", QKeySequence::MoveToNextPage},
    {PreviewCommand::OnePage, "单页", QKeySequence::UnknownKey},
    {PreviewCommand::TwoPages, "双页", QKeySequence::UnknownKey},
    {PreviewCommand::ZoomIn, "放大", QKeySequence::ZoomIn},
    {PreviewCommand::ZoomOut, "缩小", QKeySequence::ZoomOut},
    {PreviewCommand::FitWidth, "适合宽度", QKeySequence::UnknownKey},
    {PreviewCommand::FitPage, "整页", QKeySequence::UnknownKey},
    {PreviewCommand::Summary, "汇总表", QKeySequence::UnknownKey},
    {PreviewCommand::Close, "关闭", QKeySequence::Close},
};
static_assert(std::size(kCommands) == static_cast<std::size_t>(PreviewCommand::Close) + 1,
              "one toolbar entry per command");

} // namespace

QString CMainFrame::frameTitle(const QString& dialogTitle) {
    return dialogTitle.isEmpty() ? kTitleAlone : dialogTitle + kTitleSuffix;
}

CMainFrame* CMainFrame::startPreview(QWidget& dialog, PreviewPages pages, Prompt& prompt) {
    auto* frame = new CMainFrame(dialog, std::move(pages), prompt);
    frame->dialogPosition_ = dialog.pos();
    frame->showMaximized();
    dialog.hide();
    return frame;
}

CMainFrame::CMainFrame(QWidget& dialog, PreviewPages pages, Prompt& prompt)
    : QMainWindow(nullptr), dialog_(&dialog), pages_(std::move(pages)), prompt_(prompt),
      printer_(makePreviewPrinter()) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(frameTitle(dialog.windowTitle()));
    setWindowIcon(dialog.windowIcon());
    view_ = new CMyPreviewView(*printer_, pages_, this);
    setCentralWidget(view_);
    buildToolBar();
    connectHandlers();
    updatePageControls();
}

CMainFrame::~CMainFrame() = default;

void CMainFrame::proposePdfFile(const QString& path) {
    // A printer that is a real device keeps its own output; naming a file would turn it
    // into a PDF.
    if (printer_->outputFormat() == QPrinter::PdfFormat)
        printer_->setOutputFileName(path);
}

QAction* CMainFrame::action(PreviewCommand command) const {
    return actions_[static_cast<std::size_t>(command)];
}

void CMainFrame::buildToolBar() {
    QToolBar* bar = addToolBar(QStringLiteral("打印预览"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto* layoutGroup = new QActionGroup(this);

    actions_.resize(std::size(kCommands));
    for (const CommandEntry& entry : kCommands) {
        auto* act = new QAction(QString::fromUtf8(entry.text), this);
        if (entry.key != QKeySequence::UnknownKey)
            act->setShortcuts(entry.key);
        actions_[static_cast<std::size_t>(entry.command)] = act;
    }
    // Esc closes the preview as 关闭 does, like any window that is only looked at.
    QList<QKeySequence> closeKeys = action(PreviewCommand::Close)->shortcuts();
    closeKeys.append(QKeySequence(Qt::Key_Escape));
    action(PreviewCommand::Close)->setShortcuts(closeKeys);
    for (PreviewCommand c : {PreviewCommand::OnePage, PreviewCommand::TwoPages}) {
        action(c)->setCheckable(true);
        layoutGroup->addAction(action(c));
    }
    action(PreviewCommand::OnePage)->setChecked(true);
    action(PreviewCommand::Summary)->setCheckable(true);

    bar->addAction(action(PreviewCommand::Print));
    bar->addSeparator();
    bar->addAction(action(PreviewCommand::PreviousPage));
    bar->addAction(action(PreviewCommand::NextPage));

    // "第 [n] 页，共 N 页": the label before the field is its buddy.
    auto* pageLabel = new QLabel(QStringLiteral("第(&G)"), bar);
    pageField_ = new QSpinBox(bar);
    pageField_->setRange(1, pages_.pageCount());
    pageField_->setAccessibleName(QStringLiteral("页码"));
    pageLabel->setBuddy(pageField_);
    pageCountLabel_ = new QLabel(bar);
    bar->addWidget(pageLabel);
    bar->addWidget(pageField_);
    bar->addWidget(pageCountLabel_);

    bar->addSeparator();
    bar->addAction(action(PreviewCommand::OnePage));
    bar->addAction(action(PreviewCommand::TwoPages));
    bar->addSeparator();
    bar->addAction(action(PreviewCommand::ZoomIn));
    bar->addAction(action(PreviewCommand::ZoomOut));
    bar->addAction(action(PreviewCommand::FitWidth));
    bar->addAction(action(PreviewCommand::FitPage));
    // Only a batch has a summary; without one the toggle is not there at all.
    if (pages_.hasSummary()) {
        bar->addSeparator();
        bar->addAction(action(PreviewCommand::Summary));
    }
    bar->addSeparator();
    bar->addAction(action(PreviewCommand::Close));
}

void CMainFrame::connectHandlers() {
    connect(action(PreviewCommand::Print), &QAction::triggered, this, &CMainFrame::printPages);
    connect(action(PreviewCommand::PreviousPage), &QAction::triggered, this, [this] { step(-1); });
    connect(action(PreviewCommand::NextPage), &QAction::triggered, this, [this] { step(1); });
    connect(action(PreviewCommand::OnePage), &QAction::triggered, view_,
            [this] { view_->setLayout(CMyPreviewView::Layout::OnePage); });
    connect(action(PreviewCommand::TwoPages), &QAction::triggered, view_,
            [this] { view_->setLayout(CMyPreviewView::Layout::TwoPages); });
    connect(action(PreviewCommand::ZoomIn), &QAction::triggered, view_, &CMyPreviewView::zoomIn);
    connect(action(PreviewCommand::ZoomOut), &QAction::triggered, view_, &CMyPreviewView::zoomOut);
    connect(action(PreviewCommand::FitWidth), &QAction::triggered, view_,
            &CMyPreviewView::fitToWidth);
    connect(action(PreviewCommand::FitPage), &QAction::triggered, view_,
            &CMyPreviewView::fitToPage);
    connect(action(PreviewCommand::Summary), &QAction::toggled, this, &CMainFrame::showSummary);
    connect(action(PreviewCommand::Close), &QAction::triggered, this, &QWidget::close);
    connect(pageField_, &QSpinBox::valueChanged, this, &CMainFrame::goToPage);
    // The view reports every change of page, zoom or layout, scrolling included.
    connect(view_, &CMyPreviewView::previewChanged, this, &CMainFrame::updatePageControls);
}

void CMainFrame::goToPage(int pageNumber) {
    if (pageNumber != view_->currentPage())
        view_->setCurrentPage(pageNumber);
    updatePageControls();
}

void CMainFrame::step(int delta) {
    // Two pages side by side turn as a pair.
    const int pagesPerStep = view_->layout() == CMyPreviewView::Layout::TwoPages ? 2 : 1;
    goToPage(std::clamp(view_->currentPage() + delta * pagesPerStep, 1, pages_.pageCount()));
}

void CMainFrame::showSummary(bool on) {
    const std::unique_ptr<QPicture> metrics = view_->printerPicture();
    {
        QPainter painter(metrics.get());
        pages_.showSummary(on, painter, view_->printableSize().width(),
                           view_->printableSize().height());
    }
    // The PDF file offered for printing is named after the document on view.
    printer_->setDocName(pages_.showsSummary() ? summarySheetTitle() : QString());
    view_->reload();
    updatePageControls();
}

void CMainFrame::updatePageControls() {
    const int current = std::clamp(view_->currentPage(), 1, pages_.pageCount());
    const QSignalBlocker blocker(pageField_);
    pageField_->setRange(1, pages_.pageCount());
    pageCountLabel_->setText(QStringLiteral("页，共 %1 页").arg(pages_.pageCount()));
    pageField_->setValue(current);
    action(PreviewCommand::PreviousPage)->setEnabled(current > 1);
    const int pagesInSight = view_->layout() == CMyPreviewView::Layout::TwoPages ? 2 : 1;
    action(PreviewCommand::NextPage)->setEnabled(current + pagesInSight <= pages_.pageCount());
}

void CMainFrame::printPages() {
    // Printed or cancelled, the preview ends; only a run that failed keeps it open, so
    // the user can try again with another printer or file.
    if (!prompt_.choosePrinter(this, *printer_, 1, pages_.pageCount())) {
        close();
        return;
    }
#ifdef MORVIK_PRINTER
    if (printer_->outputFormat() == QPrinter::NativeFormat && !printer_->printerName().isEmpty()) {
        if (const auto failure = printOnQueue()) {
            prompt_.showMessage(this, printFailedMessage(*failure));
            return;
        }
        close();
        return;
    }
#endif
    if (!pages_.print(*printer_)) {
        prompt_.showMessage(this, printFailedMessage());
        return;
    }
    close();
}

#ifdef MORVIK_PRINTER
std::optional<std::string> CMainFrame::printOnQueue() const {
    // Qt hands a printer's job to the scheduler without asking how it went; sent by us,
    // a printer that went away or refuses jobs is reported. The pages are those the
    // preview shows, laid on the chosen printer's paper; page n keeps number n.
    const std::vector<int> chosen = pages_.pagesToPrint(*printer_);
    SheetDocument document;
    document.pageCount = [&chosen](SheetCanvas&, int, int) {
        return static_cast<int>(chosen.size());
    };
    document.drawPage = [this, &chosen](SheetCanvas& dc, int width, int height, int n) {
        pages_.drawPage(dc, width, height, chosen[static_cast<std::size_t>(n - 1)]);
    };
    // The paper and resolution come from the queue itself, as morvik-cli print takes them:
    // a QPrinter switched to another printer may keep the margins of the one before.
    const std::string name = printer_->printerName().toStdString();
    const QueueAnswer<QueuePaper> paper = printerPaper(name);
    if (!paper.value)
        return paper.failure;
    const QString title = printer_->docName().isEmpty() ? windowTitle() : printer_->docName();
    return printSheets(document, pageLayoutOf(*paper.value), paper.value->dotsPerInch, name,
                       title.toStdString(), {printer_->copyCount(), printer_->collateCopies()});
}
#endif

void CMainFrame::closeEvent(QCloseEvent* event) {
    // The dialog comes back before the frame goes, so the application never finds itself
    // without a visible window.
    if (dialog_ != nullptr) {
        // Shown again without a position, the window manager would place it anew.
        dialog_->move(dialogPosition_);
        dialog_->show();
    }
    event->accept();
}

} // namespace morvik
