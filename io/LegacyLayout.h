#pragma once
// The older text-field layout of the data file (read only): exactly 59 fields, each one
// unsigned length byte followed by that many bytes of GBK or decimal text, describing one
// project and one member. Fields beyond the end of the file are empty.

#include "ByteSource.h"
#include "DataFile.h"
#include <cstddef>

namespace morvik::io_detail {

constexpr int kLegacyFieldCount = 59;
constexpr std::size_t kLegacySlotSize = 256; // a field of up to 255 bytes plus its NUL

// Reads the whole source as the legacy layout into `data` (one member, evaluated). False,
// with `data` unchanged, when a numeric field holds text that is no number or no numeric
// field holds a number at all: the file is not a data file of this layout.
bool readLegacyLayout(ByteSource& source, DataSet& data);

// What a numeric field holds: nothing but blanks, text that atof starts reading as a
// number (after blanks), or other text.
enum class NumberText { Empty, Number, NotANumber };
NumberText numberText(const char* text);

// A decimal text as the C library's atof reads it in the "C" locale (leading blanks,
// sign, digits, '.', exponent; no number gives 0), narrowed to single precision.
float legacyNumber(const char* text);

// Length of the longest prefix of `text` (len bytes of GBK) that has at most `limit`
// bytes and does not split a two-byte character.
std::size_t gbkPrefixLength(const char* text, std::size_t len, std::size_t limit);

// Stores the NUL-terminated `text` into a field of `width` bytes, cut at a GBK character
// boundary so that the terminator always fits.
void storeText(const char* text, char* field, std::size_t width);

} // namespace morvik::io_detail
