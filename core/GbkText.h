#pragma once
// The one place where text crosses between the program (UTF-8) and the stored fields
// (GBK, code page 936, NUL-terminated, fixed width).

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace morvik {

// Clears the whole field, then stores `utf8` as GBK in at most width - 1 bytes, cut at a
// character boundary, so the terminator always fits. Characters GBK cannot hold are
// stored as '?'. Invalid UTF-8 never crashes. A width of 0 writes nothing.
void textToField(const std::string& utf8, char* field, std::size_t width);

// Reads a field up to its first NUL (or its full width) as GBK and returns UTF-8; bytes
// that are not valid GBK become U+FFFD.
std::string fieldToText(const char* field, std::size_t width);

template <std::size_t N> void textToField(const std::string& utf8, char (&field)[N]) {
    textToField(utf8, field, N);
}
template <std::size_t N> std::string fieldToText(const char (&field)[N]) {
    return fieldToText(field, N);
}

// Whether every byte of `text` is ASCII, which GBK and UTF-8 write alike.
bool isAscii(std::string_view text);

// The GBK form of `utf8`, or nothing when a character has none (or the text holds a NUL,
// which would end a stored text early, or is not valid UTF-8). Nothing is replaced.
std::optional<std::string> utf8ToGbkExactly(const std::string& utf8);

// What textToFieldChecked did.
enum class FieldTextResult {
    Stored,       // the whole text is in the field
    TooLong,      // its GBK form needs more than width - 1 bytes; the field is cleared
    NotEncodable, // it holds a character GBK cannot hold, a NUL or invalid UTF-8; cleared
};

// Stores `utf8` as GBK like textToField, but only whole: a text that does not fit or
// cannot be encoded leaves the field all zero and says why, instead of being cut or
// getting '?' marks. For texts that come from outside, where a silent change is data loss.
FieldTextResult textToFieldChecked(const std::string& utf8, char* field, std::size_t width);

template <std::size_t N>
FieldTextResult textToFieldChecked(const std::string& utf8, char (&field)[N]) {
    return textToFieldChecked(utf8, field, N);
}

// The second half of textToFieldChecked, for a GBK form already worked out by
// utf8ToGbkExactly (nothing: the text cannot be encoded).
FieldTextResult gbkToFieldChecked(const std::optional<std::string>& gbk, char* field,
                                  std::size_t width);

// GBK bytes of a UTF-8 text (unbounded), and back; the building blocks of the above.
std::string utf8ToGbk(const std::string& utf8);
std::string gbkToUtf8(const std::string& gbk);

} // namespace morvik
