#include "bench/byte_count.h"

#include <gtest/gtest.h>

#include "bench/usage_error.h"

namespace quillon::bench {
namespace {

TEST(ByteCount, ReadsPlainCountsAndBinaryUnits) {
  EXPECT_EQ(ParseByteCount("4096"), 4096u);
  EXPECT_EQ(ParseByteCount("3K"), 3u << 10);
  EXPECT_EQ(ParseByteCount("3KiB"), 3u << 10);
  EXPECT_EQ(ParseByteCount("64M"), 64 * kMiB);
  EXPECT_EQ(ParseByteCount("64MiB"), 64 * kMiB);
  EXPECT_EQ(ParseByteCount("1GiB"), kGiB);
  EXPECT_EQ(ParseByteCount("2G"), 2 * kGiB);
}

TEST(ByteCount, RefusesWhatIsNotACountAboveZero) {
  for (const char* text : {"", "0", "0MiB", "MiB", "-5", "64 MiB", "64mib", "64MB", "1.5GiB", "99999999999999999999", "17179869184GiB"})
    EXPECT_THROW(ParseByteCount(text), UsageError) << text;
}

TEST(ByteCount, DescribesInTheLargestExactUnit) {
  EXPECT_EQ(DescribeByteCount(kGiB), "1 GiB");
  EXPECT_EQ(DescribeByteCount(64 * kMiB), "64 MiB");
  EXPECT_EQ(DescribeByteCount(kGiB + kMiB), "1025 MiB");
  EXPECT_EQ(DescribeByteCount(kMiB + 1), "1048577 bytes");
}

}  // namespace
}  // namespace quillon::bench
