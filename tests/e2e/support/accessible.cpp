#include "accessible.h"

#include <oleacc.h>

#include "win32/com_session.h"

namespace e2e {

std::optional<std::wstring> AccessibleName(HWND control) {
  // The standard proxies are made in the asking process, on this thread.
  const ComSession com;
  IAccessible* accessible = nullptr;
  // __uuidof: IID_IAccessible as linked into this static exe does not hold
  // the GUID (seen: 3c5a25ff-0020-...), and the call then fails with
  // E_NOINTERFACE.
  if (FAILED(AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT),
                                        __uuidof(IAccessible),
                                        reinterpret_cast<void**>(&accessible))))
    return std::nullopt;
  VARIANT self{};
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR name = nullptr;
  const HRESULT got = accessible->get_accName(self, &name);
  std::wstring text = got == S_OK && name ? std::wstring(name, SysStringLen(name)) : L"";
  SysFreeString(name);
  accessible->Release();
  return text;
}

}  // namespace e2e
