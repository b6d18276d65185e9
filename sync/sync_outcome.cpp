#include "sync/sync_outcome.h"

#include "sync/line_end.h"
#include "sync/ntp_time.h"
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

// net.exe's failure in a few words, on a line that tells of SNTP too.
std::wstring NetFailure(const SyncOutcome& outcome) {
  switch (outcome.end) {
    case SyncEnd::NotStarted: return L"无法启动";
    case SyncEnd::TimedOut: return DecimalText(kSyncCommandTimeLimit.count()) + L" 秒内没有结束";
    case SyncEnd::CommandFailed: {
      const std::wstring code = L"代码 " + DecimalText(outcome.exitCode);
      return outcome.lastLine.empty() ? code : code + L"：" + outcome.lastLine;
    }
    default: return L"";
  }
}

std::wstring SntpFailure(const sntp::Answer& answer) {
  switch (answer.end) {
    case sntp::AnswerEnd::NoAnswer: return L"服务器没有应答";
    case sntp::AnswerEnd::Malformed: return L"应答不完整或格式不对";
    case sntp::AnswerEnd::WrongOrigin: return L"应答与所发的请求不符";
    case sntp::AnswerEnd::WrongSource: return L"应答不是来自服务器的 123 端口";
    case sntp::AnswerEnd::KissOfDeath:
      return L"服务器拒绝了请求（" + std::wstring(answer.kissCode.begin(), answer.kissCode.end()) +
             L"）";
    case sntp::AnswerEnd::Unsynchronised: return L"服务器自己的时钟尚未同步";
    case sntp::AnswerEnd::Answered: break;
  }
  return L"";
}

std::wstring SntpExplanation(const SyncOutcome& outcome, const SntpFallback& sntp) {
  const std::wstring net = L"net time 失败（" + NetFailure(outcome) + L"）；";
  if (sntp.answer.end != sntp::AnswerEnd::Answered)
    return L"失败，" + net + L"SNTP 也失败（" + SntpFailure(sntp.answer) + L"）。";
  switch (sntp.set.result) {
    case ClockSet::Set:
      return net + L"已按 SNTP 校时，本机时钟调整了 " + sntp::SignedSeconds(sntp.answer.offset) +
             L" 秒。";
    case ClockSet::NotOwnRight:
      return L"失败，" + net +
             L"服务器可用 SNTP 校时，但本程序自己没有更改系统时间的权限；按下“开机自动运行”"
             L"建立计划任务，或由管理员授予此权限，即可使用（见用户指南）。";
    case ClockSet::NoRight:
      return L"失败，" + net + L"SNTP 有应答，但本程序无法启用更改系统时间的权限。";
    case ClockSet::Refused:
      return L"失败，" + net + L"SNTP 有应答，但系统拒绝更改时间（错误 " +
             DecimalText(sntp.set.error) + L"）。";
  }
  return L"";
}

std::wstring Explanation(const SyncOutcome& outcome) {
  if (outcome.sntp) return SntpExplanation(outcome, *outcome.sntp);
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

bool IsSynced(const SyncOutcome& outcome) {
  if (outcome.sntp) return outcome.sntp->set.result == ClockSet::Set;
  return outcome.end == SyncEnd::Synced;
}

std::wstring OutcomeCaption(const SyncOutcome& outcome, const std::wstring& timeOfDay) {
  if (!IsSynced(outcome)) return kSyncFailedCaption;
  return L"同步时间 " + timeOfDay;
}

std::wstring OutcomeReason(const SyncOutcome& outcome, const std::wstring& timeOfDay) {
  return L"上次同步 " + timeOfDay + L"：" + Explanation(outcome);
}
