#include <gtest/gtest.h>

#include <ostream>

#include "support/TestMachine.h"

namespace tessaly {
namespace {

using test::Flag;
using test::LoadCode;
using test::NewProcessor;

struct FlagCase {
    const char* name;
    std::uint8_t a;
    bool carryIn;
    bool auxIn;
    std::vector<std::uint8_t> code;
    std::uint8_t expectedA;
    int cy, ac, ov;  // -1: do not check
    int parity;      // -1: do not check
    friend void PrintTo(const FlagCase& c, std::ostream* os) { *os << c.name; }
};

class ArithmeticFlags : public testing::TestWithParam<FlagCase> {};

TEST_P(ArithmeticFlags, ResultAndFlags) {
    const FlagCase& c = GetParam();
    auto p = NewProcessor();
    LoadCode(*p, 0, c.code);
    p->WriteDirect(sfr::ACC, c.a);
    p->WriteDirect(sfr::PSW, static_cast<std::uint8_t>((c.carryIn ? psw::CY : 0) | (c.auxIn ? psw::AC : 0)));
    p->ExecuteInstructions(1);
    EXPECT_EQ(p->ReadDirect(sfr::ACC), c.expectedA);
    if (c.cy >= 0) {
        EXPECT_EQ(Flag(*p, psw::CY), c.cy == 1) << "CY";
    }
    if (c.ac >= 0) {
        EXPECT_EQ(Flag(*p, psw::AC), c.ac == 1) << "AC";
    }
    if (c.ov >= 0) {
        EXPECT_EQ(Flag(*p, psw::OV), c.ov == 1) << "OV";
    }
    if (c.parity >= 0) {
        EXPECT_EQ(Flag(*p, psw::P), c.parity == 1) << "P";
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Instructions, ArithmeticFlags, testing::Values(
    FlagCase{"add_7F_plus_1",        0x7F, false, false, {0x24, 0x01}, 0x80, 0, 1, 1, 1},
    FlagCase{"addc_0_plus_0F_carry", 0x00, true,  false, {0x34, 0x0F}, 0x10, 0, 1, 0, 1},
    FlagCase{"add_80_plus_80",       0x80, false, false, {0x24, 0x80}, 0x00, 1, 0, 1, 0},
    FlagCase{"add_FF_plus_1",        0xFF, false, false, {0x24, 0x01}, 0x00, 1, 1, 0, 0},
    FlagCase{"add_ignores_carry_in", 0x01, true,  false, {0x24, 0x01}, 0x02, 0, 0, 0, 1},
    FlagCase{"addc_FF_FF_carry",     0xFF, true,  false, {0x34, 0xFF}, 0xFF, 1, 1, 0, 0},
    FlagCase{"subb_80_minus_1",      0x80, false, false, {0x94, 0x01}, 0x7F, 0, 1, 1, 1},
    FlagCase{"subb_0_minus_FF_borrow", 0x00, true, false, {0x94, 0xFF}, 0x00, 1, 1, -1, 0},
    FlagCase{"subb_equal_no_borrow", 0x42, false, false, {0x94, 0x42}, 0x00, 0, 0, 0, 0},
    FlagCase{"subb_7F_minus_FF",     0x7F, false, false, {0x94, 0xFF}, 0x80, 1, 0, 1, 1},
    FlagCase{"subb_uses_carry",      0x10, true,  false, {0x94, 0x00}, 0x0F, 0, 1, 0, 0},
    FlagCase{"da_9A",                0x9A, false, false, {0xD4},       0x00, 1, 0, -1, 0},
    FlagCase{"da_keeps_carry",       0x12, true,  false, {0xD4},       0x72, 1, 0, -1, 0},
    FlagCase{"da_aux_carry",         0x10, false, true,  {0xD4},       0x16, 0, 1, -1, 1},
    FlagCase{"da_no_change",         0x45, false, false, {0xD4},       0x45, 0, 0, -1, 1},
    FlagCase{"da_low_nibble_carries", 0xFA, false, false, {0xD4},      0x60, 1, 0, -1, 0},
    FlagCase{"rlc_through_carry",    0x81, false, false, {0x33},       0x02, 1, -1, -1, 1},
    FlagCase{"rlc_carry_into_bit0",  0x00, true,  false, {0x33},       0x01, 0, -1, -1, 1},
    FlagCase{"rrc_through_carry",    0x01, true,  false, {0x13},       0x80, 1, -1, -1, 1},
    FlagCase{"rl_no_carry",          0x81, false, false, {0x23},       0x03, 0, -1, -1, 0},
    FlagCase{"rr_no_carry",          0x01, false, false, {0x03},       0x80, 0, -1, -1, 1},
    FlagCase{"swap",                 0x5A, false, false, {0xC4},       0xA5, 0, -1, -1, 0},
    FlagCase{"cpl_a",                0x0F, false, false, {0xF4},       0xF0, 0, -1, -1, 0},
    FlagCase{"clr_a_keeps_carry",    0x37, true,  false, {0xE4},       0x00, 1, -1, -1, 0},
    FlagCase{"inc_a_no_flags",       0xFF, false, false, {0x04},       0x00, 0, 0, 0, 0},
    FlagCase{"dec_a_no_flags",       0x00, false, false, {0x14},       0xFF, 0, 0, 0, 0},
    FlagCase{"anl_a_data",           0xF0, true,  false, {0x54, 0x3C}, 0x30, 1, -1, -1, 0},
    FlagCase{"orl_a_data",           0xF0, false, false, {0x44, 0x0C}, 0xFC, 0, -1, -1, 0},
    FlagCase{"xrl_a_data",           0xFF, false, false, {0x64, 0x0F}, 0xF0, 0, -1, -1, 0}
), [](const testing::TestParamInfo<FlagCase>& info) { return std::string(info.param.name); });
// clang-format on

TEST(DecimalAdjust, AddThenAdjustGivesBcdSum) {
    auto p = NewProcessor();
    LoadCode(*p, 0, {0x74, 0x56, 0x24, 0x67, 0xD4});  // MOV A,#56h; ADD A,#67h; DA A
    p->ExecuteInstructions(3);
    EXPECT_EQ(p->ReadDirect(sfr::ACC), 0x23);
    EXPECT_TRUE(Flag(*p, psw::CY));
}

TEST(MultiplyDivide, MulSetsOverflowForWideProducts) {
    auto p = NewProcessor();
    LoadCode(*p, 0, {0xA4, 0xA4});
    p->WriteDirect(sfr::ACC, 0x80);
    p->WriteDirect(sfr::B, 0x02);
    p->WriteDirect(sfr::PSW, psw::CY);
    p->ExecuteInstructions(1);
    EXPECT_EQ(p->ReadDirect(sfr::ACC), 0x00);
    EXPECT_EQ(p->ReadDirect(sfr::B), 0x01);
    EXPECT_TRUE(Flag(*p, psw::OV));
    EXPECT_FALSE(Flag(*p, psw::CY));
    EXPECT_EQ(p->ullCyclesExecuted, 4u);

    p->WriteDirect(sfr::ACC, 0x0F);
    p->WriteDirect(sfr::B, 0x11);
    p->ExecuteInstructions(1);
    EXPECT_EQ(p->ReadDirect(sfr::ACC), 0xFF);
    EXPECT_EQ(p->ReadDirect(sfr::B), 0x00);
    EXPECT_FALSE(Flag(*p, psw::OV));
}

TEST(MultiplyDivide, DivByZeroAndNormalDivision) {
    auto p = NewProcessor();
    LoadCode(*p, 0, {0x84, 0x84});
    p->WriteDirect(sfr::ACC, 0x10);
    p->WriteDirect(sfr::B, 0x00);
    p->WriteDirect(sfr::PSW, psw::CY);
    p->ExecuteInstructions(1);
    EXPECT_EQ(p->ReadDirect(sfr::ACC), 0x00);
    EXPECT_EQ(p->ReadDirect(sfr::B), 0x00);
    EXPECT_TRUE(Flag(*p, psw::OV));
    EXPECT_FALSE(Flag(*p, psw::CY));

    p->WriteDirect(sfr::ACC, 0xFB);
    p->WriteDirect(sfr::B, 0x12);
    p->ExecuteInstructions(1);
    EXPECT_EQ(p->ReadDirect(sfr::ACC), 0x0D);
    EXPECT_EQ(p->ReadDirect(sfr::B), 0x11);
    EXPECT_FALSE(Flag(*p, psw::OV));
}

// Every source form of one arithmetic family reaches the right operand.
TEST(OperandForms, AddReadsEverySourceForm) {
    auto p = NewProcessor();
    p->WriteDirect(sfr::PSW, 0x08);  // bank 1
    for (unsigned n = 0; n < 8; ++n) p->ucIntRAM[0x08 + n] = static_cast<std::uint8_t>(0x10 + n);
    p->ucIntRAM[0x08] = 0x40;        // R0 -> 40h
    p->ucIntRAM[0x09] = 0x90;        // R1 -> upper RAM 90h
    p->ucIntRAM[0x40] = 0x21;
    p->ucIntRAM[0x100 + 0x10] = 0x22;
    p->ucIntRAM[0x35] = 0x23;
    struct Case {
        std::vector<std::uint8_t> code;
        std::uint8_t expected;
    };
    const Case cases[] = {{{0x24, 0x05}, 0x05}, {{0x25, 0x35}, 0x23}, {{0x26}, 0x21}, {{0x27}, 0x22},
                          {{0x28}, 0x40},       {{0x29}, 0x90},       {{0x2A}, 0x12}, {{0x2F}, 0x17}};
    for (const auto& c : cases) {
        p->usPC = 0;
        LoadCode(*p, 0, c.code);
        p->WriteDirect(sfr::ACC, 0);
        p->ExecuteInstructions(1);
        EXPECT_EQ(p->ReadDirect(sfr::ACC), c.expected) << std::hex << int(*c.code.begin());
    }
}

TEST(Parity, FollowsAccumulatorAfterEveryInstruction) {
    auto p = NewProcessor();
    LoadCode(*p, 0, {0x75, 0xD0, 0x01, 0x74, 0x07});  // MOV PSW,#01h; MOV A,#07h
    p->ExecuteInstructions(1);
    EXPECT_FALSE(Flag(*p, psw::P));  // A = 00h: the written P is replaced at once
    p->ExecuteInstructions(1);
    EXPECT_TRUE(Flag(*p, psw::P));
}

}  // namespace
}  // namespace tessaly
