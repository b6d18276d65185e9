#pragma once

// What ends a line of the command's output, for every reader of it: a
// carriage return, a line feed or the two together. Neither byte is ever
// part of a double-byte character.
template <typename Char>
constexpr bool IsLineEnd(Char c) {
  return c == Char('\r') || c == Char('\n');
}
