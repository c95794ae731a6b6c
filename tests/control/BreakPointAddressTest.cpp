#include <gtest/gtest.h>

#include <ostream>

#include "control/BreakPointAddress.h"
#include "support/TestMachine.h"

namespace tessaly {
namespace {

struct AddressCase {
    const char* field;
    AddressRadix radix;
    std::optional<std::uint16_t> address;  // nothing: the range message
    friend void PrintTo(const AddressCase& c, std::ostream* os) {
        *os << '"' << c.field << (c.radix == AddressRadix::Decimal ? "\" decimal" : "\" hex");
    }
};

class BreakPointAddressOk : public ::testing::TestWithParam<AddressCase> {};

TEST_P(BreakPointAddressOk, AcceptsZeroToFFFFAndRefusesTheRest) {
    const AddressCase& c = GetParam();
    test::MessageRecorder recorder;
    EXPECT_EQ(AcceptBreakPointAddress(c.field, c.radix, recorder), c.address);
    if (c.address) {
        EXPECT_TRUE(recorder.entries.empty());
    } else {
        ASSERT_EQ(recorder.entries.size(), 1u);
        EXPECT_EQ(recorder.entries[0].kind, MessageKind::Error);
        EXPECT_EQ(recorder.entries[0].text, "Break point address may only be between 0000H-FFFFH");
    }
}

constexpr auto kHex = AddressRadix::Hex;
constexpr auto kDec = AddressRadix::Decimal;

INSTANTIATE_TEST_SUITE_P(
    Fields, BreakPointAddressOk,
    ::testing::Values(AddressCase{"FFFF", kHex, 0xFFFF}, AddressCase{"ffff", kHex, 0xFFFF},
                      AddressCase{"0", kHex, 0x0000}, AddressCase{"10", kHex, 0x0010}, AddressCase{"1A2B", kHex, 0x1A2B},
                      AddressCase{"", kHex, std::nullopt}, AddressCase{"12G", kHex, std::nullopt},
                      AddressCase{"10000", kHex, std::nullopt}, AddressCase{"-1", kHex, std::nullopt},
                      AddressCase{"0x12", kHex, std::nullopt}, AddressCase{"65535", kDec, 0xFFFF},
                      AddressCase{"0", kDec, 0x0000}, AddressCase{"10", kDec, 0x000A},
                      AddressCase{"65536", kDec, std::nullopt}, AddressCase{"", kDec, std::nullopt},
                      AddressCase{"-1", kDec, std::nullopt}, AddressCase{"1A", kDec, std::nullopt},
                      AddressCase{"99999999999", kDec, std::nullopt}, AddressCase{"0x1F", kDec, 0x001F}));

TEST(BreakPointAddress, ConvertsLikeTheIntegerConversion) {
    EXPECT_EQ(ConvertIntegerText("+5"), 5);
    EXPECT_EQ(ConvertIntegerText("-5"), -5);
    EXPECT_EQ(ConvertIntegerText("-0x10"), -16);
    EXPECT_EQ(ConvertIntegerText("-2147483648"), -2147483648LL);
    EXPECT_EQ(ConvertIntegerText("2147483648"), -1);
    EXPECT_EQ(ConvertIntegerText("--5"), -1);
    EXPECT_EQ(ConvertIntegerText("5 "), -1);
}

TEST(BreakPointAddress, KeyFilterUpperCasesAndDropsWhatTheModeRefuses) {
    EXPECT_EQ(FilterBreakPointAddressKey('f', kHex), 'F');
    EXPECT_EQ(FilterBreakPointAddressKey('A', kHex), 'A');
    EXPECT_EQ(FilterBreakPointAddressKey('7', kHex), '7');
    EXPECT_EQ(FilterBreakPointAddressKey('g', kHex), '\0');
    EXPECT_EQ(FilterBreakPointAddressKey('x', kHex), '\0');
    EXPECT_EQ(FilterBreakPointAddressKey(' ', kHex), '\0');
    EXPECT_EQ(FilterBreakPointAddressKey('\b', kHex), '\b');
    EXPECT_EQ(FilterBreakPointAddressKey('a', kDec), '\0');
    EXPECT_EQ(FilterBreakPointAddressKey('9', kDec), '9');
    EXPECT_EQ(FilterBreakPointAddressKey('\b', kDec), '\b');
    EXPECT_EQ(FilterBreakPointAddressKey('-', kDec), '\0');
    EXPECT_EQ(BreakPointAddressMaxLength(kHex), 4u);
    EXPECT_EQ(BreakPointAddressMaxLength(kDec), 5u);
}

}  // namespace
}  // namespace tessaly
