#include <gtest/gtest.h>

#include "analysis/SymbolCatalogue.h"
#include "support/TestMachine.h"

namespace tessaly {
namespace {

using test::NewProcessor;

TEST(SymbolCatalogue, HoldsTheSeventyFourRecordsInOrder) {
    auto p = NewProcessor();
    ASSERT_EQ(p->lstSymbolCatalogue.Count(), 74u);
    EXPECT_EQ(p->lstSymbolCatalogue[0], "~Type|SFR Registers|~Name|ACC|~Address|00E0|~Description|Accumulator|");
    EXPECT_EQ(p->lstSymbolCatalogue[22],
              "~Type|SFR Bits|~NickName|IT0|~Address|0088|~Name|TCON.0|~Description|TCON.0 - Ext. interrupt 0 type|");
    // Rebuilt, not appended to, by every full reset.
    p->FullReset();
    EXPECT_EQ(p->lstSymbolCatalogue.Count(), 74u);
}

struct FieldCase {
    int index;
    int tag;
    const char* value;
};

TEST(SymbolCatalogue, FieldsOfKnownRecords) {
    auto p = NewProcessor();
    const FieldCase cases[] = {
        {0, kTagType, "SFR Registers"},  {0, kTagName, "ACC"},          {0, kTagAddress, "00E0"},
        {0, kTagDescription, "Accumulator"},
        {16, kTagName, "DPTR"},          {16, kTagAddress, "0182"},     {16, kTagDescription, "Data pointer"},
        {17, kTagName, "T0"},            {17, kTagAddress, "028A"},
        {21, kTagName, "PC"},            {21, kTagAddress, "0A00"},     {21, kTagDescription, "Program Counter"},
        {37, kTagNickName, "SM0"},       {37, kTagName, "SCON.7"},      {37, kTagDescription, "Serial mode control bit 0"},
        {49, kTagNickName, "T0"},        {49, kTagName, "P3.4"},        {49, kTagAddress, "00B4"},
        {73, kTagNickName, "CY"},        {73, kTagDescription, "PSW.7 - Carry flag"},
        {5, kTagDescription, "PORT 0"},  {6, kTagDescription, "Port 1"},
        // Failures: a register record has no nickname; unknown tag numbers.
        {0, kTagNickName, "Failure"},    {16, 5, "Failure"},            {49, -1, "Failure"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(GetSymbolField(*p, c.index, c.tag), c.value) << c.index << "/" << c.tag;
    }
}

TEST(SymbolCatalogue, NamesAndNicknamesAreSeparateFields) {
    auto p = NewProcessor();
    std::vector<int> namedT0;
    for (int i = 0; i < kSymbolCatalogueSize; ++i) {
        if (GetSymbolField(*p, i, kTagName) == "T0") namedT0.push_back(i);
    }
    EXPECT_EQ(namedT0, std::vector<int>{17});
    int registers = 0, bits = 0;
    for (int i = 0; i < kSymbolCatalogueSize; ++i) {
        const std::string type = GetSymbolField(*p, i, kTagType);
        registers += type == "SFR Registers";
        bits += type == "SFR Bits";
    }
    EXPECT_EQ(registers, 22);
    EXPECT_EQ(bits, 52);
}

TEST(SymbolCatalogue, AddressFieldsReadTheirValues) {
    auto p = NewProcessor();
    p->WriteDirect(sfr::DPH, 0x12);
    p->WriteDirect(sfr::DPL, 0x34);
    p->WriteDirect(sfr::TH0, 0x56);
    p->WriteDirect(sfr::TL1, 0x99);  // must not be taken for timer 0
    p->WriteDirect(sfr::TL0, 0x78);
    p->WriteDirect(sfr::TH2, 0x9A);
    p->WriteDirect(sfr::TL2, 0xBC);
    p->usPC = 0xBEEF;
    struct Case {
        int index;
        SymbolAddressKind kind;
        std::uint16_t value;
    };
    const Case cases[] = {{0, SymbolAddressKind::Byte, 0x00},        {9, SymbolAddressKind::Byte, 0x07},
                          {16, SymbolAddressKind::PairAbove, 0x1234}, {17, SymbolAddressKind::PairTwoAbove, 0x5678},
                          {19, SymbolAddressKind::PairAbove, 0x9ABC}, {21, SymbolAddressKind::ProgramCounter, 0xBEEF}};
    for (const auto& c : cases) {
        const auto at = DecodeSymbolAddress(GetSymbolField(*p, c.index, kTagAddress));
        ASSERT_TRUE(at) << c.index;
        EXPECT_EQ(at->kind, c.kind) << c.index;
        EXPECT_EQ(ReadSymbolValue(*p, *at), c.value) << c.index;
    }
    EXPECT_FALSE(DecodeSymbolAddress("Failure"));
    EXPECT_FALSE(DecodeSymbolAddress("0300"));
    EXPECT_FALSE(DecodeSymbolAddress("12"));
}

}  // namespace
}  // namespace tessaly
