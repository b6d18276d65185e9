#include "sync/output_tail.h"

#include <algorithm>

#include "sync/line_end.h"

void OutputTail::Append(std::string_view bytes) {
  bytes_ += bytes;
  // Dropped in steps of at least keptBytes, so that each byte is moved a
  // bounded number of times however much is written. The byte before the
  // kept window stays: it tells whether the window begins a line.
  if (bytes_.size() <= 2 * keptBytes_ + 1) return;
  bytes_.erase(0, bytes_.size() - keptBytes_ - 1);
}

std::string OutputTail::Lines() const {
  if (bytes_.size() <= keptBytes_) return bytes_;
  const auto windowStart = bytes_.end() - static_cast<std::ptrdiff_t>(keptBytes_);
  // A line end just before the window means that its first line is whole;
  // a carriage return and a line feed together end one line.
  auto lineStart = std::find_if(windowStart - 1, bytes_.end(), IsLineEnd<char>);
  if (lineStart == bytes_.end()) return {windowStart, bytes_.end()};
  if (*lineStart++ == '\r' && lineStart != bytes_.end() && *lineStart == '\n') ++lineStart;
  return {lineStart, bytes_.end()};
}
