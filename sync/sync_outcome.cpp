#include "sync/sync_outcome.h"

#include "sync/line_end.h"
#include "sync/sync_command.h"
#include "text/decimal_text.h"

namespace {

constexpr wchar_t kBlanks[] = L" \t\r\n";

std::wstring LastNonEmptyLine(const std::wstring& text) {
  const std::size_t end = text.find_last_not_of(kBlanks);
  if (end == std::wstring::npos) return L"";
  std::size_t lineStart = end;
  while (lineStart > 0 && !IsLineEnd(text[lineStart - 1])) --lineStart;
  const std::size_t begin = text.find_first_not_of(kBlanks, lineStart);
  return text.substr(begin, end + 1 - begin);
}

std::wstring FailedCommandReason(const SyncOutcome& outcome) {
  std::wstring reason = L"net time 命令出错（代码 " + DecimalText(outcome.exitCode) + L"）";
  return outcome.lastLine.empty() ? reason + L"。" : reason + L"：" + outcome.lastLine;
}

std::wstring Explanation(const SyncOutcome& outcome) {
  switch (outcome.end) {
    case SyncEnd::Synced: return L"成功，本机时间已按服务器校准。";
    case SyncEnd::NoAnswer: return L"失败，服务器没有应答，请检查地址和网络。";
    case SyncEnd::NoRight:
      return L"失败，本程序没有更改系统时间的权限。请管理员授予此权限（见用户指南）。";
    case SyncEnd::NoRightButElevatable:
      return L"失败，本程序没有更改系统时间的权限。请点“立即同步”，在 Windows 询问时选“是”。";
    case SyncEnd::Declined: return L"失败，在 Windows 询问是否允许更改系统时间时选了“否”。";
    case SyncEnd::NotStarted: return L"失败，无法启动 net time 命令。";
    case SyncEnd::TimedOut:
      return L"失败，net time 命令 " + DecimalText(kSyncCommandTimeLimit.count()) +
             L" 秒内没有结束，已被终止。";
    case SyncEnd::CommandFailed: return L"失败，" + FailedCommandReason(outcome);
  }
  return L"";
}

}  // namespace

SyncOutcome CommandOutcome(std::uint32_t exitCode, const std::wstring& output) {
  if (exitCode == 0) return {SyncEnd::Synced};
  return {SyncEnd::CommandFailed, exitCode, LastNonEmptyLine(output)};
}

std::wstring OutcomeCaption(const SyncOutcome& outcome, const std::wstring& timeOfDay) {
  if (outcome.end != SyncEnd::Synced) return kSyncFailedCaption;
  return L"同步时间 " + timeOfDay;
}

std::wstring OutcomeReason(const SyncOutcome& outcome, const std::wstring& timeOfDay) {
  return L"上次同步 " + timeOfDay + L"：" + Explanation(outcome);
}
