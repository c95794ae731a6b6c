#include <gtest/gtest.h>

#include <string>

#include "control/LocationText.h"
#include "support/TestMachine.h"

namespace tessaly {
namespace {

std::string Named(std::string_view text) {
    const auto parsed = ParseLocationText(text);
    if (const auto* why = std::get_if<std::string>(&parsed)) return "error: " + *why;
    const Location& at = std::get<Location>(parsed);
    return std::string(LocationTypeText(at.kind)) + " " + std::to_string(at.key);
}

TEST(LocationText, NamesReachEveryKindAsGeneralReadOffersThem) {
    const auto acc = CatalogueIndex(LocationKind::SfrRegister, "ACC");
    const auto dptr = CatalogueIndex(LocationKind::SfrRegister, "DPTR");
    const auto cy = CatalogueIndex(LocationKind::SfrBit, "CY");
    EXPECT_EQ(Named("ACC"), "SFR Registers " + std::to_string(*acc));
    EXPECT_EQ(Named(" acc "), "SFR Registers " + std::to_string(*acc));
    EXPECT_EQ(Named("dptr"), "SFR Registers " + std::to_string(*dptr));
    EXPECT_EQ(Named("CY"), "SFR Bits " + std::to_string(*cy));
    EXPECT_EQ(Named("PSW.7"), "SFR Bits " + std::to_string(*cy));
    // PSW.1 has no name of its own: bit address D1h.
    EXPECT_EQ(Named("PSW.1"), "Bit Memory 209");
    EXPECT_EQ(Named("20H.3"), "Bit Memory 3");
    EXPECT_EQ(Named("2FH.7"), "Bit Memory 127");
    EXPECT_EQ(Named("30H"), "Internal RAM 48");
    EXPECT_EQ(Named("0x80"), "Internal RAM 128");
    EXPECT_EQ(Named("I:0FFH"), "Internal RAM 255");
    EXPECT_EQ(Named("X:1234H"), "External RAM 4660");
    EXPECT_EQ(Named("x:0xFFFF"), "External RAM 65535");
    EXPECT_EQ(Named("BIT:07H"), "Bit Memory 7");
}

TEST(LocationText, WhatNamesNothingIsSaid) {
    EXPECT_EQ(Named(""), "error: No location named");
    EXPECT_EQ(Named("FOO"), "error: 'FOO' names no register, bit or memory cell");
    EXPECT_EQ(Named("100H"), "error: '100H' names no register, bit or memory cell");
    EXPECT_EQ(Named("X:10000H"), "error: 'X:10000H': an external RAM address is 0000H to FFFFH");
    EXPECT_EQ(Named("Q:10H"), "error: 'Q:10H': the memory before ':' is X, I or BIT");
    EXPECT_EQ(Named("TMOD.1"), "error: 'TMOD.1': TMOD is not bit-addressable");
    EXPECT_EQ(Named("30H.1"), "error: '30H.1': only the SFRs at multiples of 8 and RAM 20H-2FH are bit-addressable");
    EXPECT_EQ(Named("PSW.8"), "error: 'PSW.8': a bit number is 0 to 7");
    EXPECT_EQ(Named("DPL"), "error: 'DPL' is read through its register pair (DPTR, T0, T1, T2, RCAP2)");
}

TEST(LocationText, ParsedLocationsReadWhatTheMachineHolds) {
    auto p = test::NewProcessor();
    p->ucIntRAM[0x30] = 0x5A;
    p->ucIntRAM[0x130] = 0xA5;  // the upper RAM's B0h
    p->ucExtRAM[0x1234] = 0x77;
    p->ucIntRAM[0x24] = 0x08;  // bit 23h
    const auto read = [&](std::string_view text) { return ReadLocation(*p, std::get<Location>(ParseLocationText(text))); };
    EXPECT_EQ(read("30H"), 0x5A);
    EXPECT_EQ(read("0B0H"), 0xA5);
    EXPECT_EQ(read("X:1234H"), 0x77);
    EXPECT_EQ(read("24H.3"), 1);
    EXPECT_EQ(read("24H.2"), 0);
}

}  // namespace
}  // namespace tessaly
