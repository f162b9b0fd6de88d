// List lines gathered through a pointer against the general formatter the
// editors' lines were always made with, including lines too long to gather
// whole: numbers of hundreds of digits and very long texts.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "format_text.h"
#include "list_line_text.h"

namespace {

// "%.20s  =  %.3lf  =  %.2lf " the way a list line builds it.
std::string gathered(const char* field, double first, double second, std::string& line) {
    {
        ListLineText text(line);
        text.put_field(field, 20);
        text.put("  =  ");
        text.put_fixed(first, 3);
        text.put("  =  ");
        text.put_fixed(second, 2);
        text.put(" ");
    }
    return line;
}

TEST(ListLineText, WritesWhatTheGeneralFormatterWrites) {
    const double max = std::numeric_limits<double>::max();
    const std::vector<double> values = {0.0,     -0.0,    0.0005,   2.675,  -1.0005, 12345.678, 9.2233720368547758e18,
                                        1e300,   -max,    max,      1e-300, INFINITY, -INFINITY, NAN};
    const char* const fields[] = {"", "FSDO_0001", "\xD1\xF2\xE0\xEB\xFC", "A_REFERENCE_OF_TWENTY_FIVE"};
    // One line text for every row, as a refill keeps it: what a longer line left must not show.
    std::string line;
    for (const char* field : fields) {
        for (const double first : values) {
            for (const double second : values) {
                EXPECT_EQ(gathered(field, first, second, line),
                          format_text("%.20s  =  %.3lf  =  %.2lf ", field, first, second))
                    << field << " " << first << " " << second;
            }
        }
    }
}

TEST(ListLineText, TakesPiecesLongerThanItGathersAtOnce) {
    const std::string long_text(1500, 'x');
    std::string line = "left over from the last row";
    {
        ListLineText text(line);
        text.put("head ");
        text.put(long_text);
        text.put(" tail");
        for (int i = 0; i < 4; ++i) text.put_fixed(-std::numeric_limits<double>::max(), 4);
    }
    const std::string huge = format_text("%.4lf", -std::numeric_limits<double>::max());
    EXPECT_EQ(line, "head " + long_text + " tail" + huge + huge + huge + huge);
}

}  // namespace
