#include "sync/sntp_answer.h"

namespace sntp {
namespace {

constexpr std::uint8_t kVersion = 4;
constexpr std::uint8_t kClientMode = 3;
constexpr std::uint8_t kServerMode = 4;
constexpr std::uint8_t kLeapUnsynchronised = 3;
constexpr std::uint8_t kKissStratum = 0;
constexpr std::uint8_t kLastStratum = 15;
constexpr std::size_t kReferenceAt = 12;
constexpr std::size_t kOriginAt = 24;
constexpr std::size_t kReceiveAt = 32;
constexpr std::size_t kTransmitAt = 40;

Timestamp ReadTimestamp(std::span<const std::uint8_t> packet, std::size_t at) {
  Timestamp value = 0;
  for (std::size_t i = 0; i < 8; ++i) value = value << 8 | packet[at + i];
  return value;
}

std::string KissCode(std::span<const std::uint8_t> packet) {
  std::string code;
  for (std::size_t i = 0; i < 4; ++i) {
    const char letter = static_cast<char>(packet[kReferenceAt + i]);
    if (letter >= 0x21 && letter <= 0x7E) code += letter;
  }
  return code;
}

}  // namespace

std::array<std::uint8_t, kPacketBytes> Request(Timestamp sent) {
  std::array<std::uint8_t, kPacketBytes> packet{};
  packet[0] = kVersion << 3 | kClientMode;
  for (std::size_t i = 0; i < 8; ++i)
    packet[kTransmitAt + i] = static_cast<std::uint8_t>(sent >> (56 - 8 * i));
  return packet;
}

std::optional<Answer> Question::Heard(std::span<const std::uint8_t> datagram, Endpoint from,
                                      Timestamp arrived) {
  const auto setAside = [this](AnswerEnd why) {
    setAside_ = why;
    return std::nullopt;
  };
  if (from != server_) return setAside(AnswerEnd::WrongSource);
  if (datagram.size() < kPacketBytes) return setAside(AnswerEnd::Malformed);
  const std::uint8_t leap = datagram[0] >> 6, version = (datagram[0] >> 3) & 7,
                     mode = datagram[0] & 7, stratum = datagram[1];
  if (mode != kServerMode || version < 1) return setAside(AnswerEnd::Malformed);
  if (ReadTimestamp(datagram, kOriginAt) != sent_) return setAside(AnswerEnd::WrongOrigin);
  if (stratum == kKissStratum) return Answer{AnswerEnd::KissOfDeath, 0, KissCode(datagram)};
  if (leap == kLeapUnsynchronised || stratum > kLastStratum)
    return Answer{AnswerEnd::Unsynchronised};
  const Timestamp received = ReadTimestamp(datagram, kReceiveAt);
  const Timestamp transmitted = ReadTimestamp(datagram, kTransmitAt);
  if (transmitted == 0) return setAside(AnswerEnd::Malformed);
  return Answer{AnswerEnd::Answered, ClockOffset(sent_, received, transmitted, arrived)};
}

}  // namespace sntp
