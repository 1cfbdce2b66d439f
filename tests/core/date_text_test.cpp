#include "core/DateText.h"

#include <gtest/gtest.h>

using namespace morvik;

namespace {

TEST(DateText, WritesWithoutLeadingZeros) {
    EXPECT_EQ(dateText(CivilDate{2018, 3, 5}), "2018年3月5日");
    EXPECT_EQ(dateText(CivilDate{2018, 12, 31}), "2018年12月31日");
}

TEST(DateText, ReadsTheStoredFormsAndRefusesTheRest) {
    struct Case {
        const char* text;
        std::optional<CivilDate> date;
    };
    const Case cases[] = {
        {"2018年3月5日", CivilDate{2018, 3, 5}},
        {"2018年03月05日", CivilDate{2018, 3, 5}},
        {" 2018年12月31日 ", CivilDate{2018, 12, 31}},
        {"2018-03-05", CivilDate{2018, 3, 5}},
        {"2018/3/5", CivilDate{2018, 3, 5}},
        {"2024/2/29", CivilDate{2024, 2, 29}},
        {"2023/2/29", std::nullopt},
        {"1900-02-29", std::nullopt},
        {"2000-02-29", CivilDate{2000, 2, 29}},
        {"2018年13月5日", std::nullopt},
        {"2018年3月0日", std::nullopt},
        {"2018年3月5", std::nullopt},
        {"2018-3/5", std::nullopt},
        {"-1年-1月-1日", std::nullopt},
        {"20180305", std::nullopt},
        {"12345-1-1", std::nullopt},
        {"", std::nullopt},
        {"2018年3月5日x", std::nullopt},
    };
    for (const Case& c : cases) {
        const auto date = parseDateText(c.text);
        EXPECT_EQ(date.has_value(), c.date.has_value()) << c.text;
        if (date && c.date) {
            EXPECT_EQ(*date, *c.date) << c.text;
        }
    }
}

TEST(DateText, TodayIsACalendarDate) {
    EXPECT_TRUE(isValidDate(localToday()));
}

} // namespace
