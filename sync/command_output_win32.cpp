#include "sync/command_output_win32.h"

#include "win32/text_encoding.h"

namespace {

// net.exe writes a few hundred bytes at most.
constexpr DWORD kPipeBytes = 64 * 1024;

}  // namespace

bool CommandOutputPipe::Create() {
  SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
  if (!CreatePipe(readEnd_.Put(), writeEnd_.Put(), &inheritable, kPipeBytes)) return false;
  // Only the command gets the write end; the program keeps the read end.
  if (SetHandleInformation(readEnd_.Get(), HANDLE_FLAG_INHERIT, 0)) return true;
  readEnd_.Reset();
  writeEnd_.Reset();
  return false;
}

std::wstring CommandOutputPipe::TakeText() {
  DWORD available = 0;
  if (!readEnd_ || !PeekNamedPipe(readEnd_.Get(), nullptr, 0, nullptr, &available, nullptr) ||
      available == 0)
    return L"";
  std::string bytes(available, '\0');
  DWORD read = 0;
  // Never waits: the bytes are there already.
  if (!ReadFile(readEnd_.Get(), bytes.data(), available, &read, nullptr)) return L"";
  bytes.resize(read);
  return FromCodePage(bytes, GetOEMCP());
}
