#include <gtest/gtest.h>

#include <map>
#include <string>

#include "DecoderTestSupport.h"

namespace tessaly {
namespace {

using testing::DecoderBench;
using testing::SetLabel;

TEST(SubstituteLabel, UnlabelledValuesBecomeHexNumbersOfTheKindsWidth) {
    Workspace w;
    EXPECT_EQ(SubstituteLabel(kBitPlaceholder, 0x00, 0x9A, w), "09AH");
    EXPECT_EQ(SubstituteLabel(kCodePlaceholder, 0x00, 0x30, w), "00030H");
    EXPECT_EQ(SubstituteLabel(kCodePlaceholder, 0xFF, 0xFF, w), "0FFFFH");
    EXPECT_EQ(SubstituteLabel(kNumberPlaceholder, 0x00, 0x05, w), "005H");
    w.bByteNumbers = 0;
    EXPECT_EQ(SubstituteLabel(kNumberPlaceholder, 0x00, 0x05, w), "00005H");
    EXPECT_EQ(SubstituteLabel(kNumberPlaceholder, 0xAB, 0xCD, w), "0ABCDH");
}

TEST(SubstituteLabel, PlaceholdersAreTheTenCharacterListingMarkers) {
    EXPECT_EQ(kCodePlaceholder, "  C ADDR  ");
    EXPECT_EQ(kBitPlaceholder, "  B ADDR  ");
    EXPECT_EQ(kNumberPlaceholder, "    NUMB  ");
    Workspace w;
    EXPECT_EQ(SubstituteLabel("C ADDR", 0x00, 0x30, w), "");
}

TEST(SubstituteLabel, EachKindReadsOnlyItsOwnListAndKeepsTheLabelAsStored) {
    Workspace w;
    SetLabel(w.lstCodeLabels, 0x0030, "Main_Loop");
    SetLabel(w.lstBitLabels, 0x0030, "led");
    SetLabel(w.lstNumberLabels, 0x0030, "COUNT");
    EXPECT_EQ(SubstituteLabel(kCodePlaceholder, 0x00, 0x30, w), "Main_Loop");
    EXPECT_EQ(SubstituteLabel(kBitPlaceholder, 0x00, 0x30, w), "led");
    EXPECT_EQ(SubstituteLabel(kNumberPlaceholder, 0x00, 0x30, w), "COUNT");
    EXPECT_EQ(SubstituteLabel(kCodePlaceholder, 0x30, 0x00, w), "03000H");
}

TEST(DirectOperandText, NamesExactlyTheTwentySixSfrsAndNumbersTheRest) {
    const std::map<int, std::string> names = {
        {0x80, "P0"},    {0x81, "SP"},     {0x82, "DPL"},    {0x83, "DPH"}, {0x87, "PCON"}, {0x88, "TCON"},
        {0x89, "TMOD"},  {0x8A, "TL0"},    {0x8B, "TL1"},    {0x8C, "TH0"}, {0x8D, "TH1"},  {0x90, "P1"},
        {0x98, "SCON"},  {0x99, "SBUF"},   {0xA0, "P2"},     {0xA8, "IE"},  {0xB0, "P3"},   {0xB8, "IP"},
        {0xC8, "T2CON"}, {0xCA, "RCAP2L"}, {0xCB, "RCAP2H"}, {0xCC, "TL2"}, {0xCD, "TH2"},  {0xD0, "PSW"},
        {0xE0, "ACC"},   {0xF0, "B"},
    };
    ASSERT_EQ(names.size(), 26u);
    Workspace w;
    for (int a = 0; a < 256; ++a) {
        const auto named = names.find(a);
        static constexpr char kHex[] = "0123456789ABCDEF";
        const std::string number = {'0', kHex[a >> 4], kHex[a & 0xF], 'H'};
        EXPECT_EQ(DirectOperandText(static_cast<std::uint8_t>(a), w), named != names.end() ? named->second : number);
    }
}

TEST(DirectOperandText, SfrNameWinsOverANumberLabel) {
    Workspace w;
    SetLabel(w.lstNumberLabels, 0x81, "STACK");
    SetLabel(w.lstNumberLabels, 0x85, "SPARE");
    EXPECT_EQ(DirectOperandText(0x81, w), "SP");
    EXPECT_EQ(DirectOperandText(0x85, w), "SPARE");
}

TEST(DecoderLabels, CodeLabelReplacesTheJumpTarget) {
    DecoderBench bench;
    SetLabel(bench.w.lstCodeLabels, 0x0030, "MAIN");
    EXPECT_EQ(bench.Decode(0x0000, {0x02, 0x00, 0x30}), "LJMP\tMAIN");
    EXPECT_EQ(bench.Decode(0x0010, {0x80, 0x1E}), "SJMP\tMAIN");
    EXPECT_EQ(bench.Decode(0x0100, {0x11, 0x30}), "ACALL\tMAIN");
    EXPECT_EQ(bench.Decode(0x0020, {0xB4, 0x30, 0x0D}), "CJNE\tA,#030H,MAIN");
}

TEST(DecoderLabels, DirectAddressUsesTheNumberListNeverCodeOrBitLabels) {
    DecoderBench bench;
    SetLabel(bench.w.lstCodeLabels, 0x30, "CODE30");
    SetLabel(bench.w.lstBitLabels, 0x30, "BIT30");
    EXPECT_EQ(bench.Decode(0x0000, {0x85, 0x30, 0x40}), "MOV\t040H,030H");
    SetLabel(bench.w.lstNumberLabels, 0x30, "COUNT");
    EXPECT_EQ(bench.Decode(0x0000, {0x85, 0x30, 0x40}), "MOV\t040H,COUNT");
    EXPECT_EQ(bench.Decode(0x0000, {0x74, 0x30}), "MOV\tA,#COUNT");
    EXPECT_EQ(bench.Decode(0x0000, {0xD2, 0x30}), "SETB\tBIT30");
    EXPECT_EQ(bench.Decode(0x0000, {0x20, 0x30, 0x2D}), "JB\tBIT30,CODE30");
    EXPECT_EQ(bench.Decode(0x0000, {0xB0, 0x30}), "ANL\tC,/BIT30");
}

TEST(DecoderLabels, DptrImmediatePrintsFiveDigitsThenBytesGoBackToThree) {
    DecoderBench bench;
    EXPECT_EQ(bench.Decode(0x0000, {0x90, 0x00, 0x30}), "MOV\tDPTR,#00030H");
    EXPECT_EQ(bench.w.bByteNumbers, 1);
    EXPECT_EQ(bench.Decode(0x0000, {0x74, 0x30}), "MOV\tA,#030H");
    // A caller's choice of wide numbers survives the DPTR decode too.
    bench.w.bByteNumbers = 0;
    bench.Decode(0x0000, {0x90, 0x00, 0x30});
    EXPECT_EQ(bench.w.bByteNumbers, 0);
    EXPECT_EQ(bench.Decode(0x0000, {0x74, 0x30}), "MOV\tA,#00030H");
}

TEST(DecoderLabels, DptrImmediateLooksUpTheWholeWord) {
    DecoderBench bench;
    SetLabel(bench.w.lstNumberLabels, 0x1234, "Table");
    SetLabel(bench.w.lstNumberLabels, 0x0034, "LOW");
    EXPECT_EQ(bench.Decode(0x0000, {0x90, 0x12, 0x34}), "MOV\tDPTR,#Table");
}

}  // namespace
}  // namespace tessaly
