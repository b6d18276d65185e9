#pragma once

#include "settings/ini_encoding.h"

// A code page of one and two bytes, as GBK is: a lead byte from 0x81 to 0xFE
// and a trail byte from 0x40 to 0xFE make one character. Like the system's
// decoder, a lead byte takes the byte after it whatever that is, a CR or LF
// included: a pair that is no character reads as "?", and so does a lone
// 0x80 or 0xFF.
class DoubleByteCodePage final : public 定义::AnsiCodePage {
 public:
  std::wstring Decode(std::string_view bytes) const override {
    std::wstring text;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      const auto lead = static_cast<unsigned char>(bytes[i]);
      if (lead < 0x80) {
        text += static_cast<wchar_t>(lead);
      } else if (!IsLead(lead) || i + 1 == bytes.size()) {
        text += L'?';
      } else {
        const auto trail = static_cast<unsigned char>(bytes[++i]);
        text += IsTrail(trail) ? CharacterOf(lead, trail) : L'?';
      }
    }
    return text;
  }

  std::optional<std::string> EncodeExactly(std::wstring_view text) const override {
    std::string bytes;
    for (const wchar_t c : text) {
      const auto codePoint = static_cast<unsigned long>(c);
      if (codePoint < 0x80) {
        bytes += static_cast<char>(c);
        continue;
      }
      const unsigned long index = codePoint - kFirst;
      if (codePoint < kFirst || index >= kLeads * kTrails) return std::nullopt;
      bytes += static_cast<char>(kFirstLead + index / kTrails);
      bytes += static_cast<char>(kFirstTrail + index % kTrails);
    }
    return bytes;
  }

 private:
  static constexpr unsigned long kFirst = 0x4E00;  // the characters follow one another from here
  static constexpr unsigned kFirstLead = 0x81, kLeads = 0xFE - kFirstLead + 1;
  static constexpr unsigned kFirstTrail = 0x40, kTrails = 0xFE - kFirstTrail + 1;

  static bool IsLead(unsigned byte) { return byte >= kFirstLead && byte <= 0xFE; }
  static bool IsTrail(unsigned byte) { return byte >= kFirstTrail && byte <= 0xFE; }
  static wchar_t CharacterOf(unsigned lead, unsigned trail) {
    return static_cast<wchar_t>(kFirst + (lead - kFirstLead) * kTrails + (trail - kFirstTrail));
  }
};
