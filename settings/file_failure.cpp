#include "settings/file_failure.h"

#include "settings/settings.h"
#include "text/decimal_text.h"

namespace 定义 {
namespace {

enum class Access { Reading, Writing };

// The user's file by the name Explorer's address bar takes.
std::wstring NameOf(SettingsFile file) {
  switch (file) {
    case SettingsFile::BesideExe: break;
    case SettingsFile::User:
      return std::wstring(L"%APPDATA%\\") + kUserSettingsFolder + L"\\" + kIniFileName;
    case SettingsFile::Preset: return std::wstring(L"程序所在文件夹里预设的 ") + kIniFileName;
  }
  return kIniFileName;
}

std::wstring Reason(const FileFailure& failure, Access access, SettingsFile file) {
  const std::wstring name = NameOf(file);
  switch (failure.problem) {
    case FileProblem::ReadOnly: return name + L" 是只读文件";
    case FileProblem::AccessDenied:
      if (access == Access::Reading) return L"没有读取 " + name + L" 的权限";
      if (file == SettingsFile::User) return L"没有写入 " + name + L" 的权限";
      return L"没有在程序所在的文件夹里写入 配置.INI 的权限";
    case FileProblem::InUse: return name + L" 正被其他程序占用";
    case FileProblem::DiskFull: return L"磁盘已满";
    case FileProblem::PathTooLong:
      return file == SettingsFile::User ? L"%APPDATA% 的路径太长" : L"程序所在文件夹的路径太长";
    case FileProblem::HoldsNul: return name + L" 中有空字符（NUL），改写会损坏它";
    case FileProblem::Other: break;
  }
  return L"系统报告错误 " + DecimalText(failure.systemError);
}

}  // namespace

std::wstring NotReadNotice(const FileFailure& failure, SettingsFile file) {
  return L"设置尚未读取：" + Reason(failure, Access::Reading, file) +
         L"。读到之前，窗口显示默认值，改动不会保存";
}

std::wstring NotSavedNotice(const FileFailure& failure, SettingsFile file) {
  return L"设置没有保存：" + Reason(failure, Access::Writing, file);
}

std::wstring PressNotSavedNotice(const FileFailure& failure, bool ticked, SettingsFile file) {
  const std::wstring reason = Reason(failure, Access::Writing, file);
  if (ticked)
    return L"开机自动运行没有保存：" + reason + L"。下次启动时按钮是弹起的，开机自动运行随之取消";
  return L"取消开机自动运行没有保存：" + reason +
         L"。下次启动时按钮又是按下的，开机自动运行随之恢复";
}

}  // namespace 定义
