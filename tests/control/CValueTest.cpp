#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "control/CObject.h"
#include "control/CValueText.h"
#include "control/CValueWrite.h"
#include "control/CVariables.h"
#include "loading/ProgramFile.h"
#include "support/CdbSamples.h"
#include "support/TestMachine.h"

namespace tessaly {
namespace {

class CValueTest : public ::testing::Test {
protected:
    const CSymbol& Symbol(std::string_view name) {
        for (const CSymbol& symbol : info.Symbols()) {
            if (symbol.name == name) return symbol;
        }
        throw std::runtime_error("no symbol " + std::string(name));
    }
    CObject Object(std::string_view name) { return LocateSymbol(Symbol(name), frame); }
    std::string Write(const CObject& object, std::string_view text) { return WriteCValue(*p, w, object, text); }
    std::string Text(const CObject& object) { return FormatCValue(*p, info, object); }
    std::string Write(std::string_view name, std::string_view text) { return Write(Object(name), text); }
    std::string Text(std::string_view name) { return Text(Object(name)); }
    std::vector<std::uint8_t> Internal(std::size_t from, std::size_t count) {
        return {p->ucIntRAM.begin() + from, p->ucIntRAM.begin() + from + count};
    }
    std::vector<std::uint8_t> External(std::size_t from, std::size_t count) {
        return {p->ucExtRAM.begin() + from, p->ucExtRAM.begin() + from + count};
    }
    const CObject& Child(const std::vector<CChild>& children, std::string_view name) {
        for (const CChild& child : children) {
            if (child.name == name) return child.object;
        }
        throw std::runtime_error("no child " + std::string(name));
    }

    DebugInfo info = test::ReadCdbText(test::kTypesCdb);
    std::unique_ptr<Processor> p = test::NewProcessor();
    Workspace w;
    CFrame frame;
};

using Bytes = std::vector<std::uint8_t>;

TEST_F(CValueTest, ScalarsRoundTripThroughTheirBytes) {
    struct Case {
        const char* symbol;
        const char* typed;
        const char* shown;
        std::size_t address;  // internal RAM
        Bytes bytes;
    };
    const Case cases[] = {
        {"sc", "-5", "-5", 0x52, {0xFB}},
        {"sc", "0xFF", "-1", 0x52, {0xFF}},
        {"sc", "'A'", "65 'A'", 0x52, {0x41}},
        {"sc", "'\\''", "39 '\\''", 0x52, {0x27}},
        {"sh", "-32768", "-32768", 0x50, {0x00, 0x80}},
        {"big", "-100000", "-100000", 0x26, {0x60, 0x79, 0xFE, 0xFF}},
        {"huge", "-9223372036854775808", "-9223372036854775808", 0x2E, {0, 0, 0, 0, 0, 0, 0, 0x80}},
        {"ratio", "1.5", "1.5", 0x22, {0x00, 0x00, 0xC0, 0x3F}},
        {"ratio", " -0.1 ", "-0.1", 0x22, {0xCD, 0xCC, 0xCC, 0xBD}},
        {"ratio", "1e10", "1e+10", 0x22, {0xF9, 0x02, 0x15, 0x50}},
        {"ratio", "inf", "inf", 0x22, {0x00, 0x00, 0x80, 0x7F}},
        {"yes", "true", "1", 0x21, {0x01}},
        {"gp", "C:0x0155", "C:0x0155", 0x44, {0x55, 0x01, 0x80}},
        {"gp", "x:0x1234", "X:0x1234", 0x44, {0x34, 0x12, 0x00}},
        {"gp", "I:0x3A", "I:0x3A", 0x44, {0x3A, 0x00, 0x40}},
        {"gp", "P:0x12", "P:0x12", 0x44, {0x12, 0x00, 0x60}},
        {"gp", "0x800010", "C:0x0010", 0x44, {0x10, 0x00, 0x80}},
        {"xp", "0xBEEF", "0xBEEF", 0x47, {0xEF, 0xBE}},
        {"pp", "18", "0x12", 0x4D, {0x12}},
        {"fn", "0x0109", "0x0109", 0x4E, {0x09, 0x01}},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(Write(c.symbol, c.typed), "") << c.symbol << " " << c.typed;
        EXPECT_EQ(Internal(c.address, c.bytes.size()), c.bytes) << c.symbol << " " << c.typed;
        EXPECT_EQ(Text(c.symbol), c.shown) << c.symbol << " " << c.typed;
    }
}

TEST_F(CValueTest, BadTextOrOutOfRangeValuesChangeNothing) {
    ASSERT_EQ(Write("big", "12345678"), "");
    ASSERT_EQ(Write("gp", "X:0x4000"), "");
    struct Case {
        const char* symbol;
        const char* typed;
        const char* message;
    };
    const Case cases[] = {
        {"sc", "128", "128 is out of range for char (-128 to 127)"},
        {"sc", "-129", "-129 is out of range for char (-128 to 127)"},
        {"sc", "0x100", "0x100 is out of range for char (-128 to 127)"},
        {"sh", "abc", "'abc' is not a number"},
        {"sh", "", "'' is not a number"},
        {"sh", "1.5", "'1.5' is not a number"},
        {"sh", "--1", "'--1' is not a number"},
        {"sh", "0x", "'0x' is not a number"},
        {"big", "2147483648", "2147483648 is out of range for long (-2147483648 to 2147483647)"},
        {"yes", "2", "2 is out of range for _Bool (0 to 1)"},
        {"pword", "-1", "-1 is out of range for unsigned int (0 to 65535)"},
        {"ratio", "1e39", "1e39 is out of range for float"},
        {"ratio", "1.5f", "'1.5f' is not a number"},
        {"gp", "I:0x100", "I:0x100 is out of range for a pointer into that space"},
        {"gp", "Q:0x10", "'Q:0x10' is not a pointer: the space is C, X, I or P"},
        {"gp", "0x1000000", "0x1000000 is out of range for a generic pointer"},
        {"pp", "0x100", "0x100 is out of range for unsigned char __pdata *"},
        {"pts", "0", "an array is written one element at a time"},
        {"head", "0", "a struct is written one member at a time"},
        {"msg", "0", "code memory is read-only"},
    };
    const auto before = p->ucIntRAM;
    const auto externalBefore = p->ucExtRAM;
    for (const Case& c : cases) EXPECT_EQ(Write(c.symbol, c.typed), c.message) << c.symbol << " " << c.typed;
    EXPECT_EQ(p->ucIntRAM, before);
    EXPECT_EQ(p->ucExtRAM, externalBefore);
    EXPECT_EQ(Text("big"), "12345678");
}

TEST_F(CValueTest, ArraysAndStructsExpandAndWriteByElement) {
    // int xarr[5] in xdata at 0003h.
    const auto elements = ChildrenOf(info, Object("xarr"));
    ASSERT_EQ(elements.size(), 5u);
    EXPECT_EQ(elements[4].object.address, 0x000B);
    ASSERT_EQ(Write(Child(elements, "[4]"), "-32768"), "");
    ASSERT_EQ(Write(Child(elements, "[0]"), "400"), "");
    EXPECT_EQ(External(0x03, 10), (Bytes{0x90, 0x01, 0, 0, 0, 0, 0, 0, 0x00, 0x80}));
    EXPECT_EQ(Text("xarr"), "{400, 0, 0, 0, -32768}");

    // int grid[2][3] at 5Bh: grid[1][2] is 6 + 4 bytes in.
    const auto rows = ChildrenOf(info, Object("grid"));
    const CObject& row = Child(rows, "[1]");
    EXPECT_EQ(row.type.Spelling(), "int[3]");
    ASSERT_EQ(Write(Child(ChildrenOf(info, row), "[2]"), "7"), "");
    EXPECT_EQ(Internal(0x65, 2), (Bytes{7, 0}));
    EXPECT_EQ(Text("grid"), "{{0, 0, 0}, {0, 0, 7}}");

    // struct point pts[2] at 53h.
    const auto points = ChildrenOf(info, Object("pts"));
    const CObject& second = Child(points, "[1]");
    ASSERT_EQ(Write(Child(ChildrenOf(info, second), "y"), "-2"), "");
    EXPECT_EQ(Internal(0x59, 2), (Bytes{0xFE, 0xFF}));
    EXPECT_EQ(Text("pts"), "{{x = 0, y = 0}, {x = 0, y = -2}}");

    EXPECT_EQ(Text("head"), "{next = X:0x0000, tag = 0}");
    EXPECT_EQ(Text("both"), "{l = 0, b = {0, 0, 0, 0}}");
    p->ucCodeMemory[0x50E] = 'h';
    p->ucCodeMemory[0x50F] = 'i';
    EXPECT_EQ(Text("msg"), "{104 'h', 105 'i', 0}");
    EXPECT_TRUE(ChildrenOf(info, Object("big")).empty());
}

TEST_F(CValueTest, BitFieldsKeepTheirNeighbours) {
    // struct flags at 3Eh: a in bits 0-2 and b in bits 3-7 of the first
    // byte, signed c in bits 0-3 of the second.
    const auto members = ChildrenOf(info, Object("fl"));
    ASSERT_EQ(Write(Child(members, "b"), "31"), "");
    ASSERT_EQ(Write(Child(members, "a"), "5"), "");
    ASSERT_EQ(Write(Child(members, "c"), "-3"), "");
    p->ucIntRAM[0x3F] |= 0xA0;  // bits beyond c
    EXPECT_EQ(Internal(0x3E, 2), (Bytes{0xFD, 0xAD}));
    EXPECT_EQ(Text("fl"), "{a = 5, b = 31, c = -3}");
    EXPECT_EQ(Write(Child(members, "b"), "32"), "32 is out of range for unsigned int : 5 (0 to 31)");
    EXPECT_EQ(Write(Child(members, "c"), "8"), "8 is out of range for int : 4 (-8 to 7)");
    ASSERT_EQ(Write(Child(members, "a"), "0"), "");
    EXPECT_EQ(Internal(0x3E, 2), (Bytes{0xF8, 0xAD}));
}

TEST_F(CValueTest, BitsSfrsAndPdataGoThroughTheirOwnSpaces) {
    ASSERT_EQ(Write("flag", "1"), "");  // bit 3: byte 20h, bit 3
    EXPECT_EQ(p->ucIntRAM[0x20], 0x08);
    EXPECT_EQ(Text("flag"), "1");
    ASSERT_EQ(Write("TI", "true"), "");  // SCON.1
    EXPECT_EQ(p->ReadDirect(0x98), 0x02);
    EXPECT_EQ(Write("TI", "2"), "2 is out of range for __sbit (0 to 1)");
    ASSERT_EQ(Write("P1", "0x5A"), "");
    EXPECT_EQ(p->ReadDirect(0x90), 0x5A);
    EXPECT_EQ(Text("P1"), "90 'Z'");
    ASSERT_EQ(Write("pword", "65535"), "");  // pdata at 0001h
    EXPECT_EQ(External(0x01, 2), (Bytes{0xFF, 0xFF}));
    p->ucIntRAM[0x1B + 2] = 0xC8;  // ibuf[2] in idata
    EXPECT_EQ(Text("ibuf"), "{0, 0, 200}");
}

TEST_F(CValueTest, RegisterVariablesLiveInTheFramesBank) {
    // float f in r4-r7; bank 1 is 08h-0Fh.
    frame.registerBank = 1;
    ASSERT_EQ(Write("f", "2.5"), "");
    EXPECT_EQ(Internal(0x0C, 4), (Bytes{0x00, 0x00, 0x20, 0x40}));
    EXPECT_EQ(Internal(0x04, 4), (Bytes{0, 0, 0, 0})) << "bank 0 untouched";
    EXPECT_EQ(DescribeSymbol(*p, info, Symbol("f"), frame).value, "2.5");
    frame.registerBank = 0;
    EXPECT_EQ(Text("f"), "0");

    p->ucIntRAM[0xD0] = 0x18;  // PSW: bank 3
    EXPECT_EQ(CFrame::Current(*p).registerBank, 3);
    EXPECT_EQ(Text("r"), "<optimized out>");
    EXPECT_EQ(Write("r", "1"), "the value is optimized out");
}

TEST_F(CValueTest, StackVariablesCountFromTheFrameBase) {
    EXPECT_EQ(Text("b"), "<no stack frame>");
    // _bp at 90h: the long parameter b at 8Ah-8Dh and k[2] at 97h-98h, in
    // the upper RAM that indirect addressing reaches (stored from 100h on).
    frame.stackFrame = CFrame::StackFrameFromEntrySp(0x8F);
    ASSERT_EQ(frame.stackFrame, 0x90);
    ASSERT_EQ(Write("b", "-2"), "");
    EXPECT_EQ(Internal(0x10A, 4), (Bytes{0xFE, 0xFF, 0xFF, 0xFF}));
    ASSERT_EQ(Write(Child(ChildrenOf(info, Object("k")), "[1]"), "9"), "");
    EXPECT_EQ(p->ucIntRAM[0x118], 9);
    EXPECT_EQ(p->ucIntRAM[0x98], 0) << "not the SFR at 98h";
    EXPECT_EQ(Text("k"), "{0, 9}");
    EXPECT_EQ(Text("b"), "-2");
}

// The C example run to line 50 ("a = b;") in the third pass of its loop:
// factorial is 3!, a and b are fib(2) and fib(3), next is fib(4).
TEST(CVariables, TheCExampleShowsItsLocalsMidLoop) {
    const DebugInfo info = test::ReadCPrintfCdb();
    auto p = test::NewProcessor();
    test::MessageRecorder messages;
    const auto program = std::filesystem::path(TESSALY_SOURCE_DIR) / "examples/c-printf/c-printf.ihx";
    ASSERT_EQ(OpenProgramFile(program, *p, messages), ProgramOpen::Opened);
    p->SetHardwareSerial(true);  // putchar waits for TI
    const std::uint16_t line50 = info.Lines().BreakPointAt("c-printf.c", 50).value().address;
    int passes = 0;
    for (int i = 0; i < 5'000'000 && passes < 3; ++i) {
        p->ExecuteInstructions(1);
        if (p->usPC == line50) ++passes;
    }
    ASSERT_EQ(passes, 3);
    const auto locals = DescribeLocals(*p, info, p->usPC, CFrame::Current(*p));
    std::vector<std::string> texts;
    for (const CVariableText& local : locals) texts.push_back(local.name + ": " + local.type + " = " + local.value);
    EXPECT_EQ(texts, (std::vector<std::string>{
                         "n: unsigned char = 3",
                         "factorial: unsigned long = 6",
                         "a: unsigned int = 1",
                         "b: unsigned int = 2",
                         "next: unsigned int = 3",
                     }));
    EXPECT_TRUE(DescribeLocals(*p, info, 0x0000, CFrame::Current(*p)).empty());
}

}  // namespace
}  // namespace tessaly
