#include "toolbar/KSUtils.h"

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <cstdint>

#include "files/KSFileSpec.h"
#include "foundation/KSError.h"
#include "platform/KSWideText.h"

long KSUtils::Open(const KSFileSpec& inSpec) {
  // The plain path: the shell does not take the long-path form.
  KSWideText path(inSpec.GetPathCStr());
  HINSTANCE result = ShellExecuteW(nullptr, L"open", path.Get(), nullptr, nullptr, SW_SHOWNORMAL);
  return reinterpret_cast<intptr_t>(result) > 32 ? 0 : kKSErr_Unmapped;
}
