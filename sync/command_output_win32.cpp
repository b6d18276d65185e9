#include "sync/command_output_win32.h"

#include <utility>

#include "sync/output_tail.h"
#include "win32/text_encoding.h"

namespace {

// net.exe writes a few hundred bytes; the reason needs only its last line.
constexpr DWORD kPipeBytes = 64 * 1024;
constexpr std::size_t kKeptBytes = 16 * 1024;
constexpr DWORD kChunkBytes = 4 * 1024;

}  // namespace

// Shared by the program and the pool's callback: a command ended early
// leaves the callback to read on until the pipe breaks.
struct CommandOutputPipe::Reader {
  UniqueKernelHandle readEnd;
  UniqueKernelHandle drained{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  OutputTail tail{kKeptBytes};

  static void CALLBACK Drain(PTP_CALLBACK_INSTANCE instance, void* context) {
    const std::unique_ptr<std::shared_ptr<Reader>> owner(
        static_cast<std::shared_ptr<Reader>*>(context));
    Reader& reader = **owner;
    CallbackMayRunLong(instance);
    char chunk[kChunkBytes];
    DWORD read = 0;
    // Ends when every copy of the write end is closed: the command, and
    // whatever it started with its handles, has ended.
    while (ReadFile(reader.readEnd.Get(), chunk, kChunkBytes, &read, nullptr))
      reader.tail.Append({chunk, read});
    SetEvent(reader.drained.Get());
  }
};

bool CommandOutputPipe::Create() {
  auto reader = std::make_shared<Reader>();
  SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
  if (!reader->drained ||
      !CreatePipe(reader->readEnd.Put(), writeEnd_.Put(), &inheritable, kPipeBytes))
    return false;
  // Only the command gets the write end; the program keeps the read end.
  if (!SetHandleInformation(reader->readEnd.Get(), HANDLE_FLAG_INHERIT, 0)) {
    writeEnd_.Reset();
    return false;
  }
  reader_ = std::move(reader);
  return true;
}

void CommandOutputPipe::StartReading() {
  if (!reader_) return;
  auto context = std::make_unique<std::shared_ptr<Reader>>(reader_);
  if (TrySubmitThreadpoolCallback(&Reader::Drain, context.get(), nullptr)) {
    context.release();  // the callback owns it now
    return;
  }
  // Unread, the pipe would fill and stop the command: with no reader the
  // command's words are lost instead.
  reader_.reset();
}

HANDLE CommandOutputPipe::Drained() const { return reader_ ? reader_->drained.Get() : nullptr; }

bool CommandOutputPipe::IsDrained() const {
  return !reader_ || WaitForSingleObject(reader_->drained.Get(), 0) == WAIT_OBJECT_0;
}

std::wstring CommandOutputPipe::TakeText() {
  if (!reader_) return L"";
  const std::string bytes = std::exchange(reader_, {})->tail.Lines();
  return FromCodePage(bytes, GetOEMCP());
}
