#pragma once

#include <cstdint>
#include <functional>

#include "sync/sntp_answer.h"

namespace sntp {

// Called on a thread of the system's pool once the question has ended.
using AnswerEnded = std::function<void(const Answer& answer)>;

// Asks the server at the address (network byte order) and port once over
// SNTP, from the system's thread pool, and returns at once. The question
// waits there about a second for its answer, in buffers of its own. False,
// and `ended` is never called, when the pool did not take the question.
bool AskOnPool(std::int32_t address, std::uint16_t port, AnswerEnded ended);

}  // namespace sntp
