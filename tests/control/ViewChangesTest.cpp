#include <gtest/gtest.h>

#include "control/ViewChanges.h"
#include "core/Diagnostics.h"
#include "support/TestMachine.h"

namespace tessaly {
namespace {

using test::LoadCode;
using test::NewProcessor;

using Cells = std::vector<std::uint32_t>;

TEST(MemoryShadow, OneMovxShowsAsOneChangedCellHighlightedUntilTheNextRefresh) {
    auto p = NewProcessor();
    // MOV DPTR,#1234h; MOV A,#5Ah; MOVX @DPTR,A
    LoadCode(*p, 0, {0x90, 0x12, 0x34, 0x74, 0x5A, 0xF0});
    MemoryShadow shadow(ViewMemory::ExternalRAM);
    shadow.Refresh(*p);
    EXPECT_TRUE(shadow.RewriteAll());
    EXPECT_TRUE(shadow.Changed().empty());

    p->ExecuteInstructions(2);
    shadow.Refresh(*p);
    EXPECT_FALSE(shadow.RewriteAll());
    EXPECT_TRUE(shadow.Changed().empty());

    p->ExecuteInstructions(1);
    shadow.Refresh(*p);
    EXPECT_EQ(shadow.Changed(), Cells{0x1234});
    EXPECT_TRUE(shadow.IsHighlighted(0x1234));
    EXPECT_FALSE(shadow.IsHighlighted(0x1233));
    EXPECT_EQ(shadow.Shown(0x1234), 0x5A);

    // Cells at both ends of the memory; the MOVX cell loses its highlight.
    p->WriteExtRAM(0xFFFF, 1);
    p->WriteExtRAM(0x0000, 1);
    shadow.Refresh(*p);
    EXPECT_EQ(shadow.Changed(), (Cells{0x0000, 0xFFFF}));
    EXPECT_EQ(shadow.Unmarked(), Cells{0x1234});
    EXPECT_FALSE(shadow.IsHighlighted(0x1234));
    p->WriteExtRAM(0x0000, 2);
    shadow.Refresh(*p);
    EXPECT_EQ(shadow.Changed(), Cells{0x0000});  // changed again: highlighted still
    EXPECT_EQ(shadow.Unmarked(), Cells{0xFFFF});

    shadow.Forget();
    shadow.Refresh(*p);
    EXPECT_TRUE(shadow.RewriteAll());
    EXPECT_FALSE(shadow.IsHighlighted(0x0000));
}

TEST(MemoryShadow, EachViewSeesItsOwnSpace) {
    const struct {
        const char* what;
        void (*change)(Processor&);
        Cells internal, sfrs, bits;
    } cases[] = {
        {"upper RAM 80h", [](Processor& p) { p.WriteIndirect(0x80, 0x11); }, {0x80}, {}, {}},
        {"P0", [](Processor& p) { p.WriteDirect(0x80, 0x00); }, {}, {0x00}, {}},
        {"bit 0Bh", [](Processor& p) { p.WriteBit(0x0B, 1); }, {0x21}, {}, {0x0B}},
    };
    for (const auto& c : cases) {
        auto p = NewProcessor();
        MemoryShadow internal(ViewMemory::InternalRAM), sfrs(ViewMemory::Sfrs), bits(ViewMemory::BitMemory);
        for (MemoryShadow* s : {&internal, &sfrs, &bits}) s->Refresh(*p);
        c.change(*p);
        for (MemoryShadow* s : {&internal, &sfrs, &bits}) s->Refresh(*p);
        EXPECT_EQ(internal.Changed(), c.internal) << c.what;
        EXPECT_EQ(sfrs.Changed(), c.sfrs) << c.what;
        EXPECT_EQ(bits.Changed(), c.bits) << c.what;
    }
}

TEST(ListShadow, TellsAppendsFromAListEmptiedAndRefilled) {
    auto p = NewProcessor();
    for (std::size_t a = 0; a < 0x10000; ++a) p->ucCodeMemory[a] = 0xA5;  // reserved: one error line each
    ListShadow errors;
    EXPECT_EQ(errors.Refresh(p->lstErrors), ListShadow::Change::Replaced);
    EXPECT_EQ(errors.Refresh(p->lstErrors), ListShadow::Change::None);

    p->ExecuteInstructions(3);
    EXPECT_EQ(errors.Refresh(p->lstErrors), ListShadow::Change::Appended);
    EXPECT_EQ(errors.FirstNewLine(), 0u);
    p->ExecuteInstructions(static_cast<std::uint32_t>(kMessageListLimit) - 3);
    EXPECT_EQ(errors.Refresh(p->lstErrors), ListShadow::Change::Appended);
    EXPECT_EQ(errors.FirstNewLine(), 3u);
    ASSERT_EQ(p->lstErrors.Count(), kMessageListLimit);

    // One more passes the limit and empties the list; as many again refill
    // it to the same count with the same text.
    p->ExecuteInstructions(1);
    ASSERT_TRUE(p->lstErrors.Empty());
    p->ExecuteInstructions(static_cast<std::uint32_t>(kMessageListLimit));
    ASSERT_EQ(p->lstErrors.Count(), kMessageListLimit);
    EXPECT_EQ(errors.Refresh(p->lstErrors), ListShadow::Change::Replaced);
    errors.Forget();
    EXPECT_EQ(errors.Refresh(p->lstErrors), ListShadow::Change::Replaced);
}

}  // namespace
}  // namespace tessaly
