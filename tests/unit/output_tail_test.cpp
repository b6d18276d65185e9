#include "sync/output_tail.h"

#include <gtest/gtest.h>

namespace {

TEST(OutputTail, KeepsAllOfAShortOutput) {
  OutputTail tail(16);
  tail.Append("a\r\n");
  tail.Append("bc");
  EXPECT_EQ(tail.Lines(), "a\r\nbc");
}

TEST(OutputTail, KeepsOnlyTheLastWholeLinesOfALongOutput) {
  OutputTail tail(20);
  for (int line = 0; line < 1000; ++line) tail.Append("line " + std::to_string(line) + "\r\n");
  tail.Append("last");
  EXPECT_EQ(tail.Lines(), "line 999\r\nlast");
}

// The last 8 bytes are "line1\r\nx", whole, and the bytes before are dropped.
TEST(OutputTail, KeepsAFirstLineThatBeginsTheWindowExactly) {
  OutputTail tail(8);
  tail.Append("dropped line\n");
  tail.Append("line1\r\nx");
  EXPECT_EQ(tail.Lines(), "line1\r\nx");
}

TEST(OutputTail, KeepsTheEndOfALineLongerThanTheLimit) {
  OutputTail tail(4);
  tail.Append("0123456789");
  EXPECT_EQ(tail.Lines(), "6789");
}

}  // namespace
