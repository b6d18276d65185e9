#include "sync/command_watch_win32.h"

#include <atomic>
#include <utility>

#include "sync/output_tail.h"
#include "win32/text_encoding.h"

namespace {

// net.exe writes a few hundred bytes; the reason needs only its last line.
constexpr DWORD kPipeBytes = 64 * 1024;
constexpr std::size_t kKeptBytes = 16 * 1024;
constexpr DWORD kChunkBytes = 4 * 1024;

}  // namespace

// Shared by the program and the pool's two callbacks, the output's reader
// and the process's wait; the later of the two tells the end.
struct CommandWatch::State {
  UniqueKernelHandle process;
  UniqueKernelHandle readEnd;
  OutputTail tail{kKeptBytes};
  CommandEnded ended;
  std::atomic<int> unfinished{0};
  std::atomic<bool> told{false};

  void Finish() {
    if (--unfinished != 0) return;
    DWORD exitCode = 0;
    // A process whose exit code cannot be read did not report success.
    if (!GetExitCodeProcess(process.Get(), &exitCode)) exitCode = 1;
    told = true;
    ended(exitCode);
  }

  static std::shared_ptr<State> Owner(void* context) {
    const std::unique_ptr<std::shared_ptr<State>> owner(
        static_cast<std::shared_ptr<State>*>(context));
    return *owner;
  }

  static void CALLBACK Drain(PTP_CALLBACK_INSTANCE instance, void* context) {
    const std::shared_ptr<State> state = Owner(context);
    CallbackMayRunLong(instance);
    char chunk[kChunkBytes];
    DWORD read = 0;
    // Ends when every copy of the write end is closed: the command, and
    // whatever it started with its handles, has ended.
    while (ReadFile(state->readEnd.Get(), chunk, kChunkBytes, &read, nullptr))
      state->tail.Append({chunk, read});
    state->Finish();
  }

  static void CALLBACK ProcessEnded(PTP_CALLBACK_INSTANCE, void* context, PTP_WAIT wait,
                                    TP_WAIT_RESULT) {
    const std::shared_ptr<State> state = Owner(context);
    CloseThreadpoolWait(wait);  // freed once this callback returns
    state->Finish();
  }
};

bool CommandWatch::CreatePipe() {
  SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
  if (!::CreatePipe(readEnd_.Put(), writeEnd_.Put(), &inheritable, kPipeBytes)) return false;
  // Only the command gets the write end; the program keeps the read end.
  if (SetHandleInformation(readEnd_.Get(), HANDLE_FLAG_INHERIT, 0)) return true;
  readEnd_.Reset();
  writeEnd_.Reset();
  return false;
}

bool CommandWatch::Start(HANDLE process, CommandEnded ended) {
  auto state = std::make_shared<State>();
  if (!DuplicateHandle(GetCurrentProcess(), process, GetCurrentProcess(), state->process.Put(), 0,
                       FALSE, DUPLICATE_SAME_ACCESS))
    return false;
  state->readEnd = std::move(readEnd_);
  state->ended = std::move(ended);
  state->unfinished = state->readEnd ? 2 : 1;
  auto waitOwner = std::make_unique<std::shared_ptr<State>>(state);
  const PTP_WAIT wait = CreateThreadpoolWait(&State::ProcessEnded, waitOwner.get(), nullptr);
  if (!wait) return false;
  if (state->readEnd) {
    auto readerOwner = std::make_unique<std::shared_ptr<State>>(state);
    if (TrySubmitThreadpoolCallback(&State::Drain, readerOwner.get(), nullptr)) {
      readerOwner.release();  // the reader owns it now
    } else {
      // Unread, the pipe would fill and stop the command: with no reader
      // its words are lost instead.
      state->readEnd.Reset();
      --state->unfinished;
    }
  }
  SetThreadpoolWait(wait, state->process.Get(), nullptr);
  waitOwner.release();  // the wait owns it now
  state_ = std::move(state);
  return true;
}

std::wstring CommandWatch::TakeOutput() {
  if (!state_ || !state_->told) return L"";
  const std::string bytes = std::exchange(state_, {})->tail.Lines();
  return FromCodePage(bytes, GetOEMCP());
}
