// The reason a failed command gives is read from the kept tail of its
// output, not from the whole: the two must name the same line whenever the
// tail holds that line whole.

#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "sync/output_tail.h"
#include "sync/sync_outcome.h"

namespace {

constexpr std::uint32_t kFailed = 2;

// Bytes as a single-byte code page would spell them.
std::wstring Widened(const std::string& bytes) {
  std::wstring text;
  for (const char byte : bytes) text += static_cast<wchar_t>(static_cast<unsigned char>(byte));
  return text;
}

std::wstring ReasonLine(const std::string& output) {
  return CommandOutcome(kFailed, Widened(output)).lastLine;
}

std::string KeptTail(const std::string& output, std::size_t keptBytes,
                     std::vector<std::size_t> cuts) {
  std::sort(cuts.begin(), cuts.end());
  OutputTail tail(keptBytes);
  std::size_t from = 0;
  for (const std::size_t cut : cuts) {
    tail.Append(std::string_view(output).substr(from, cut - from));
    from = cut;
  }
  tail.Append(std::string_view(output).substr(from));
  return tail.Lines();
}

bool HasWords(const std::string& bytes) {
  return bytes.find_first_not_of(" \t\r\n") != std::string::npos;
}

// Line ends of every kind, blanks, a letter and a byte of a double-byte
// character: the bytes the two readers could disagree about.
rc::Gen<std::string> OutputBytes() {
  return rc::gen::container<std::string>(rc::gen::elementOf(std::string("a \t\r\n\xB0")));
}

// Any output whose last line with words begins within the kept bytes: what
// comes before, a line end, then at most the kept bytes.
RC_GTEST_PROP(ReasonFromTail, NamesTheLineTheWholeOutputNames, ()) {
  const auto keptBytes = *rc::gen::inRange<std::size_t>(1, 40);
  const std::string before = *OutputBytes();
  const std::string lineEnd = *rc::gen::elementOf(std::vector<std::string>{"\r", "\n", "\r\n"});
  std::string last = *OutputBytes();
  last.resize(std::min(last.size(), keptBytes));
  RC_PRE(HasWords(last));
  const std::string output = before + lineEnd + last;
  const auto cuts = *rc::gen::container<std::vector<std::size_t>>(
      rc::gen::inRange<std::size_t>(0, output.size()));
  RC_ASSERT(ReasonLine(KeptTail(output, keptBytes, cuts)) == ReasonLine(output));
}

// Kept: exactly the bytes after the bare carriage return.
TEST(ReasonFromTail, ABareCarriageReturnJustBeforeTheKeptBytesEndsALine) {
  const std::pair<std::string, std::string> cases[] = {
      {"\r",
       "\xB0"
       "a\n"},
      {"dropped\r", "找不到网络路径。\r\n"},
  };
  for (const auto& [dropped, kept] : cases) {
    const std::string output = dropped + kept;
    EXPECT_EQ(ReasonLine(KeptTail(output, kept.size(), {})), ReasonLine(output)) << output;
  }
}

}  // namespace
