#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The end of what a command writes, in bounded memory: a command may write
// far more than the reason needs, which is its last line.
class OutputTail {
 public:
  explicit OutputTail(std::size_t keptBytes) : keptBytes_(keptBytes) {}

  void Append(std::string_view bytes);
  // The last keptBytes bytes or fewer, from the start of a line as
  // sync/line_end.h ends lines: a line cut in front could begin inside a
  // double-byte character. A single line longer than that is kept cut.
  std::string Lines() const;

 private:
  std::size_t keptBytes_;
  // The kept window and, once the output was longer, the byte before it.
  std::string bytes_;
};
