#pragma once
// Printing where no printer is installed: the pages go to a PDF file the user names.

#include "controls/Prompt.h"

namespace morvik {

// What the save dialog for the PDF file offers: `proposed`, or the record sheet's title
// when that is empty.
FileDialogRequest pdfOutputRequest(const QString& proposed = QString());

// Asks `prompt` for a PDF file, proposing the printer's output file name when it has one,
// and points `printer` at it, all pages. False, with the printer untouched, when the user
// cancelled.
bool choosePdfOutput(Prompt& prompt, QWidget* parent, QPrinter& printer);

} // namespace morvik
