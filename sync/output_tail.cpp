#include "sync/output_tail.h"

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
  const std::size_t start = bytes_.size() - keptBytes_;
  // A line feed is never part of a double-byte character. One just before
  // the window means that its first line is whole.
  const std::size_t lineFeed = bytes_.find('\n', start - 1);
  return bytes_.substr(lineFeed == std::string::npos ? start : lineFeed + 1);
}
