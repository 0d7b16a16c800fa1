#include <gtest/gtest.h>

#include <cmath>

#include "runtime/Dispatch.h"
#include "runtime/RuntimeError.h"
#include "runtime/Variant.h"
#include "support/ErrorNumber.h"

namespace quillet::testing {
namespace {

TEST(VariantConversion, EmptyReadsAsNothingButNullIsNeverQuietlyAValue) {
    const Variant empty;
    EXPECT_EQ(empty.toString(), "");
    EXPECT_EQ(empty.toDouble(), 0.0);
    const Variant null = Variant::null();
    EXPECT_EQ(errorNumberOf([&] { (void)null.toString(); }), 94);
    EXPECT_EQ(errorNumberOf([&] { (void)null.toDouble(); }), 94);
    EXPECT_EQ(errorNumberOf([&] { (void)null.toDate(); }), 94);
    EXPECT_EQ(null.toStringOr("-"), "-");
}

TEST(VariantConversion, TextNumbersAndDates) {
    EXPECT_EQ(Variant("12.5").toDouble(), 12.5);
    EXPECT_EQ(Variant("12.5").toInteger(), 12);
    EXPECT_EQ(errorNumberOf([] { (void)Variant("abc").toDouble(); }), 13);
    EXPECT_EQ(errorNumberOf([] { (void)Variant(40000.0).toInteger(); }), 6);
    EXPECT_EQ(Variant(42.0).toString(), "42");
    EXPECT_EQ(Variant(true).toString(), "True");
    EXPECT_EQ(Variant(true).toDouble(), -1.0);
    EXPECT_EQ(Variant(Date{2024, 3, 25}).toString(), "25/03/2024");
    EXPECT_EQ(Variant("25/03/2024").toDate(), (Date{2024, 3, 25}));
    EXPECT_EQ(errorNumberOf([] { (void)Variant("abc").toDate(); }), 13);
    EXPECT_EQ(errorNumberOf([] { (void)Variant(std::nan("")).toDate(); }), 6);
}

TEST(VariantSum, StaysInTheWiderNumberTypeAndWidensOnlyWhenItMust) {
    // A Double and a Long past its range are covered by the next serial (records/).
    const Variant one(std::int16_t{1});
    EXPECT_EQ(Variant(std::int32_t{17}) + one, Variant(std::int32_t{18}));
    // The largest Integer sum stays an Integer; only one past it becomes a Long.
    const Variant largest = Variant(std::int16_t{32766}) + one;
    EXPECT_EQ(largest.type(), Variant::Type::Integer);
    EXPECT_EQ(largest, Variant(std::int16_t{32767}));
    EXPECT_EQ(Variant(std::int16_t{32767}) + one, Variant(std::int32_t{32768}));
    EXPECT_EQ(Variant("2.5") + one, Variant(3.5));
    EXPECT_EQ(Variant(Date{2024, 2, 28}) + one, Variant(Date{2024, 2, 29}));
    EXPECT_TRUE((Variant::null() + one).isNull());
    EXPECT_EQ(errorNumberOf([&] { (void)(Variant("x") + one); }), 13);
}

// An object's own properties are covered with the controls (app/adapters).
TEST(VariantConversion, ObjectsAreReachedByLateBinding) {
    const auto object = std::make_shared<Dispatch>();
    const Variant v{object};
    EXPECT_EQ(v.toObject(), object);
    EXPECT_EQ(errorNumberOf([&] { (void)v.toObject()->getProperty("Value"); }), 438);
    EXPECT_EQ(errorNumberOf([&] { v.toObject()->setProperty("Text", "x"); }), 438);
    EXPECT_EQ(errorNumberOf([] { (void)Variant("x").toObject(); }), 424);
    EXPECT_EQ(errorNumberOf([&] { (void)v.toString(); }), 13);
}

}  // namespace
}  // namespace quillet::testing
