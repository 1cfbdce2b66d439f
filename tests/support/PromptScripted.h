#pragma once
// The prompt of the tests: records every message box and file dialog that would have been
// shown and answers from queues. Ok boxes take nothing from the queue; an empty queue
// answers No to a question and cancels a file dialog, so a test never blocks.

#include "controls/Prompt.h"
#include <deque>
#include <functional>
#include <vector>

namespace morvik {

class ScriptedPrompt : public Prompt {
public:
    struct ShownMessage {
        Message message;
        PromptButtons buttons;
    };
    struct ShownFileDialog {
        bool save;
        FileDialogRequest request;
    };
    // An answer to the print dialog: the pages go to the PDF file `outputPdf`, or to the
    // printer `printerName` when that is given, all of them when `fromPage` is 0, else
    // `fromPage` to `toPage`. With neither a file nor a printer the dialog is cancelled.
    // `afterChoice` runs once the choice is made, before the pages go anywhere: for what
    // happens meanwhile to the printer or its scheduler.
    struct PrintChoice {
        QString outputPdf;
        int fromPage = 0;
        int toPage = 0;
        QString printerName = {};
        std::function<void()> afterChoice = {};
    };
    struct ShownPrintDialog {
        int firstPage;
        int lastPage;
        QString proposedFile; // the printer's output file when the dialog opened
    };

    PromptAnswer showMessage(QWidget* parent, const Message& message,
                             PromptButtons buttons = PromptButtons::Ok) override;
    std::optional<QString> openFileName(QWidget* parent, const FileDialogRequest& request) override;
    std::optional<QString> saveFileName(QWidget* parent, const FileDialogRequest& request) override;
    bool choosePrinter(QWidget* parent, QPrinter& printer, int firstPage, int lastPage) override;

    // Queued answers, used in order; an empty file name cancels its dialog.
    std::deque<PromptAnswer> answers;
    std::deque<QString> fileNames;
    std::deque<PrintChoice> printChoices; // an empty queue cancels the print dialog

    // What was shown, in order.
    std::vector<ShownMessage> messages;
    std::vector<ShownFileDialog> fileDialogs;
    std::vector<ShownPrintDialog> printDialogs;

private:
    std::optional<QString> nextFileName();
};

} // namespace morvik
