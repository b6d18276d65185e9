#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "settings/ini_encoding.h"
#include "settings/ini_file.h"

namespace 定义 {

// The bytes of a settings file (empty for a missing one) with the changes
// made in turn. A key takes its new value on the line ProfileValue reads it
// from; a missing key is added after the last entry of the first section of
// its name, a missing section at the end. A value is written up to its first
// line break or NUL, so that it never makes lines of its own. Every other
// line stays byte for byte, whatever bytes it holds, and new lines end in
// LF when the file's first line does, else in CR LF. The file keeps its
// encoding, unless a new or changed line would read back otherwise in it (a
// character the ANSI code page lacks, or ANSI bytes that make the file read
// as UTF-8): then the whole text is written in UTF-16 LE with a BOM, which
// holds every character and cannot be mistaken.
std::string EditIniBytes(std::string_view bytes, const std::vector<IniChange>& changes,
                         const AnsiCodePage& ansi);

}  // namespace 定义
