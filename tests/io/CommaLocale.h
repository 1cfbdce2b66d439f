#pragma once
// Switches the C and C++ locales of the test process to one whose decimal separator is a
// comma, and back when it goes out of scope. Tests that must read and write numbers the
// same under every locale run their cases a second time inside one. scripts/bootstrap
// makes the locale available; a machine without it fails the test instead of skipping
// it, so the check can never pass by not running.

#include <clocale>
#include <gtest/gtest.h>
#include <locale>
#include <string>

namespace morvik::test {

#ifdef _WIN32
// The C runtime knows no UTF-8 locale names, and MinGW's C++ library no named locale but
// "C": only the C locale is switched there.
constexpr const char* kCommaLocale = "German_Germany.1252";
#else
constexpr const char* kCommaLocale = "de_DE.UTF-8";
#endif

class CommaLocale {
public:
    CommaLocale() : oldC_(std::setlocale(LC_ALL, nullptr)), oldCpp_(std::locale()) {
        switched_ = std::setlocale(LC_ALL, kCommaLocale) != nullptr;
#ifndef _WIN32
        if (switched_)
            std::locale::global(std::locale(kCommaLocale));
#endif
    }
    ~CommaLocale() {
        std::setlocale(LC_ALL, oldC_.c_str());
        std::locale::global(oldCpp_);
    }
    CommaLocale(const CommaLocale&) = delete;
    CommaLocale& operator=(const CommaLocale&) = delete;

    // True when the process now formats 1.5 as "1,5".
    bool active() const {
        return switched_ && std::localeconv()->decimal_point == std::string(",");
    }

private:
    std::string oldC_;
    std::locale oldCpp_;
    bool switched_ = false;
};

// Use at the start of a test body: fails the test when the locale cannot be switched to.
#define MORVIK_IN_COMMA_LOCALE(name)                                                               \
    ::morvik::test::CommaLocale name;                                                              \
    ASSERT_TRUE(name.active()) << "the locale " << ::morvik::test::kCommaLocale                    \
                               << " is missing; scripts/bootstrap makes it available"

} // namespace morvik::test
