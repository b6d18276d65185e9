#include "sync/command_watch_win32.h"

#include <atomic>
#include <mutex>
#include <string_view>
#include <utility>

#include "sync/output_tail.h"
#include "win32/slim_lock.h"
#include "win32/text_encoding.h"

namespace {

// net.exe writes a few hundred bytes; the reason needs only its last line.
constexpr DWORD kPipeBytes = 64 * 1024;
constexpr std::size_t kKeptBytes = 16 * 1024;
constexpr DWORD kChunkBytes = 4 * 1024;
constexpr DWORD kDrainAfterEndMilliseconds = 1000;

}  // namespace

// Shared by the program and the pool's two callbacks, the output's reader
// and the process's wait; the wait tells the end.
struct CommandWatch::State {
  UniqueKernelHandle process;
  UniqueKernelHandle readEnd;
  // Set once the reader has read all there is to read, or has none.
  UniqueKernelHandle drained{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  // The reader may still be at work when the end is told, while something
  // the command started holds the pipe; what was read by then is kept apart.
  SlimLock tailLock;
  OutputTail tail{kKeptBytes};
  std::string toldOutput;
  CommandEnded ended;
  std::atomic<bool> told{false};

  void Append(std::string_view bytes) {
    const std::lock_guard<SlimLock> lock(tailLock);
    tail.Append(bytes);
  }

  void Tell() {
    DWORD exitCode = 0;
    // A process whose exit code cannot be read did not report success.
    if (!GetExitCodeProcess(process.Get(), &exitCode)) exitCode = 1;
    {
      const std::lock_guard<SlimLock> lock(tailLock);
      toldOutput = tail.Lines();
    }
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
      state->Append({chunk, read});
    SetEvent(state->drained.Get());
  }

  // What the command wrote is in the pipe by the time it has ended, so a
  // short wait reads it all; what it started may hold the pipe open far
  // longer, and its exit code, not theirs, tells how the sync went. Without
  // the event the end is told at once, with what has been read by then.
  static void CALLBACK ProcessEnded(PTP_CALLBACK_INSTANCE instance, void* context, PTP_WAIT wait,
                                    TP_WAIT_RESULT) {
    const std::shared_ptr<State> state = Owner(context);
    CloseThreadpoolWait(wait);  // freed once this callback returns
    CallbackMayRunLong(instance);
    WaitForSingleObject(state->drained.Get(), kDrainAfterEndMilliseconds);
    state->Tell();
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
    }
  }
  if (!state->readEnd) SetEvent(state->drained.Get());
  SetThreadpoolWait(wait, state->process.Get(), nullptr);
  waitOwner.release();  // the wait owns it now
  state_ = std::move(state);
  return true;
}

std::wstring CommandWatch::TakeOutput() {
  if (!state_ || !state_->told) return L"";
  return FromCodePage(std::exchange(state_, {})->toldOutput, GetOEMCP());
}
