#pragma once
// Printing where no printer is installed: the pages go to a PDF file the user names.

#include "controls/Prompt.h"

namespace morvik {

// What the save dialog for the PDF file offers: the document's name as the file name
// (the record sheet's title when the printer carries none).
FileDialogRequest pdfOutputRequest(const QString& documentName = {});

// Asks `prompt` for a PDF file and points `printer` at it, all pages. False, with the
// printer untouched, when the user cancelled.
bool choosePdfOutput(Prompt& prompt, QWidget* parent, QPrinter& printer);

} // namespace morvik
