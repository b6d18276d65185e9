#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <utility>

#include "sync/ntp_time.h"

namespace sntp {

inline constexpr std::uint16_t kServerPort = 123;
inline constexpr std::size_t kPacketBytes = 48;

// Where a datagram came from: an IPv4 address in network byte order, as the
// echo takes it, and a port in host order.
struct Endpoint {
  std::int32_t address;
  std::uint16_t port;
  bool operator==(const Endpoint&) const = default;
};

// How one question to the server ended.
enum class AnswerEnd {
  Answered,
  NoAnswer,        // nothing, or nothing that counts, within the time
  Malformed,       // short, not a server's answer, or without its time
  WrongOrigin,     // not the answer to this question
  WrongSource,     // from another address or port than the one asked
  KissOfDeath,     // the server refuses, with a code
  Unsynchronised,  // the server says its own clock is not set
};

struct Answer {
  Answer(AnswerEnd end = AnswerEnd::NoAnswer, Offset offset = 0, std::string kissCode = {})
      : end(end), offset(offset), kissCode(std::move(kissCode)) {}

  AnswerEnd end;
  Offset offset;         // answered: how far the local clock is behind
  std::string kissCode;  // a kiss-o'-death's letters, the printable ones
};

// A client's question (version 4, mode 3) carrying its own send time, which
// the server's answer must carry back as its origin.
std::array<std::uint8_t, kPacketBytes> Request(Timestamp sent);

// One question and the datagrams that come back until one counts. Anything
// that cannot be this server's answer to this question (from elsewhere,
// another origin, too short to tell) is set aside, since a true answer may
// still follow; a true answer that refuses, or says its clock is not set,
// ends the question.
class Question {
 public:
  Question(Endpoint server, Timestamp sent) : server_(server), sent_(sent) {}

  // The answer once one counts; `arrived` is the local time of its arrival.
  std::optional<Answer> Heard(std::span<const std::uint8_t> datagram, Endpoint from,
                              Timestamp arrived);
  // The time is up: the last datagram set aside says why, if any came.
  Answer TimedOut() const { return {setAside_}; }

 private:
  Endpoint server_;
  Timestamp sent_;
  AnswerEnd setAside_ = AnswerEnd::NoAnswer;
};

}  // namespace sntp
