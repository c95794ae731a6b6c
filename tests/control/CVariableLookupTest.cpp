#include <gtest/gtest.h>

#include <string>
#include <variant>

#include "control/CVariableLookup.h"
#include "support/CdbSamples.h"

namespace tessaly {
namespace {

// The types sample, with a local `big` in mix that hides the global.
struct CVariableLookup : ::testing::Test {
    DebugInfo info = test::ReadCdbText(std::string(test::kTypesCdb) + "S:Ltypes.mix$big$1_0$4({1}SC:U),R,0,0,[r6]\n");

    // "scope name" of what a name finds at pc, or the message.
    std::string Find(std::string_view name, std::uint16_t pc) {
        const auto found = LookUpCVariable(info, name, pc);
        if (const auto* why = std::get_if<std::string>(&found)) return *why;
        const CSymbol& symbol = *std::get<const CSymbol*>(found);
        const char* scope = symbol.scope == CSymbolScope::Local ? "local" : symbol.scope == CSymbolScope::File ? "file" : "global";
        return std::string(scope) + " " + symbol.function + (symbol.function.empty() ? "" : ".") + symbol.name;
    }
};

TEST_F(CVariableLookup, LocalsInScopeComeFirstThenGlobalsThenTheModulesStatics) {
    constexpr std::uint16_t kInMix = 0xDF;  // line 17
    EXPECT_EQ(Find("a", kInMix), "local mix.a");
    EXPECT_EQ(Find("big", kInMix), "local mix.big");
    EXPECT_EQ(Find("ratio", kInMix), "global ratio");
    EXPECT_EQ(Find("sh", kInMix), "file sh");
    EXPECT_EQ(Find(" k ", kInMix), "local mix.k");
    EXPECT_EQ(Find("local", kInMix), "No C variable named 'local' here");
    EXPECT_EQ(Find("local", 0x109), "local main.local");
    // Outside every function: globals and any module's statics.
    EXPECT_EQ(Find("sh", 0x0000), "file sh");
    EXPECT_EQ(Find("main", 0x0000), "No C variable named 'main' here");  // a function is no variable
}

TEST_F(CVariableLookup, TextThatIsNoCNameSaysSo) {
    for (const char* text : {"", "1x", "a b", "p->x", "x[1]", "é"}) {
        EXPECT_EQ(Find(text, 0xDF), "'" + std::string(text) + "' is not a C name") << text;
    }
    EXPECT_TRUE(IsCName("_x9"));
    EXPECT_FALSE(IsCName("9x"));
}

}  // namespace
}  // namespace tessaly
