#include <gtest/gtest.h>

#include <string>
#include <variant>
#include <vector>

#include "analysis/CdbReader.h"
#include "support/CdbSamples.h"
#include "util/Lines.h"

namespace tessaly {
namespace {

using test::kTypesCdb;
using test::ReadCdbText;
using test::ReadCPrintfCdb;

const CSymbol& Global(const DebugInfo& info, std::string_view name) {
    const CSymbol* symbol = info.GlobalNamed(name);
    if (!symbol) throw std::runtime_error("no global " + std::string(name));
    return *symbol;
}

struct LocalSeen {
    std::string name;
    std::string type;
    CAddressSpace space;
    std::optional<std::uint16_t> address;
    std::vector<std::string> registers;
    friend bool operator==(const LocalSeen&, const LocalSeen&) = default;
};

std::vector<LocalSeen> Locals(const DebugInfo& info, const CFunction& function, std::uint16_t pc) {
    std::vector<LocalSeen> seen;
    for (const CSymbol* symbol : info.LocalsAt(function, pc)) {
        seen.push_back({symbol->name, symbol->type.Spelling(), symbol->space, symbol->address, symbol->registers});
    }
    return seen;
}

TEST(CdbReader, ReadsTheFunctionsAndLocalsOfTheCExample) {
    const DebugInfo info = ReadCPrintfCdb();
    EXPECT_EQ(info.Modules(), std::vector<std::string>{"c_printf"});
    EXPECT_EQ(info.Lines().Files(), std::vector<std::string>{"c_printf.c"});

    ASSERT_EQ(info.Functions().size(), 3u);
    const CFunction* putchar = info.FunctionNamed("putchar");
    const CFunction* init = info.FunctionNamed("serial_init");
    const CFunction* main = info.FunctionNamed("main");
    ASSERT_TRUE(putchar && init && main);
    EXPECT_EQ(putchar->start, 0x62);
    EXPECT_EQ(putchar->end, 0x71);
    EXPECT_FALSE(putchar->isStatic);
    EXPECT_EQ(putchar->type.Spelling(), "int ()");
    EXPECT_TRUE(init->isStatic);
    EXPECT_EQ(init->module, "c_printf");
    EXPECT_EQ(init->start, 0x72);
    EXPECT_EQ(init->end, 0x80);
    EXPECT_EQ(main->start, 0x81);
    EXPECT_EQ(main->end, 0x154);
    EXPECT_FALSE(main->reentrant);
    EXPECT_FALSE(main->isInterrupt);

    // Line 47, inside the loop's block: the loop's own local is in scope.
    const std::vector<LocalSeen> inLoop = {
        {"n", "unsigned char", CAddressSpace::Register, std::nullopt, {"r3"}},
        {"factorial", "unsigned long", CAddressSpace::Data, 0x08, {}},
        {"a", "unsigned int", CAddressSpace::Data, 0x0C, {}},
        {"b", "unsigned int", CAddressSpace::Register, std::nullopt, {"r0", "r1"}},
        {"next", "unsigned int", CAddressSpace::Data, 0x0E, {}},
    };
    EXPECT_EQ(Locals(info, *main, 0xBF), inLoop);
    // Line 53, after the loop: "next" has gone.
    EXPECT_EQ(Locals(info, *main, 0x13D), std::vector<LocalSeen>(inLoop.begin(), inLoop.end() - 1));
    EXPECT_TRUE(info.LocalsAt(*putchar, 0x66).empty());

    const CSymbol& ti = Global(info, "TI");
    EXPECT_EQ(ti.space, CAddressSpace::Sbit);
    EXPECT_EQ(ti.address, 0x99);
    EXPECT_EQ(ti.type.Spelling(), "__sbit");
    const CSymbol& text = Global(info, "__str_0");
    EXPECT_EQ(text.scope, CSymbolScope::File);
    EXPECT_EQ(text.type.Spelling(), "unsigned char[54]");
    EXPECT_EQ(text.type.size, 54u);
    EXPECT_EQ(text.space, CAddressSpace::Code);
    EXPECT_EQ(text.address, 0x94F);
    EXPECT_EQ(info.GlobalNamed("main"), nullptr) << "a function is no variable";
    EXPECT_EQ(info.GlobalNamed("n"), nullptr) << "a local is no global";
}

TEST(CdbReader, FindsTheLineAtEachEdgeOfAFunction) {
    const DebugInfo info = ReadCPrintfCdb();
    struct Case {
        std::uint16_t pc;
        const char* function;
        int line;
    };
    const Case cases[] = {
        {0x62, "putchar", 19},      // first byte
        {0x65, "putchar", 19},      // inside the prologue
        {0x68, "putchar", 24},      // lines 22 and 24 start here: the later record
        {0x71, "putchar", 26},      // last instruction
        {0x72, "serial_init", 30},  // header line 28 and line 30 share the first byte
        {0x80, "serial_init", 35},
        {0x81, "main", 40},
        {0x133, "main", 51},        // the byte before the loop's step
        {0x134, "main", 45},        // the loop's step, a second address of line 45
        {0x154, "main", 56},
    };
    for (const Case& c : cases) {
        const CSourcePosition position = info.PositionAt(c.pc);
        ASSERT_NE(position.function, nullptr) << std::hex << c.pc;
        EXPECT_EQ(position.function->name, c.function) << std::hex << c.pc;
        ASSERT_NE(position.line, nullptr) << std::hex << c.pc;
        EXPECT_EQ(position.line->line, c.line) << std::hex << c.pc;
        EXPECT_EQ(position.line->file, "c_printf.c");
    }
    // The start-up code before the first function and the library after the last.
    for (std::uint16_t pc : {0x00, 0x61, 0x155, 0x94F}) {
        EXPECT_EQ(info.PositionAt(pc).function, nullptr) << std::hex << pc;
        EXPECT_EQ(info.PositionAt(pc).line, nullptr) << std::hex << pc;
    }
    EXPECT_EQ(info.Lines().LineAt(0x80, 0x81, 0x154), nullptr) << "below the range";
}

TEST(CdbReader, PutsBreakPointsOnTheFirstAddressOfTheNextLineWithCode) {
    const DebugInfo info = ReadCPrintfCdb();
    const SourceMap& lines = info.Lines();
    struct Case {
        int asked;
        int line;
        std::uint16_t address;
    };
    const Case cases[] = {
        {19, 19, 0x62}, {20, 21, 0x66}, {27, 28, 0x72},  {42, 43, 0x93},
        {45, 45, 0xB3}, {48, 48, 0xF3}, {55, 56, 0x154}, {1, 19, 0x62},
    };
    for (const Case& c : cases) {
        // The source's own name: SDCC writes '-' as '_'.
        const auto breakPoint = lines.BreakPointAt("examples/c-printf/c-printf.c", c.asked);
        ASSERT_TRUE(breakPoint) << c.asked;
        EXPECT_EQ(breakPoint->line, c.line) << c.asked;
        EXPECT_EQ(breakPoint->address, c.address) << c.asked;
        EXPECT_EQ(breakPoint->file, "c_printf.c");
    }
    EXPECT_FALSE(lines.BreakPointAt("c-printf.c", 57)) << "past the last line with code";
    EXPECT_FALSE(lines.BreakPointAt("other.c", 20));
    EXPECT_EQ(lines.AddressesOf("c_printf.c", 45), (std::vector<std::uint16_t>{0xB3, 0x134}));
    EXPECT_TRUE(lines.AddressesOf("c_printf.c", 42).empty());

    EXPECT_EQ(info.BodyStart(*info.FunctionNamed("putchar")), 0x66) << "after moving the argument";
    EXPECT_EQ(info.BodyStart(*info.FunctionNamed("serial_init")), 0x72);
    EXPECT_EQ(info.BodyStart(*info.FunctionNamed("main")), 0x81);

    const AsmSourceLine* asmLine = lines.AsmLineAt(0x67);
    ASSERT_NE(asmLine, nullptr);
    EXPECT_EQ(asmLine->module, "c-printf");
    EXPECT_EQ(asmLine->line, 506);
    EXPECT_EQ(lines.AsmLineAt(0x155), nullptr) << "past the module's last line";
}

TEST(CdbReader, SpellsAndSizesEachKindOfType) {
    const DebugInfo info = ReadCdbText(kTypesCdb);
    struct Case {
        const char* name;
        const char* spelling;
        std::size_t size;
    };
    const Case cases[] = {
        {"yes", "_Bool", 1},
        {"ratio", "float", 4},
        {"big", "long", 4},
        {"huge", "long long", 8},
        {"both", "union u", 4},
        {"fl", "struct flags", 2},
        {"head", "struct node", 4},
        {"gp", "unsigned char *", 3},
        {"xp", "unsigned char __xdata *", 2},
        {"pp", "unsigned char __pdata *", 1},
        {"fn", "int (__code *)()", 2},
        {"sh", "int", 2},
        {"sc", "char", 1},
        {"pts", "struct point[2]", 8},
        {"grid", "int[2][3]", 12},
        {"flag", "__bit", 1},
        {"msg", "unsigned char[3]", 3},
    };
    for (const Case& c : cases) {
        const CSymbol& symbol = Global(info, c.name);
        EXPECT_EQ(symbol.type.Spelling(), c.spelling) << c.name;
        EXPECT_EQ(symbol.type.size, c.size) << c.name;
    }
    EXPECT_EQ(Global(info, "grid").type.target->size, 6u);
    EXPECT_EQ(Global(info, "pword").space, CAddressSpace::Pdata);
    EXPECT_EQ(Global(info, "ibuf").space, CAddressSpace::Idata);
    EXPECT_EQ(Global(info, "xarr").space, CAddressSpace::Xdata);

    const CStruct* flags = info.StructOf(Global(info, "fl").type);
    ASSERT_NE(flags, nullptr);
    ASSERT_EQ(flags->members.size(), 3u);
    EXPECT_FALSE(flags->isUnion);
    const CType& b = flags->MemberNamed("b")->type;
    EXPECT_EQ(b.Spelling(), "unsigned int : 5");
    EXPECT_EQ(b.bitStart, 3);
    EXPECT_EQ(flags->MemberNamed("c")->offset, 1u);
    EXPECT_EQ(flags->MemberNamed("c")->type.Spelling(), "int : 4");

    // A struct that points to its own kind.
    const CStruct* node = info.StructOf(Global(info, "head").type);
    ASSERT_NE(node, nullptr);
    const CType& next = node->MemberNamed("next")->type;
    EXPECT_EQ(next.Spelling(), "struct node *");
    EXPECT_EQ(info.StructOf(*next.target), node);
    EXPECT_EQ(next.target->size, 4u);
    EXPECT_TRUE(info.StructOf(Global(info, "both").type)->isUnion);
}

TEST(CdbReader, ReadsFunctionKindsAndStackPlaces) {
    const DebugInfo info = ReadCdbText(kTypesCdb);
    const CFunction& isr = *info.FunctionNamed("isr0");
    EXPECT_TRUE(isr.isInterrupt);
    EXPECT_EQ(isr.interruptNumber, 1);
    EXPECT_EQ(isr.registerBank, 1);
    EXPECT_EQ(isr.start, 0x103);
    EXPECT_EQ(isr.end, 0x108);

    const CFunction& mix = *info.FunctionNamed("mix");
    EXPECT_TRUE(mix.reentrant);
    EXPECT_EQ(mix.type.Spelling(), "long ()");
    const auto locals = info.LocalsAt(mix, 0xDF);
    ASSERT_EQ(locals.size(), 5u);
    EXPECT_EQ(locals[0]->name, "b");
    EXPECT_EQ(locals[0]->space, CAddressSpace::InternalStack);
    EXPECT_TRUE(locals[0]->onStack);
    EXPECT_EQ(locals[0]->stackOffset, -6);
    EXPECT_EQ(locals[1]->type.Spelling(), "struct point *");
    EXPECT_EQ(locals[3]->stackOffset, 7);
    EXPECT_TRUE(locals[4]->registers.empty()) << "a register variable kept nowhere";

    const CFunction& main = *info.FunctionNamed("main");
    const auto mainLocals = info.LocalsAt(main, 0x109);
    ASSERT_EQ(mainLocals.size(), 2u) << "no compiler temporaries";
    EXPECT_EQ(mainLocals[1]->registers, (std::vector<std::string>{"r4", "r5", "r6", "r7"}));
    EXPECT_EQ(info.FunctionNamed("twice")->module, "types");
    EXPECT_TRUE(info.FunctionNamed("twice")->isStatic);
}

// SDCC repeats the record of a function with an initialised static local,
// in --stack-auto builds with a frame size only in the second copy.
TEST(CdbReader, AFunctionRecordedTwiceIsOneFunctionWithItsAddresses) {
    const DebugInfo info = ReadCdbText("M:m\n"
                                       "F:G$go$0_0$0({2}DF,SV:S),C,0,0,0,0,0\n"
                                       "F:G$go$0_0$0({2}DF,SV:S),C,0,-2,0,0,0\n"
                                       "L:G$go$0$0:343\n"
                                       "L:C$m.c$3$1_0$1:343\n"
                                       "L:XG$go$0$0:535\n");
    ASSERT_EQ(info.Functions().size(), 1u);
    const CFunction* go = info.FunctionNamed("go");
    ASSERT_NE(go, nullptr);
    EXPECT_EQ(go->start, 0x343);
    EXPECT_EQ(go->end, 0x535);
    EXPECT_TRUE(go->reentrant);
}

TEST(CdbReader, ReadsTheOlderLevelFormAndSkipsUnknownRecords) {
    const DebugInfo info = ReadCdbText(
        "M:old\n"
        "F:G$main$0$0({2}DF,SV:S),C,0,0,0,0,0\n"
        "S:Lold.main$i$1$1({2}SI:S),E,0,0\n"
        "W:a record of a kind not known yet\n"
        "\n"
        "L:Lold.main$i$1$1:30\n"
        "L:Q$something$else:12\n"
        "L:C$old.c$3$1$1:100\n"
        "L:G$main$0$0:100\n"
        "L:XG$main$0$0:10F\n"
        "L:G$nobody$0$0:200\n"
        "L:G$banked$0$0:18000\n"
        // SDCC 4.2: an unnamed zero-width bit-field, and a bit temporary.
        "T:Fold$__00000005[({0}S:S$b0$0_0$0({1}SB0$1:U),Z,0,0)({0}S:S$__00000006$0_0$0({0}SB2$0:U),Z,0,0)]\n"
        "S:Lold.main$sloc0$0_1$0({1}SB0$0:S),H,0,0\n");
    const CFunction& main = *info.FunctionNamed("main");
    EXPECT_EQ(main.start, 0x100);
    EXPECT_EQ(main.end, 0x10F);
    const auto locals = info.LocalsAt(main, 0x105);
    ASSERT_EQ(locals.size(), 1u);
    EXPECT_EQ(locals[0]->address, 0x30);
    EXPECT_EQ(locals[0]->level, (CScopeLevel{1, 0, 1}));
    ASSERT_EQ(info.Structs().size(), 1u);
    EXPECT_EQ(info.Structs()[0].members[1].type.Spelling(), "unsigned int : 0");
    EXPECT_EQ(info.Structs()[0].size, 1u);
}

TEST(CdbReader, RejectsDamagedFilesWithTheLineAndLoadsNothing) {
    const std::string good = "M:m\nS:G$x$0_0$0({2}SI:S),E,0,0\nL:G$x$0_0$0:8\n";
    struct Case {
        std::string text;
        std::string message;
    };
    const Case cases[] = {
        {"M:m\nS:G$x$0_0$0({2}SI", "line 2: the record has no type in parentheses"},
        {"M:m\nS:G$x$0_0$0({2}SI:S)", "line 2: the record has no address space after its type"},
        {"M:m\nS:G$x$0_0$0({2}SI:S),E,0", "line 2: the record needs an address space, an on-stack flag and an offset "
                                          "after its type"},
        {good + "L:G$x$0_0$0:12G4", "line 4: the address '12G4' is not a hexadecimal number"},
        {good + "L:G$x$0_0$0:", "line 4: the address '' is not a hexadecimal number"},
        {"M:m\nS:G$x$0_0$0({2}SZ:S),E,0,0", "line 2: the type '{2}SZ:S' has an unknown part 'SZ:S'"},
        {"M:m\nS:G$x$0_0$0({2}DG),E,0,0", "line 2: the type '{2}DG' has no specifier"},
        {"M:m\nS:G$x$0_0$0({2}SI:S,SC:U),E,0,0", "line 2: the type '{2}SI:S,SC:U' goes on after its specifier"},
        {"M:m\nS:G$x$0_0$0(2}SI:S),E,0,0", "line 2: the type '2}SI:S' does not start with its size in braces"},
        {"M:m\nS:G$x$0_0$0({x}SI:S),E,0,0", "line 2: the size of the type '{x}SI:S' is not a number"},
        {"M:m\nS:G$x$0_0$0({4}DAxd,SC:U),E,0,0", "line 2: the type '{4}DAxd,SC:U' has an unknown part 'DAxd'"},
        {"M:m\nS:G$x$0_0({2}SI:S),E,0,0", "line 2: the name 'G$x$0_0' is not scope$name$level$block"},
        {"M:m\nS:G$x$0_0$0({2}SI:S),E,2,0", "line 2: the on-stack flag '2' is not 0 or 1"},
        {"M:m\nS:Lm.f$x$1_0$1({2}SI:S),B,1,-x", "line 2: the stack offset '-x' is not a number"},
        {"M:m\nS:Lm.f$x$1_0$1({2}SI:S),R,0,0,[r2,r3", "line 2: the register list '[r2,r3' is not closed"},
        {"M:m\nF:G$f$0_0$0({2}DF,SV:S),C,0,0,0,0,7", "line 2: the register bank '7' is not 0 to 3"},
        {"M:m\nF:G$f$0_0$0({2}DF,SV:S),C,0,0", "line 2: the function record needs its interrupt flag, number and bank"},
        {"M:m\nF:G$f$0_0$0({2}SI:S),C,0,0,0,0,0", "line 2: the type of a function is not a function type"},
        {"M:m\nT:Fm$p[({0}S:S$x$0_0$0({2}SI:S),Z,0,0", "line 2: the struct record is not F<module>$<tag>[members]"},
        {"M:m\nT:Fm$p[({0}S:S$x$0_0$0({2}SI:S),Z,0,0]", "line 2: a struct member is not closed"},
        {"M:m\nT:Fm$p[(0}S:S$x$0_0$0({2}SI:S),Z,0,0)]", "line 2: a struct member does not start with ({offset}"},
        {good + "L:C$m.c$1x$1_0$2:10", "line 4: the line number '1x' is not a number"},
        {good + "L:C$m.c$12$1_0:10", "line 4: the C line record is not C$file$line$level$block"},
        {good + "L:A$m$:10", "line 4: the line number '' is not a number"},
        {good + "L:G$x$0_0:8", "line 4: the name 'G$x$0_0' is not scope$name$level$block"},
        {"M:\n", "line 1: the module record names no module"},
        {good + "this is not a record\n", "line 4: not a record of a debug file: 'this is not a record'"},
        {"M:m\n\n\nm:lower case", "line 4: not a record of a debug file: 'm:lower case'"},
    };
    for (const Case& c : cases) {
        const auto read = ReadCdb(SplitLines(c.text));
        ASSERT_TRUE(std::holds_alternative<std::string>(read)) << c.text;
        EXPECT_EQ(std::get<std::string>(read), c.message) << c.text;
    }
    EXPECT_TRUE(std::holds_alternative<DebugInfo>(ReadCdb(SplitLines(good))));
    EXPECT_TRUE(std::holds_alternative<DebugInfo>(ReadCdb({})));
}

}  // namespace
}  // namespace tessaly
