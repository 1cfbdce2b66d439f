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

std::wstring widen(const std::string& text, UINT codePage) {
    if (text.empty())
        return {};
    const int n =
        MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
    return wide;
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
    return narrow(widen(utf8, CP_UTF8), kGbkCodePage);
#else
    thread_local Converter toGbk("GBK", "UTF-8");
    return toGbk.run(utf8, "?", [](unsigned char lead) { return utf8SequenceLength(lead); });
#endif
}

std::string gbkToUtf8(const std::string& gbk) {
#ifdef _WIN32
    return narrow(widen(gbk, kGbkCodePage), CP_UTF8);
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
    const int wideLength = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(),
                                               static_cast<int>(utf8.size()), nullptr, 0);
    failed = wideLength == 0 && !utf8.empty();
    std::string gbk;
    if (!failed) {
        const std::wstring wide = widen(utf8, CP_UTF8);
        BOOL usedDefault = FALSE;
        const int n =
            WideCharToMultiByte(kGbkCodePage, WC_NO_BEST_FIT_CHARS, wide.data(),
                                static_cast<int>(wide.size()), nullptr, 0, nullptr, &usedDefault);
        failed = usedDefault != FALSE;
        gbk.resize(static_cast<std::size_t>(n));
        WideCharToMultiByte(kGbkCodePage, WC_NO_BEST_FIT_CHARS, wide.data(),
                            static_cast<int>(wide.size()), gbk.data(), n, nullptr, nullptr);
    }
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
