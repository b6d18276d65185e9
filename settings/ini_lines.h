#pragma once

#include <string_view>
#include <vector>

#include "settings/ini_encoding.h"

namespace 定义 {

// One line of a settings file, as its bytes hold it.
struct StoredLine {
  std::string_view content;  // without its end
  std::string_view end;      // CR LF, CR or LF; empty only for a last line that has none
};

// The lines of the body (the bytes after any BOM) in the given form. Lines
// end at CR LF, CR or LF, as ProfileValue reads them, found in the bytes
// before anything is decoded: no character of GBK or UTF-8 holds a CR or LF
// byte, so a byte that is no character (a lead byte with no trail byte)
// cannot take the line end with it, as a decoder of the whole file lets it.
// An odd byte at the end of UTF-16 belongs to the last line.
std::vector<StoredLine> SplitStoredLines(std::string_view body, IniEncoding encoding);

}  // namespace 定义
