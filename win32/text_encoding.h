#pragma once

#include <string>
#include <string_view>

// UTF-16 to and from the bytes of a code page: CP_ACP for what the profile
// functions store, 936 for the GBK of a Chinese system, CP_UTF8 for logs.
std::string ToCodePage(std::wstring_view text, unsigned codePage);
std::wstring FromCodePage(std::string_view bytes, unsigned codePage);
