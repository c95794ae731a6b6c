#include <gtest/gtest.h>

#include "control/WatchList.h"
#include "support/TestMachine.h"

namespace tessaly {
namespace {

using test::MessageRecorder;
using test::NewProcessor;

using Lines = std::vector<std::string>;
const WatchList::Row kHeader = {"SNo.", "Name", "Type", "Hex", "Decimal", "Binary"};

TEST(WatchList, KeepsCaseInsensitiveOrderWithoutDuplicates) {
    WatchList watch;
    EXPECT_TRUE(watch.Add({LocationKind::SfrRegister, 0}));  // ACC
    EXPECT_TRUE(watch.Add({LocationKind::InternalRAM, 0x30}));
    EXPECT_EQ(watch.List().Lines(), (Lines{"Internal RAM~|*30", "SFR Registers~|*0000"}));
    EXPECT_TRUE(watch.Add({LocationKind::SfrBit, 73}));  // CY
    EXPECT_FALSE(watch.Add({LocationKind::SfrBit, 73}));
    EXPECT_TRUE(watch.Add({LocationKind::BitMemory, 0x20}));
    EXPECT_EQ(watch.List().Lines(),
              (Lines{"Bit Memory~|*20", "Internal RAM~|*30", "SFR Bits~|*0049", "SFR Registers~|*0000"}));

    // A snapshot may hold any order and letter case: adding still finds duplicates.
    watch.List().SetText("internal ram~|*30\r\nBit Memory~|*7F\r\n");
    EXPECT_FALSE(watch.Add({LocationKind::InternalRAM, 0x30}));
    EXPECT_TRUE(watch.Add({LocationKind::BitMemory, 0x00}));
    EXPECT_EQ(watch.List().Lines(), (Lines{"Bit Memory~|*00", "internal ram~|*30", "Bit Memory~|*7F"}));
}

TEST(WatchList, AddsTypedAddressesAsTheDialogsDo) {
    const struct {
        LocationKind kind;
        const char* typed;
        WatchAdd result;
        const char* shown;  // the name box afterwards
        const char* message;
    } cases[] = {
        {LocationKind::InternalRAM, "5", WatchAdd::Added, "05", ""},
        {LocationKind::InternalRAM, "05", WatchAdd::AlreadyListed, "05", ""},  // already listed
        {LocationKind::InternalRAM, "100", WatchAdd::OutOfRange, "100", "Invalid Address\r\nPlease enter a valid address( 0-FF )"},
        {LocationKind::ExternalRAM, "ab", WatchAdd::Added, "00AB", ""},
        {LocationKind::ExternalRAM, "10000", WatchAdd::OutOfRange, "10000",
         "Invalid Address\r\nPlease enter a valid address( 0-FFFF )"},
        {LocationKind::BitMemory, "80", WatchAdd::OutOfRange, "80", "Invalid Address\r\nPlease enter a valid address( 0-7F )"},
        {LocationKind::InternalRAM, "g", WatchAdd::NotANumber, "0G", "'0x0G' is not a valid integer value"},
    };
    WatchList watch;
    for (const auto& c : cases) {
        MessageRecorder messages;
        std::string name = c.typed;
        EXPECT_EQ(watch.AddName(c.kind, name, messages), c.result) << c.typed;
        EXPECT_EQ(name, c.shown) << c.typed;
        const std::string told = messages.entries.empty() ? "" : messages.entries[0].text;
        EXPECT_EQ(told, c.message) << c.typed;
    }
    EXPECT_EQ(watch.List().Lines(), (Lines{"External RAM~|*00AB", "Internal RAM~|*05"}));
}

TEST(WatchList, RowsShowEachKindAsTheWindowDoes) {
    auto p = NewProcessor();
    p->WriteDirect(0x83, 0x12);  // DPTR 1234h
    p->WriteDirect(0x82, 0x34);
    p->WriteDirect(0x88, 0x50);  // TCON
    p->WriteBit(0xD7, 1);        // CY
    p->WriteIndirect(0x80, 0xA5);
    p->WriteExtRAM(0x0012, 0x9C);
    WatchList watch;
    for (Location at : {Location{LocationKind::SfrRegister, 16}, Location{LocationKind::SfrRegister, 11},
                        Location{LocationKind::SfrBit, 73}, Location{LocationKind::InternalRAM, 0x80},
                        Location{LocationKind::ExternalRAM, 0x12}, Location{LocationKind::BitMemory, 0x01}}) {
        watch.Add(at);
    }
    const std::vector<WatchList::Row> expected = {
        kHeader,
        {"1", "01", "Bit Memory", "0 ", "0 ", "0 "},
        {"2", "0012", "External RAM", "009C", "156", "0000000010011100"},
        {"3", "80", "Internal RAM", "A5", "165", "10100101"},
        {"4", "CY", "SFR Bits", "1 ", "1 ", "1 "},
        {"5", "TCON", "SFR Registers", "50", "80", "01010000"},
        {"6", "DPTR", "SFR Registers", "1234", "4660", "0001001000110100"},
    };
    EXPECT_EQ(watch.Rows(*p), expected);
    EXPECT_EQ(watch.CountText(), "Total Count = 6");
}

TEST(WatchList, DamagedEntriesKeepTheirRowAndDeletingTheLastLeavesOneEmptyRow) {
    auto p = NewProcessor();
    WatchList watch;
    watch.List().SetText("Nonsense~|*12\r\nno separator\r\nSFR Registers~|*004A\r\nSFR Bits~|*0000\r\n"
                         "Internal RAM~|*5\r\n");
    const std::vector<WatchList::Row> damaged = {
        kHeader,
        {"1", "12", "Nonsense", "", "", ""},
        {"2", "", "no separator", "", "", ""},
        {"3", "004A", "SFR Registers", "", "", ""},  // past the catalogue
        {"4", "0000", "SFR Bits", "", "", ""},       // a register record
        {"5", "5", "Internal RAM", "", "", ""},      // a key of the wrong length
    };
    EXPECT_EQ(watch.Rows(*p), damaged);
    EXPECT_FALSE(watch.DeleteRow(0));
    EXPECT_FALSE(watch.DeleteRow(6));
    EXPECT_TRUE(watch.DeleteRow(2));
    EXPECT_EQ(watch.List()[1], "SFR Registers~|*004A");
    while (watch.Count() > 0) watch.DeleteRow(1);
    EXPECT_EQ(watch.Rows(*p), (std::vector<WatchList::Row>{kHeader, {}}));
    EXPECT_EQ(watch.CountText(), "Total Count = 0");
}

}  // namespace
}  // namespace tessaly
