#include <gtest/gtest.h>

#include "runtime/Date.h"
#include "runtime/RuntimeError.h"

namespace quillet::testing {
namespace {

TEST(DateRecognition, AcceptsTheDayFirstForms) {
    const Date expected{2024, 3, 5};
    for (const char* text : {"05/03/2024", "5/3/2024", "5-3-2024", "05/Mar/2024", "5-mar-2024",
                             "05/MAR/2024", "2024-03-05", " 05/03/2024 "}) {
        const auto d = parseDate(text);
        ASSERT_TRUE(d.has_value()) << text;
        EXPECT_EQ(*d, expected) << text;
    }
    EXPECT_EQ(formatIsoDate(*parseDate("01/Jan/2024 13:45:10")), "2024-01-01 13:45:10");
    EXPECT_EQ(parseDate("2024-01-01 08:05")->minute, 5);
}

TEST(DateRecognition, RejectsWhatIsNotADate) {
    for (const char* text : {"", "abc", "31/02/2024", "29/02/2023", "00/01/2024", "1/13/2024",
                             "2024/01/01", "01/01/24", "01/Jam/2024", "01/01/2024x", "01/01-2024",
                             "01/January/2024", "32/01/2024", "01/01/2024 25:00", "01/01/0099"}) {
        EXPECT_FALSE(parseDate(text).has_value()) << text;
    }
}

TEST(MonthAddition, ClampsAndCarriesTheClampedDay) {
    Date d{2024, 1, 31};
    d = addMonths(d, 1);
    EXPECT_EQ(formatDayMonthYear(d), "29/Feb/2024");
    d = addMonths(d, 1);
    EXPECT_EQ(formatDayMonthYear(d), "29/Mar/2024");
    EXPECT_EQ(formatDayMonthYear(addMonths(Date{2023, 1, 31}, 1)), "28/Feb/2023");
    EXPECT_EQ(formatDayMonthYear(addMonths(Date{2024, 12, 15}, 1)), "15/Jan/2025");
    EXPECT_EQ(formatDayMonthYear(addMonths(Date{2024, 1, 15}, -1)), "15/Dec/2023");
    EXPECT_THROW(addMonths(Date{9999, 12, 1}, 1), RuntimeError);
}

}  // namespace
}  // namespace quillet::testing
