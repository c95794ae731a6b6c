#include <gtest/gtest.h>

#include <filesystem>

#include "core/SfrCatalogue.h"
#include "util/FileBytes.h"
#include "util/Lines.h"

namespace tessaly {
namespace {

// The records are built from the SFR tables; windows, watch lists and the
// general read and write dialog depend on every byte of them and on their order.
TEST(SfrCatalogue, RecordsAreTheGoldenTextInOrder) {
    const auto golden = ReadWholeFile(std::filesystem::path(TESSALY_SOURCE_DIR) / "tests/core/SfrCatalogue.golden");
    ASSERT_TRUE(golden);
    TextList list;
    list.Append("left from before");
    FillSfrCatalogue(list);
    ASSERT_EQ(list.Count(), static_cast<std::size_t>(kSfrCatalogueSize));
    EXPECT_EQ(list.Lines(), SplitLines(*golden));
}

}  // namespace
}  // namespace tessaly
