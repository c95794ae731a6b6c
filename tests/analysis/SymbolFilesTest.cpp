#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "analysis/ListingImport.h"
#include "support/LabelLists.h"
#include "support/ListingText.h"
#include "support/ScratchDirectory.h"
#include "support/TestMachine.h"

namespace tessaly {
namespace {

using test::Labelled;
using Labels = std::map<unsigned, std::string>;
using Strings = std::vector<std::string>;

// Shortened from what SDCC 4.2 writes for a program with a global in each
// memory space, an interrupt handler and the SFR header.
const char* const kMap =
    "ASxxxx Linker V03.00 + NoICE + sdld,  page 1.\n"
    "Hexadecimal  [32-Bits]\n"
    "\n"
    "Area                                    Addr        Size        Decimal Bytes (Attributes)\n"
    "--------------------------------        ----        ----        ------- ----- ------------\n"
    "CABS                                00000000    00000000 =           0. bytes (ABS,CON,CODE)\n"
    "\n"
    "      Value  Global                              Global Defined In Module\n"
    "      -----  --------------------------------   ------------------------\n"
    "C:   00000000  l_BSEG                          \n"
    "C:   00000062  s_CSEG                          \n"
    "\n"
    "Area                                    Addr        Size        Decimal Bytes (Attributes)\n"
    "--------------------------------        ----        ----        ------- ----- ------------\n"
    ".  .ABS.                            00000000    00000000 =           0. bytes (ABS,CON)\n"
    "\n"
    "      Value  Global                              Global Defined In Module\n"
    "      -----  --------------------------------   ------------------------\n"
    "     00000000  .__.ABS.                           vars\n"
    "     00000080  _P0                                vars\n"
    "     00000081  _SP                                vars\n"
    "\n"
    "Area                                    Addr        Size        Decimal Bytes (Attributes)\n"
    "--------------------------------        ----        ----        ------- ----- ------------\n"
    "DSEG                                00000000    0000006D =         109. bytes (REL,CON)\n"
    "\n"
    "      Value  Global                              Global Defined In Module\n"
    "      -----  --------------------------------   ------------------------\n"
    "     00000008  G$counter$0_0$0                    vars\n"
    "     00000008  _counter                           vars\n"
    "\n"
    "Area                                    Addr        Size        Decimal Bytes (Attributes)\n"
    "--------------------------------        ----        ----        ------- ----- ------------\n"
    "BSEG                                00000000    00000001 =           1. bytes (REL,CON)\n"
    "\n"
    "      Value  Global                              Global Defined In Module\n"
    "      -----  --------------------------------   ------------------------\n"
    "     00000003  _flag                              vars\n"
    "\n"
    "Area                                    Addr        Size        Decimal Bytes (Attributes)\n"
    "--------------------------------        ----        ----        ------- ----- ------------\n"
    "XSEG                                00000001    00000010 =          16. bytes (REL,CON,XDATA)\n"
    "\n"
    "      Value  Global                              Global Defined In Module\n"
    "      -----  --------------------------------   ------------------------\n"
    "D:   00000001  _table                             vars\n"
    "\n"
    "Area                                    Addr        Size        Decimal Bytes (Attributes)\n"
    "--------------------------------        ----        ----        ------- ----- ------------\n"
    "CSEG                                0000006D    00000049 =          73. bytes (REL,CON,CODE)\n"
    "\n"
    "      Value  Global                              Global Defined In Module\n"
    "      -----  --------------------------------   ------------------------\n"
    "C:   00000073  A$vars$527                         vars\n"
    "C:   00000073  _isr_t0                            vars\n"
    "C:   00000081  _main                              vars\n"
    "C:   00010000  _banked                            vars\n"
    "\n"
    "User Base Address Definitions\n"
    "\n"
    "BSEG = 0x0000\n";

const char* const kNoice =
    "DEF l_BSEG 0x1\n"
    "DEF s_CSEG 0x6D\n"
    "DEF .__.ABS. 0x0\n"
    "DEF G$P0$0_0$0 0x80\n"
    "DEF _P0 0x80\n"
    "DEF _SP 0x81\n"
    "DEF _T2CON_7 0xCF\n"
    "DEF _counter 0x8\n"
    "DEF Fvars$helper$0$0 0x6D\n"
    "DEF _main 0x81\n"
    "DEF _broken 0xZZ\n"
    "LOAD vars.ihx\n";

const char* const kDebugFile =
    "M:vars\n"
    "F:Fvars$helper$0_0$0({2}DF,SC:U),C,0,0,0,0,0\n"
    "F:G$main$0_0$0({2}DF,SV:S),C,0,0,0,0,0\n"
    "S:G$counter$0_0$0({1}SC:U),E,0,0\n"
    "S:Lvars.main$i$1_0$6({1}SC:U),R,0,0,[r7]\n"
    "S:G$ibuf$0_0$0({4}DA4d,SC:U),G,0,0\n"
    "S:G$flag$0_0$0({1}SB0$1:U),H,0,0\n"
    "S:G$table$0_0$0({16}DA8d,SI:U),F,0,0\n"
    "S:G$P1$0_0$0({1}SC:U),I,0,0\n"
    "L:G$P1$0_0$0:90\n"
    "L:G$counter$0_0$0:8\n"
    "L:G$ibuf$0_0$0:9\n"
    "L:G$flag$0_0$0:5\n"
    "L:G$table$0_0$0:1\n"
    "L:Fvars$helper$0$0:6D\n"
    "L:XFvars$helper$0$0:72\n"
    "L:G$main$0$0:76\n"
    "L:XG$main$0$0:B1\n"
    "L:C$vars.c$12$1_0$13:AA\n";

// Relocated listing: a function whose first line is a loop, so that the
// numbered label follows the function's name at 006D; the name must stay.
const char* const kRelocated =
    "                                    393 \t.area DSEG    (DATA)\n"
    "      000008                        395 _counter::\n"
    "                                    423 \t.area BSEG    (BIT)\n"
    "      000000                        425 _flag::\n"
    "                                    455 \t.area CSEG    (CODE)\n"
    "                           000000   424 G$flag$0_0$0==.\n"
    "      00006D                        502 _helper:\n"
    "      00006D                        503 00101$:\n"
    "      000076 DF FE            [24]  549 loop:\tdjnz\tr7,loop\n"
    "      000078                        553 00107$:\n"
    "      0000AA D2 00            [12]  587 \tsetb\t_flag\n"
    "                                    598 \t.area DSEG\n"
    "      000030                        599 _later:\n";

const char* const kAs31 =
    "                   ; as31 listing\n"
    "0000:                      .equ    STACK, 0x5F             ; stack\n"
    "0000:                      .equ    Top, STACK + 2*0x10\n"
    "0000:                      .flag   Busy, 0x21.3\n"
    "0000:                      .flag   Go, p1.7\n"
    "0000: 02 00 30     reset:  ljmp    start\n"
    "                   \n"
    "0030: 75 81 5F     start:  mov     sp, #STACK\n"
    "                   puts_end:\n"
    "0058: 22                   ret\n"
    "                   message:\n"
    "0061: 48 65 6C 6C \n"
    "      6F 2C 20 77 \n";

struct SymbolFilesTest : ::testing::Test {
    Workspace w;
    test::ProgressRecorder progress;
    test::MessageRecorder messages;
    test::ScratchDirectory dir;

    bool Import(const std::string& name, const std::string& text) {
        return ImportListingLabels(dir.Write(name, text), w, progress, messages);
    }
    Strings Texts() const {
        Strings texts;
        for (const auto& entry : messages.entries) texts.push_back(entry.text);
        return texts;
    }
};

TEST_F(SymbolFilesTest, LinkerMapPlacesEachAreasGlobalsAndSkipsEquatesLinkerAndDebugNames) {
    ASSERT_TRUE(Import("vars.map", kMap));
    EXPECT_TRUE(messages.entries.empty());
    EXPECT_EQ(Labelled(w.lstCodeLabels), (Labels{{0x73, "_isr_t0"}, {0x81, "_main"}}));
    EXPECT_EQ(Labelled(w.lstNumberLabels), (Labels{{0x08, "_counter"}, {0x01, "_table"}}));
    EXPECT_EQ(Labelled(w.lstBitLabels), (Labels{{0x03, "_flag"}}));
}

TEST_F(SymbolFilesTest, NoiceNamesAreCodeLabelsWithoutTheSfrHeaderRun) {
    ASSERT_TRUE(Import("vars.noi", kNoice));
    EXPECT_EQ(Labelled(w.lstCodeLabels), (Labels{{0x08, "_counter"}, {0x81, "_main"}}));
    EXPECT_TRUE(Labelled(w.lstNumberLabels).empty());
}

TEST_F(SymbolFilesTest, DebugFileJoinsSpacesToAddressesForGlobalAndFileScope) {
    ASSERT_TRUE(Import("vars.cdb", kDebugFile));
    EXPECT_EQ(Labelled(w.lstCodeLabels), (Labels{{0x6D, "_helper"}, {0x76, "_main"}}));
    EXPECT_EQ(Labelled(w.lstNumberLabels), (Labels{{0x08, "_counter"}, {0x09, "_ibuf"}, {0x01, "_table"}}));
    EXPECT_EQ(Labelled(w.lstBitLabels), (Labels{{0x05, "_flag"}}));
}

TEST_F(SymbolFilesTest, RelocatedListingFollowsAreasAndTheFunctionNameBeatsTheNumberedLabel) {
    ASSERT_TRUE(Import("vars.rst", kRelocated));
    EXPECT_EQ(Labelled(w.lstCodeLabels), (Labels{{0x6D, "_helper"}, {0x76, "loop"}, {0x78, "00107$"}}));
    EXPECT_EQ(Labelled(w.lstNumberLabels), (Labels{{0x08, "_counter"}, {0x30, "_later"}}));
    EXPECT_EQ(Labelled(w.lstBitLabels), (Labels{{0x00, "_flag"}}));
}

TEST_F(SymbolFilesTest, As31ListingGivesLabelsEquatesAndFlagsKeepingCase) {
    ASSERT_TRUE(Import("prog.lst", kAs31));
    EXPECT_EQ(Labelled(w.lstCodeLabels),
              (Labels{{0x00, "reset"}, {0x30, "start"}, {0x58, "puts_end"}, {0x61, "message"}}));
    EXPECT_EQ(Labelled(w.lstNumberLabels), (Labels{{0x5F, "STACK"}, {0x7F, "Top"}}));
    EXPECT_EQ(Labelled(w.lstBitLabels), (Labels{{0x0B, "Busy"}, {0x97, "Go"}}));
}

// Each kind garbled, cut before its first symbol, or cut in the middle of a
// line: either today's message and nothing else, or the whole lines before
// the cut.
TEST_F(SymbolFilesTest, DamagedFilesGiveTheListingMessageOrTheirWholeLines) {
    const std::string garbage = "\x01\x7F\xFF garbage: 00 0x12\n\xFE=\xFE\n";
    struct Case {
        const char* name;
        std::string text;
        Labels code;  // empty: the file must be refused
    };
    const std::string map = kMap;
    const std::string noice = kNoice;
    const std::string cdb = kDebugFile;
    const std::string rst = kRelocated;
    const std::string as31 = kAs31;
    const Case cases[] = {
        {"g.map", garbage, {}},
        {"g.noi", garbage, {}},
        {"g.cdb", garbage, {}},
        {"g.rst", garbage, {}},
        {"g.lst", garbage, {}},
        {"early.map", map.substr(0, map.find("DSEG")), {}},
        {"early.noi", noice.substr(0, noice.find("DEF _counter")), {}},
        {"early.cdb", cdb.substr(0, cdb.find("L:")), {}},
        {"early.rst", rst.substr(0, rst.find("_counter")), {}},
        {"early.lst", as31.substr(0, as31.find("0000:")), {}},
        {"cut.map", map.substr(0, map.find("_main") + 2), {{0x73, "_isr_t0"}}},
        {"cut.noi", noice.substr(0, noice.find("_main") + 3), {{0x08, "_counter"}}},
        {"cut.cdb", cdb.substr(0, cdb.find("L:G$main") + 5), {{0x6D, "_helper"}}},
        {"cut.rst", rst.substr(0, rst.find("loop:") + 2), {{0x6D, "_helper"}}},
        {"cut.lst", as31.substr(0, as31.find("start:") + 2), {{0x00, "reset"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        messages.entries.clear();
        w.ResetLabels();
        const bool imported = Import(c.name, c.text);
        if (c.code.empty()) {
            EXPECT_FALSE(imported);
            EXPECT_EQ(Texts(), Strings{"Invalid LST file"});
        } else {
            EXPECT_TRUE(imported);
            EXPECT_TRUE(messages.entries.empty());
            EXPECT_EQ(Labelled(w.lstCodeLabels), c.code);
        }
    }
}

// SDCC's own assembler listing (.lst) has the relocated listing's lines with
// the addresses before linking: read as a listing, it is refused.
TEST_F(SymbolFilesTest, TheExtensionChoosesTheReader) {
    EXPECT_FALSE(Import("vars.lst", kRelocated));
    EXPECT_EQ(Texts(), Strings{"Invalid LST file"});
    EXPECT_TRUE(Import("VARS.RST", kRelocated));
}

TEST_F(SymbolFilesTest, FilesImportedTogetherKeepTheMoreSpecificNameAtOneValue) {
    const auto map = dir.Write("a.map", kMap);
    const auto rst = dir.Write("a.rst",
                               "                                    455 \t.area CSEG    (CODE)\n"
                               "      000073                        527 00103$:\n"
                               "      000081                        549 main_entry:\n"
                               "      000090                        560 00110$:\n");
    for (const auto& order : {std::vector{map, rst}, std::vector{rst, map}}) {
        w.ResetLabels();
        ASSERT_TRUE(ImportLabelFiles(order, w, progress, messages));
        const std::string mainName = order.front() == map ? "main_entry" : "_main";
        EXPECT_EQ(Labelled(w.lstCodeLabels),
                  (Labels{{0x73, "_isr_t0"}, {0x81, mainName}, {0x90, "00110$"}}));
        EXPECT_EQ(Labelled(w.lstNumberLabels), (Labels{{0x08, "_counter"}, {0x01, "_table"}}));
    }
    EXPECT_TRUE(messages.entries.empty());
    EXPECT_FALSE(ImportLabelFiles({map, dir.Write("bad.noi", "nonsense")}, w, progress, messages));
    EXPECT_EQ(Texts(), Strings{"Invalid LST file"});
}

TEST_F(SymbolFilesTest, AutomaticImportKeepsTheFirstThatImportsAndOtherwiseTellsOfTheFirst) {
    const auto sdccListing = dir.Write("p.lst", kRelocated);  // SDCC's unlinked listing: refused
    const auto map = dir.Write("p.map", kMap);
    ASSERT_TRUE(ImportFirstLabelFile({sdccListing, map}, w, progress, messages));
    EXPECT_TRUE(messages.entries.empty());
    EXPECT_EQ(w.lstCodeLabels[0x81], "_main");

    EXPECT_FALSE(ImportFirstLabelFile({sdccListing, dir.Write("q.noi", "")}, w, progress, messages));
    EXPECT_EQ(Texts(), Strings{"Invalid LST file"});
}

}  // namespace
}  // namespace tessaly
