#pragma once
// The export as CSV: UTF-8 with a byte-order mark (a Chinese spreadsheet program reads
// UTF-8 without it as the local code page), CRLF line ends and RFC 4180 quoting. The
// project information comes first, one label and value per line, then an empty line and
// the member table; with the batch, an empty line and its fields after the table.

#include "ExportTable.h"
#include <string>

namespace morvik::cli {

std::string csvDocument(const ExportContent& content);

// `field` as one RFC 4180 field: quoted, with its quotes doubled, when it holds a comma,
// a quote, a CR or a LF; as it is otherwise.
void appendCsvField(std::string& line, const std::string& field);

} // namespace morvik::cli
