#pragma once
// The print preview window: a maximised top-level frame that exists only while the
// preview runs. It hides the main dialog when it starts and shows it again when it ends,
// whether by 关闭, by the title-bar close button or after 打印.
//
//   PreviewPages (copied data) -> CMyPreviewView (a picture per page seen) <- toolbar
//                              -> QPrinter (打印, through the prompt's print dialog)
//
// A dialog run by QDialog::exec() ends its loop when it is hidden; the main dialog must run
// modeless (show() under the application's loop) to survive the preview.

#include "core/Message.h"
#include "report/PreviewPages.h"
#include <QMainWindow>
#include <QPoint>
#include <QPointer>
#include <memory>
#include <optional>
#include <string>

class QAction;
class QLabel;
class QPrinter;
class QSpinBox;

namespace morvik {

class CMyPreviewView;
class Prompt;

// The commands of the preview's toolbar.
enum class PreviewCommand {
    Print,
    PreviousPage,
    NextPage,
    OnePage,
    TwoPages,
    ZoomIn,
    ZoomOut,
    FitWidth,
    FitPage,
    Summary, // "汇总表": the summary sheet in place of the record sheets, while checked
    Close,
};

// Shown when the print run cannot start or fails on the way; the preview stays open.
extern const char* const kPrintFailedText; // "打印失败，请检查打印机或输出文件后重试。"
Message printFailedMessage();
// "打印失败：" and why, when the printer or its scheduler refused the job.
Message printFailedMessage(const std::string& reason);

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    // Opens the preview of `pages` for `dialog`: the frame maximised, titled after the
    // dialog, with its icon, and the dialog hidden. `prompt` asks for the printer and
    // shows failures; it must outlive the frame. The frame deletes itself when it ends.
    static CMainFrame* startPreview(QWidget& dialog, PreviewPages pages, Prompt& prompt);

    // The title for a dialog whose window text is `dialogTitle`.
    static QString frameTitle(const QString& dialogTitle);

    ~CMainFrame() override;

    // Where the pages go when no printer is installed, proposed in the PDF file dialog.
    void proposePdfFile(const QString& path);

    CMyPreviewView& view() { return *view_; }
    QAction* action(PreviewCommand command) const;
    QSpinBox* pageField() const { return pageField_; }
    const PreviewPages& pages() const { return pages_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    CMainFrame(QWidget& dialog, PreviewPages pages, Prompt& prompt);
    void buildToolBar();
    void connectHandlers();

    void printPages();
    // Sends the chosen pages to the chosen printer's queue; nothing, or why it failed.
    std::optional<std::string> printOnQueue() const;
    void goToPage(int pageNumber);
    void step(int delta);
    void updatePageControls();
    void showSummary(bool on);

    QPointer<QWidget> dialog_;
    QPoint dialogPosition_; // where the dialog stood when the preview took its place
    PreviewPages pages_;
    Prompt& prompt_;
    std::unique_ptr<QPrinter> printer_;
    CMyPreviewView* view_ = nullptr;
    QSpinBox* pageField_ = nullptr;
    QLabel* pageCountLabel_ = nullptr;
    std::vector<QAction*> actions_; // indexed by PreviewCommand
};

} // namespace morvik
