#include <gtest/gtest.h>

#include "DecoderTestSupport.h"

namespace tessaly {
namespace {

void ExpectUnlabelled(const TextList& list) {
    ASSERT_EQ(list.Count(), 65536u);
    for (std::size_t v = 0; v < list.Count(); ++v) {
        if (list[v] != "~") {
            ADD_FAILURE() << "entry " << v << " is '" << list[v] << "'";
            return;
        }
    }
}

TEST(Workspace, StartsWithEveryValueUnlabelledAndByteNumbers) {
    Workspace w;
    ExpectUnlabelled(w.lstCodeLabels);
    ExpectUnlabelled(w.lstBitLabels);
    ExpectUnlabelled(w.lstNumberLabels);
    EXPECT_EQ(w.bByteNumbers, 1);
}

TEST(Workspace, ResetLabelsDropsImportedNamesAndKeepsTheSize) {
    Workspace w;
    testing::SetLabel(w.lstCodeLabels, 0xFFFF, "TOP");
    testing::SetLabel(w.lstBitLabels, 0x00, "FLAG");
    testing::SetLabel(w.lstNumberLabels, 0x7F, "LIMIT");
    w.lstNumberLabels.Append("extra");
    w.ResetLabels();
    w.ResetLabels();
    ExpectUnlabelled(w.lstCodeLabels);
    ExpectUnlabelled(w.lstBitLabels);
    ExpectUnlabelled(w.lstNumberLabels);
}

}  // namespace
}  // namespace tessaly
