#include "GbkText.h"

#include <algorithm>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <iconv.h>
#endif

namespace morvik {

namespace {

constexpr unsigned char kGbkLeadFirst = 0x81;
const char* const kReplacementUtf8 = "\xEF\xBF\xBD"; // U+FFFD

// Length of the UTF-8 sequence that starts with `lead`; 1 for a stray byte, so a bad
// input always makes progress.
std::size_t utf8SequenceLength(unsigned char lead) {
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    if (lead >= 0xE0)
        return lead <= 0xEF ? 3 : 1;
    if (lead >= 0xC2)
        return 2;
    return 1;
}

#ifdef _WIN32
constexpr UINT kGbkCodePage = 936;
constexpr wchar_t kReplacementWide = 0xFFFD;
constexpr int kGbkPairLength = 2;

bool isGbkLead(unsigned char b) {
    return b >= kGbkLeadFirst && b <= 0xFE;
}
bool isGbkTrail(unsigned char b) {
    return b >= 0x40 && b <= 0xFE && b != 0x7F;
}
// Code page 936 maps the user-defined areas (and the stray byte 0xFF) into the private
// use area; the GBK of iconv knows none of them, and the two paths must agree.
bool isPrivateUse(wchar_t c) {
    return c >= 0xE000 && c <= 0xF8FF;
}

std::string narrow(const std::wstring& wide, UINT codePage) {
    if (wide.empty())
        return {};
    const int n = WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), text.data(), n,
                        nullptr, nullptr);
    return text;
}

// Character by character, so that a character outside GBK becomes one '?' as with iconv
// (the system would replace each half of a surrogate pair), and a bad sequence is passed
// over as iconv passes over it. `failed` is set when anything was replaced.
std::string encodeGbk(const std::string& utf8, bool& failed) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        if (lead < 0x80) {
            out += utf8[i++];
            continue;
        }
        const std::size_t len = std::min(utf8SequenceLength(lead), utf8.size() - i);
        wchar_t wide[2];
        const int w = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data() + i,
                                          static_cast<int>(len), wide, 2);
        char gbk[4];
        int g = 0;
        BOOL usedDefault = FALSE;
        if (w == 1 && !isPrivateUse(wide[0]))
            g = WideCharToMultiByte(kGbkCodePage, WC_NO_BEST_FIT_CHARS, wide, 1, gbk, sizeof gbk,
                                    nullptr, &usedDefault);
        if (g > 0 && usedDefault == FALSE) {
            out.append(gbk, static_cast<std::size_t>(g));
        } else {
            out += '?';
            failed = true;
        }
        i += len;
    }
    return out;
}

// A byte that starts no character of GBK is replaced by U+FFFD and passed over alone,
// as with iconv.
std::string decodeGbk(const std::string& gbk) {
    std::wstring wide;
    wide.reserve(gbk.size());
    for (std::size_t i = 0; i < gbk.size();) {
        const auto b = static_cast<unsigned char>(gbk[i]);
        if (b < 0x80) {
            wide += static_cast<wchar_t>(b);
            ++i;
            continue;
        }
        // A pair, or a single byte above ASCII (0x80, the euro sign).
        const bool pair = isGbkLead(b) && i + 1 < gbk.size() &&
                          isGbkTrail(static_cast<unsigned char>(gbk[i + 1]));
        const int len = pair ? kGbkPairLength : 1;
        wchar_t c[2];
        const int w =
            MultiByteToWideChar(kGbkCodePage, MB_ERR_INVALID_CHARS, gbk.data() + i, len, c, 2);
        if (w == 1 && !isPrivateUse(c[0]) && c[0] != kReplacementWide) {
            wide += c[0];
            i += static_cast<std::size_t>(len);
        } else {
            wide += kReplacementWide;
            ++i;
        }
    }
    return narrow(wide, CP_UTF8);
}
#else
// One conversion descriptor per direction and thread, opened on first use.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (cd_ != reinterpret_cast<iconv_t>(-1))
            iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts `in`; a sequence that cannot be converted is replaced by `replacement`
    // and `skip(lead)` input bytes are passed over.
    template <typename Skip>
    std::string run(const std::string& in, const char* replacement, Skip skip) {
        std::string out;
        if (cd_ == reinterpret_cast<iconv_t>(-1))
            return out;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char* src = const_cast<char*>(in.data());
        std::size_t srcLeft = in.size();
        char buffer[256];
        while (srcLeft > 0) {
            char* dst = buffer;
            std::size_t dstLeft = sizeof buffer;
            const std::size_t rc = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
            out.append(buffer, static_cast<std::size_t>(dst - buffer));
            if (rc != static_cast<std::size_t>(-1))
                continue;
            if (errno == E2BIG)
                continue;
            // EILSEQ, or EINVAL for a sequence cut short by the end of the input.
            out += replacement;
            std::size_t n = skip(static_cast<unsigned char>(*src));
            if (n > srcLeft)
                n = srcLeft;
            src += n;
            srcLeft -= n;
            iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        }
        return out;
    }

private:
    iconv_t cd_;
};
#endif

} // namespace

std::string utf8ToGbk(const std::string& utf8) {
#ifdef _WIN32
    bool failed = false;
    return encodeGbk(utf8, failed);
#else
    thread_local Converter toGbk("GBK", "UTF-8");
    return toGbk.run(utf8, "?", [](unsigned char lead) { return utf8SequenceLength(lead); });
#endif
}

std::string gbkToUtf8(const std::string& gbk) {
#ifdef _WIN32
    return decodeGbk(gbk);
#else
    thread_local Converter fromGbk("UTF-8", "GBK");
    return fromGbk.run(gbk, kReplacementUtf8, [](unsigned char) { return std::size_t{1}; });
#endif
}

void textToField(const std::string& utf8, char* field, std::size_t width) {
    if (width == 0)
        return;
    std::memset(field, 0, width);
    const std::string gbk = utf8ToGbk(utf8);
    const std::size_t room = width - 1;
    std::size_t used = 0;
    while (used < gbk.size()) {
        const std::size_t len =
            static_cast<unsigned char>(gbk[used]) >= kGbkLeadFirst && used + 1 < gbk.size() ? 2 : 1;
        if (used + len > room)
            break;
        used += len;
    }
    std::memcpy(field, gbk.data(), used);
}

bool isAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

std::optional<std::string> utf8ToGbkExactly(const std::string& utf8) {
    // A NUL would end a stored text early: the rest would be lost without a word.
    if (utf8.find('\0') != std::string::npos)
        return std::nullopt;
    // ASCII is the same in GBK: member numbers like "G001" need no converter.
    if (isAscii(utf8))
        return utf8;
    bool failed = false;
#ifdef _WIN32
    std::string gbk = encodeGbk(utf8, failed);
#else
    thread_local Converter toGbk("GBK", "UTF-8");
    std::string gbk = toGbk.run(utf8, "?", [&failed](unsigned char lead) {
        failed = true;
        return utf8SequenceLength(lead);
    });
#endif
    if (failed)
        return std::nullopt;
    return gbk;
}

FieldTextResult textToFieldChecked(const std::string& utf8, char* field, std::size_t width) {
    return gbkToFieldChecked(utf8ToGbkExactly(utf8), field, width);
}

FieldTextResult gbkToFieldChecked(const std::optional<std::string>& gbk, char* field,
                                  std::size_t width) {
    if (width > 0)
        std::memset(field, 0, width);
    if (!gbk)
        return FieldTextResult::NotEncodable;
    if (width == 0 || gbk->size() > width - 1)
        return FieldTextResult::TooLong;
    std::memcpy(field, gbk->data(), gbk->size());
    return FieldTextResult::Stored;
}

std::string fieldToText(const char* field, std::size_t width) {
    const void* end = std::memchr(field, '\0', width);
    const std::size_t len =
        end ? static_cast<std::size_t>(static_cast<const char*>(end) - field) : width;
    return gbkToUtf8(std::string(field, len));
}

} // namespace morvik
