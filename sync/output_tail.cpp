#include "sync/output_tail.h"

void OutputTail::Append(std::string_view bytes) {
  bytes_ += bytes;
  // Dropped in steps of at least keptBytes, so that each byte is moved a
  // bounded number of times however much is written.
  if (bytes_.size() <= 2 * keptBytes_) return;
  bytes_.erase(0, bytes_.size() - keptBytes_);
  cut_ = true;
}

std::string OutputTail::Lines() const {
  const std::size_t start = bytes_.size() > keptBytes_ ? bytes_.size() - keptBytes_ : 0;
  if (!cut_ && start == 0) return bytes_;
  // A line feed is never part of a double-byte character.
  const std::size_t lineFeed = bytes_.find('\n', start);
  return bytes_.substr(lineFeed == std::string::npos ? start : lineFeed + 1);
}
