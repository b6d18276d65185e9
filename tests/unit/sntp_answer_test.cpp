#include "sync/sntp_answer.h"

#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <vector>

namespace {

using sntp::AnswerEnd;
using sntp::Endpoint;
using sntp::Timestamp;

constexpr Endpoint kServer{0x0100007F, sntp::kServerPort};

// What a server that keeps the rules sends back.
struct Reply {
  std::uint8_t leap = 0, version = 4, mode = 4, stratum = 2;
  std::uint8_t reference[4] = {'G', 'P', 'S', 0};
  Timestamp origin = 0, received = 0, transmitted = 0;
  std::size_t length = sntp::kPacketBytes;
  Endpoint from = kServer;

  std::vector<std::uint8_t> Bytes() const {
    std::vector<std::uint8_t> bytes(std::max(length, sntp::kPacketBytes));
    bytes[0] = static_cast<std::uint8_t>(leap << 6 | version << 3 | mode);
    bytes[1] = stratum;
    std::copy(std::begin(reference), std::end(reference), bytes.begin() + 12);
    const auto put = [&](std::size_t at, Timestamp value) {
      for (std::size_t i = 0; i < 8; ++i)
        bytes[at + i] = static_cast<std::uint8_t>(value >> (56 - 8 * i));
    };
    put(24, origin);
    put(32, received);
    put(40, transmitted);
    bytes.resize(length);
    return bytes;
  }
};

// One rule of the client's broken, and the end that it leads to.
enum class Breach {
  OtherAddress,
  OtherPort,
  Short,
  NotServerMode,
  OtherOrigin,
  Kiss,
  LeapThree,
  StratumAbove15,
  NoTransmitTime
};

AnswerEnd Apply(Breach breach, Reply& reply) {
  switch (breach) {
    case Breach::OtherAddress: reply.from.address ^= 0x02000000; return AnswerEnd::WrongSource;
    case Breach::OtherPort:
      reply.from.port = *rc::gen::distinctFrom(sntp::kServerPort);
      return AnswerEnd::WrongSource;
    case Breach::Short:
      reply.length = *rc::gen::inRange<std::size_t>(0, sntp::kPacketBytes);
      return AnswerEnd::Malformed;
    case Breach::NotServerMode:
      reply.mode = *rc::gen::distinctFrom(rc::gen::inRange<std::uint8_t>(0, 8), std::uint8_t{4});
      return AnswerEnd::Malformed;
    case Breach::OtherOrigin:
      reply.origin ^= *rc::gen::distinctFrom(Timestamp{0});
      return AnswerEnd::WrongOrigin;
    case Breach::Kiss: reply.stratum = 0; return AnswerEnd::KissOfDeath;
    case Breach::LeapThree: reply.leap = 3; return AnswerEnd::Unsynchronised;
    case Breach::StratumAbove15:
      reply.stratum = *rc::gen::inRange<std::uint8_t>(16, 255);
      return AnswerEnd::Unsynchronised;
    case Breach::NoTransmitTime: reply.transmitted = 0; return AnswerEnd::Malformed;
  }
  return AnswerEnd::Answered;
}

TEST(SntpRequest, IsAVersionFourClientQuestionCarryingItsSendTime) {
  const auto request = sntp::Request(0x0123456789ABCDEF);
  EXPECT_EQ(request[0], 0x23);  // leap 0, version 4, mode 3
  const std::uint8_t transmit[] = {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF};
  EXPECT_TRUE(std::equal(std::begin(transmit), std::end(transmit), request.begin() + 40));
  EXPECT_TRUE(
      std::all_of(request.begin() + 1, request.begin() + 40, [](auto b) { return b == 0; }));
}

// A reply that keeps every rule gives the offset of its four times; one that
// breaks any rule sets nothing: it ends the question with its reason, or is
// set aside so that a true answer after it still counts, and names its
// reason if none comes.
RC_GTEST_PROP(SntpQuestion, OnlyAnAnswerKeepingEveryRuleCounts, ()) {
  const Timestamp sent = *rc::gen::arbitrary<Timestamp>();
  const Timestamp arrived = *rc::gen::arbitrary<Timestamp>();
  Reply good;
  good.leap = *rc::gen::inRange<std::uint8_t>(0, 3);
  good.version = *rc::gen::inRange<std::uint8_t>(3, 5);
  good.stratum = *rc::gen::inRange<std::uint8_t>(1, 16);
  good.origin = sent;
  good.received = *rc::gen::arbitrary<Timestamp>();
  good.transmitted = *rc::gen::distinctFrom(Timestamp{0});
  good.length = *rc::gen::inRange<std::size_t>(sntp::kPacketBytes, 70);

  Reply bad = good;
  const auto breach =
      *rc::gen::element(Breach::OtherAddress, Breach::OtherPort, Breach::Short,
                        Breach::NotServerMode, Breach::OtherOrigin, Breach::Kiss, Breach::LeapThree,
                        Breach::StratumAbove15, Breach::NoTransmitTime);
  const AnswerEnd why = Apply(breach, bad);

  sntp::Question question(kServer, sent);
  const auto heard = question.Heard(bad.Bytes(), bad.from, arrived);
  if (heard) {
    RC_ASSERT(heard->end == why);
    if (why == AnswerEnd::KissOfDeath) RC_ASSERT(heard->kissCode == "GPS");
    return;
  }
  RC_ASSERT(question.TimedOut().end == why);
  const auto answer = question.Heard(good.Bytes(), good.from, arrived);
  RC_ASSERT(answer.has_value());
  RC_ASSERT(answer->end == AnswerEnd::Answered);
  RC_ASSERT(answer->offset == sntp::ClockOffset(sent, good.received, good.transmitted, arrived));
}

TEST(SntpQuestion, NothingHeardIsNoAnswer) {
  EXPECT_EQ(sntp::Question(kServer, 1).TimedOut().end, AnswerEnd::NoAnswer);
}

}  // namespace
