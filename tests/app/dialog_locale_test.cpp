// The dialog under the desktop's locale: run a second time with a decimal comma, the
// suite must really be under it, and readings keep their point.
#include "DialogFixture.h"

#include <clocale>
#include <cstdlib>
#include <string>

namespace morvik::test {
namespace {

TEST(DialogLocale, RunsUnderTheLocaleItWasGiven) {
    if (!std::getenv("MORVIK_EXPECT_COMMA_LOCALE"))
        return; // the ordinary run, under whatever the machine has
    // The application object took the locale from the environment.
    EXPECT_EQ(std::string(std::localeconv()->decimal_point), ",")
        << "de_DE.UTF-8 is missing: scripts/bootstrap makes it";
}

TEST(DialogLocale, ReadingsAndResultsKeepTheirPoint) {
    DialogWindow w;
    for (int p = 1; p <= 7; ++p) {
        w.typeReading(p, 1, "0.5");
        w.typeReading(p, 2, "5.45");
    }
    EXPECT_EQ(w.grid().itemText(1, 1), "0.50");
    EXPECT_EQ(w.grid().itemText(1, 3), "4.95");
    EXPECT_EQ(w.text(kIdMeanDepth), "4.95");
    EXPECT_FLOAT_EQ(w.session().currentRecord().gaugeReading[0], 5.45f);
}

} // namespace
} // namespace morvik::test
