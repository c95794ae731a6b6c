#include <gtest/gtest.h>

#include "cli/RunOptions.h"

namespace tessaly::cli {
namespace {

TEST(RunOptions, XramPagingIsOffUnlessAsked) {
    const auto plain = ParseRunOptions({"a.ihx"});
    EXPECT_TRUE(plain.error.empty());
    EXPECT_FALSE(plain.options.xramPaging);

    const auto paged = ParseRunOptions({"--xram-paging", "a.ihx", "--hardware-serial"});
    EXPECT_TRUE(paged.error.empty());
    EXPECT_TRUE(paged.options.xramPaging);
    EXPECT_TRUE(paged.options.hardwareSerial);
    EXPECT_EQ(paged.options.program, "a.ihx");

    EXPECT_EQ(ParseRunOptions({"--xram-pages", "a.ihx"}).error, "unknown option --xram-pages");
    EXPECT_NE(UsageText().find("\n  --xram-paging "), std::string::npos);
}

}  // namespace
}  // namespace tessaly::cli
