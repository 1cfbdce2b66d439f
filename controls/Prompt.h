#pragma once
// Message boxes and file dialogs behind one small interface, so the dialogs can be driven
// by tests: production code shows real Qt dialogs (WidgetPrompt), tests queue the answers
// and read back what would have been shown (ScriptedPrompt in the tests' support library).

#include "core/Message.h"
#include <QString>
#include <optional>

class QPrinter;
class QWidget;

namespace morvik {

enum class PromptButtons { Ok, YesNo, YesNoCancel };
enum class PromptAnswer { Ok, Yes, No, Cancel };

// What an open or save file dialog offers: the proposed file name, the extension added
// to a name typed without one, and a single filter ("description (pattern)").
struct FileDialogRequest {
    QString initialName;
    QString defaultSuffix;
    QString filterDescription;
    QString filterPattern;
};

class Prompt {
public:
    virtual ~Prompt() = default;

    // Shows `message` (text, caption, icon) with `buttons` and returns the button chosen.
    // Closing an Ok box any other way answers Ok; closing a Yes/No box answers No, and a
    // Yes/No/Cancel box Cancel (Esc and the box's close button included).
    virtual PromptAnswer showMessage(QWidget* parent, const Message& message,
                                     PromptButtons buttons = PromptButtons::Ok) = 0;

    // The chosen file path, or nothing when the dialog was cancelled. The save dialog
    // asks before overwriting an existing file.
    virtual std::optional<QString> openFileName(QWidget* parent,
                                                const FileDialogRequest& request) = 0;
    virtual std::optional<QString> saveFileName(QWidget* parent,
                                                const FileDialogRequest& request) = 0;

    // The print dialog offering pages `firstPage` to `lastPage`. Configures `printer` with
    // the user's choice (device or output file, page range, copies) and returns false when
    // the user cancelled. Where no printer is installed the pages go to a PDF file the
    // user names; they are never dropped silently.
    virtual bool choosePrinter(QWidget* parent, QPrinter& printer, int firstPage, int lastPage) = 0;
};

// The production prompt: QMessageBox and QFileDialog with exactly the given texts.
class WidgetPrompt : public Prompt {
public:
    PromptAnswer showMessage(QWidget* parent, const Message& message,
                             PromptButtons buttons = PromptButtons::Ok) override;
    std::optional<QString> openFileName(QWidget* parent, const FileDialogRequest& request) override;
    std::optional<QString> saveFileName(QWidget* parent, const FileDialogRequest& request) override;
    // QPrintDialog, or a save dialog for a PDF file when no printer is installed
    // (PromptPrint.cpp).
    bool choosePrinter(QWidget* parent, QPrinter& printer, int firstPage, int lastPage) override;
};

// One process-wide production prompt for owners that are not given another.
Prompt& widgetPrompt();

} // namespace morvik
