#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace ping {

// Turns a dotted quad into the address the ICMP library takes: the first part
// in the lowest byte, so that little-endian memory holds it in network order.
// Fewer than four parts give 0 (an address nobody answers); five or more, or
// among four a part that is not a signed 32-bit decimal number, give nullopt.
// Each part contributes its lowest 8 bits, so 300 counts as 44 and -1 as 255.
std::optional<std::int32_t> DottedQuadToAddress(std::wstring text);

}  // namespace ping
