#include "settings/file_failure.h"

#include "text/decimal_text.h"

namespace 定义 {
namespace {

enum class Access { Reading, Writing };

std::wstring Reason(const FileFailure& failure, Access access) {
  switch (failure.problem) {
    case FileProblem::ReadOnly: return L"配置.INI 是只读文件";
    case FileProblem::AccessDenied:
      return access == Access::Reading ? L"没有读取 配置.INI 的权限"
                                       : L"没有在程序所在的文件夹里写入 配置.INI 的权限";
    case FileProblem::InUse: return L"配置.INI 正被其他程序占用";
    case FileProblem::DiskFull: return L"磁盘已满";
    case FileProblem::PathTooLong: return L"程序所在文件夹的路径太长";
    case FileProblem::HoldsNul: return L"配置.INI 中有空字符（NUL），改写会损坏它";
    case FileProblem::Other: break;
  }
  return L"系统报告错误 " + DecimalText(failure.systemError);
}

}  // namespace

std::wstring NotReadNotice(const FileFailure& failure) {
  return L"设置尚未读取：" + Reason(failure, Access::Reading) +
         L"。读到之前，窗口显示默认值，改动不会保存";
}

std::wstring NotSavedNotice(const FileFailure& failure) {
  return L"设置没有保存：" + Reason(failure, Access::Writing);
}

}  // namespace 定义
