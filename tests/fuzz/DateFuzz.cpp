// Date recognition: every accepted date lies in the supported calendar and round-trips through
// its stored ISO text; a number read as a date either gives a date or fails cleanly.
#include <cstring>
#include <string>

#include "FuzzTarget.h"
#include "runtime/Date.h"
#include "runtime/RuntimeError.h"
#include "runtime/Variant.h"

using quillet::testing::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input = quillet::testing::asText(data, size);
    if (const auto date = quillet::parseDate(input)) {
        require(date->year >= 100 && date->year <= 9999 &&
                    quillet::isValidDate(date->year, date->month, date->day),
                "an accepted date lies in the calendar", input);
        require(date->hour >= 0 && date->hour < 24 && date->minute >= 0 && date->minute < 60 &&
                    date->second >= 0 && date->second < 60,
                "an accepted time of day is one", input);
        const std::string iso = quillet::formatIsoDate(*date);
        require(quillet::parseDate(iso) == date, "an accepted date round-trips through ISO text",
                input);
        require(quillet::parseDate(quillet::formatShortDate(*date)) == date,
                "an accepted date round-trips through the short date form", input);
    }
    // Eight bytes are also a serial day number (NaN and infinities included).
    if (size == sizeof(double)) {
        double serial = 0;
        std::memcpy(&serial, data, sizeof serial);
        try {
            const quillet::Date date = quillet::Variant(serial).toDate();
            require(date.year >= 100 && date.year <= 9999 &&
                        quillet::isValidDate(date.year, date.month, date.day),
                    "a serial read as a date lies in the calendar", input);
        } catch (const quillet::RuntimeError&) {
            // Outside the calendar, or not a number at all: refused, as it should be.
        }
    }
    return 0;
}
