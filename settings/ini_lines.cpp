#include "settings/ini_lines.h"

namespace 定义 {
namespace {

// CR and LF are code units of their own in every form.
class CodeUnits {
 public:
  CodeUnits(std::string_view body, IniEncoding encoding)
      : body_(body), encoding_(encoding), size_(CodeUnitBytes(encoding)) {}

  std::size_t Size() const { return size_; }
  bool Fits(std::size_t at) const { return at + size_ <= body_.size(); }
  bool Is(std::size_t at, char32_t value) const { return Fits(at) && At(at) == value; }
  bool IsLineEnd(std::size_t at) const { return Is(at, U'\r') || Is(at, U'\n'); }

 private:
  char32_t At(std::size_t at) const {
    const auto byte = [this](std::size_t i) { return static_cast<unsigned char>(body_[i]); };
    if (size_ == 1) return byte(at);
    if (encoding_ == IniEncoding::Utf16BeWithBom) return byte(at) << 8 | byte(at + 1);
    return byte(at + 1) << 8 | byte(at);
  }

  std::string_view body_;
  IniEncoding encoding_;
  std::size_t size_;
};

}  // namespace

std::vector<StoredLine> SplitStoredLines(std::string_view body, IniEncoding encoding) {
  std::vector<StoredLine> lines;
  const CodeUnits units(body, encoding);
  for (std::size_t start = 0; start < body.size();) {
    std::size_t end = start;
    while (units.Fits(end) && !units.IsLineEnd(end)) end += units.Size();
    std::size_t next = units.Is(end, U'\r') ? end + units.Size() : end;
    if (units.Is(next, U'\n')) next += units.Size();
    if (next == end) end = next = body.size();  // the last line, and an odd byte of UTF-16
    lines.push_back({body.substr(start, end - start), body.substr(end, next - end)});
    start = next;
  }
  return lines;
}

}  // namespace 定义
