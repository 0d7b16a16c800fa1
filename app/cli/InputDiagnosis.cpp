#include "cli/InputDiagnosis.h"

#include <cmath>
#include <optional>

#include "runtime/Date.h"
#include "runtime/Numbers.h"

namespace quillet {

namespace {

std::string named(const char* option, const std::string& value) {
    return std::string("--") + option + " \"" + value + "\"";
}

std::string because(const char* option, const std::string& value, const RuntimeError& error,
                    const std::string& reason) {
    return named(option, value) + ": " + error.description() + " (" + reason + ")";
}

// The month count as the computation takes it, or nothing when that conversion fails.
std::optional<int> monthCount(const std::string& months) {
    const auto value = parseNumber(months);
    if (!value) {
        return std::nullopt;
    }
    try {
        return toInteger16(*value);
    } catch (const RuntimeError&) {
        return std::nullopt;
    }
}

}  // namespace

std::string describeInputFailure(const ScheduleInputs& inputs, const RuntimeError& error) {
    // The decimals are read first, then the duration; amount and rate at the first month; every
    // figure is then rounded to the decimals, and each month moves the date on by one.
    const auto decimals = parseNumber(inputs.decimals);
    if (!decimals) {
        return because("decimals", inputs.decimals, error, "not a number");
    }
    const auto months = parseNumber(inputs.months);
    if (!months) {
        return because("months", inputs.months, error, "not a number");
    }
    const auto count = monthCount(inputs.months);
    if (!count) {
        return because("months", inputs.months, error, "outside -32768 to 32767 months");
    }
    if (*count >= 1) {
        try {
            if (toInteger16(*decimals) < 0) {
                return because("decimals", inputs.decimals, error, "below 0");
            }
        } catch (const RuntimeError&) {
            return because("decimals", inputs.decimals, error, "outside -32768 to 32767 decimals");
        }
        if (!parseNumber(inputs.amount)) {
            return because("amount", inputs.amount, error, "not a number");
        }
        const auto rate = parseNumber(inputs.rate);
        if (!rate) {
            return because("rate", inputs.rate, error, "not a number");
        }
        try {
            addMonths(inputs.start.dateOnly(), *count - 1);
        } catch (const RuntimeError&) {
            return because("start", formatIsoDate(inputs.start.dateOnly()), error,
                           "the instalments would run past the year 9999");
        }
        if (error.number() == RuntimeError::invalidProcedureCall().number()) {
            return because("rate", inputs.rate, error,
                           "too small to tell from no interest, yet not 0");
        }
    }
    return named("amount", inputs.amount) + " with " + named("rate", inputs.rate) + " and " +
           named("months", inputs.months) + ": " + error.description() +
           " (an amount beyond the range of numbers)";
}

std::vector<std::string> inputWarnings(const ScheduleInputs& inputs) {
    std::vector<std::string> warnings;
    const auto months = parseNumber(inputs.months);
    const auto count = monthCount(inputs.months);
    if (!months || !count) {
        return warnings;  // the computation itself fails and says why
    }
    if (*count < 1) {
        warnings.push_back("warning: " + named("months", inputs.months) +
                           ": no month is computed, the schedule is empty and the instalment 0");
    } else if (*months != std::floor(*months)) {
        warnings.push_back("warning: " + named("months", inputs.months) +
                           " is not a whole number of months: " + std::to_string(*count) +
                           " months are computed (halves to even) and the last closing balance "
                           "is not 0");
    }
    return warnings;
}

}  // namespace quillet
