#include "tests/support/PromptScripted.h"

#include <QPrinter>

namespace morvik {

PromptAnswer ScriptedPrompt::showMessage(QWidget*, const Message& message, PromptButtons buttons) {
    messages.push_back({message, buttons});
    // An Ok box has nothing to choose, so it leaves the queue to the questions.
    if (buttons == PromptButtons::Ok)
        return PromptAnswer::Ok;
    if (answers.empty())
        return PromptAnswer::No;
    const PromptAnswer answer = answers.front();
    answers.pop_front();
    return answer;
}

std::optional<QString> ScriptedPrompt::nextFileName() {
    if (fileNames.empty())
        return std::nullopt;
    const QString name = fileNames.front();
    fileNames.pop_front();
    if (name.isEmpty())
        return std::nullopt;
    return name;
}

std::optional<QString> ScriptedPrompt::openFileName(QWidget*, const FileDialogRequest& request) {
    fileDialogs.push_back({false, request});
    return nextFileName();
}

std::optional<QString> ScriptedPrompt::saveFileName(QWidget*, const FileDialogRequest& request) {
    fileDialogs.push_back({true, request});
    return nextFileName();
}

bool ScriptedPrompt::choosePrinter(QWidget*, QPrinter& printer, int firstPage, int lastPage) {
    printDialogs.push_back({firstPage, lastPage, printer.outputFileName()});
    if (printChoices.empty())
        return false;
    const PrintChoice choice = printChoices.front();
    printChoices.pop_front();
    if (!choice.printerName.isEmpty()) {
        // As the dialog does: the printer chosen, its own paper and resolution with it.
        printer.setOutputFileName(QString());
        printer.setPrinterName(choice.printerName);
    } else if (choice.outputPdf.isEmpty()) {
        return false;
    } else {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(choice.outputPdf);
    }
    if (choice.fromPage > 0) {
        printer.setPrintRange(QPrinter::PageRange);
        printer.setFromTo(choice.fromPage, choice.toPage);
    } else {
        printer.setPrintRange(QPrinter::AllPages);
    }
    if (choice.afterChoice)
        choice.afterChoice();
    return true;
}

} // namespace morvik
