// KSFileSpec::AssignOSFolder: the well-known folders as the shell knows them.
#include <shlobj.h>
#include <windows.h>

#include "files/KSFileSpec.h"
#include "files/KSOSFolders.h"
#include "foundation/KSCoTaskMem.h"
#include "foundation/KSError.h"

namespace {

typedef HRESULT(WINAPI* SHGetFolderPathWProc)(HWND, int, HANDLE, DWORD, LPWSTR);

// Asks SHGetFolderPathW first, then the older item-list route.
class KSShellFolderLookup : public KSFolderLookup {
 public:
  explicit KSShellFolderLookup(SHGetFolderPathWProc inGetFolderPath)
      : mGetFolderPath(inGetFolderPath) {}

  bool FindFolder(int inCSIDL, KSFileSpec* outSpec) override {
    wchar_t buffer[MAX_PATH + 1] = {0};
    if (!FindByPath(inCSIDL, buffer) && !FindByItemList(inCSIDL, buffer)) {
      return false;
    }
    outSpec->AssignAbsolutePath(reinterpret_cast<const uint16*>(buffer));
    return true;
  }

 private:
  bool FindByPath(int inCSIDL, wchar_t* outPath) {
    return mGetFolderPath != nullptr && mGetFolderPath(nullptr, inCSIDL, nullptr, 0, outPath) >= 0;
  }

  static bool FindByItemList(int inCSIDL, wchar_t* outPath) {
    KSCoTaskMem<ITEMIDLIST> list;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, inCSIDL, list.Receive())) || !list) {
      return false;
    }
    return SHGetPathFromIDListW(list.Get(), outPath) == TRUE;
  }

  SHGetFolderPathWProc mGetFolderPath;
};

}  // namespace

long KSFileSpec::AssignOSFolder(OSFolderType inType) {
  HMODULE shell = GetModuleHandleA("shell32.dll");
  if (shell == nullptr) {
    return kKSErr_Unmapped;
  }
  // Through void*: FARPROC's own type does not match the function's.
  void* getFolderPath = reinterpret_cast<void*>(GetProcAddress(shell, "SHGetFolderPathW"));
  KSShellFolderLookup lookup(reinterpret_cast<SHGetFolderPathWProc>(getFolderPath));
  return KSResolveOSFolder(inType, lookup, this);
}
