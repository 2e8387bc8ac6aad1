// Browsing for a folder, and testing for files.
#include <windows.h>
// After windows.h, which it needs.
#include <shlobj.h>

#include "foundation/KSCoTaskMem.h"
#include "foundation/KSFindHandle.h"
#include "foundation/UtilStr.h"
#include "platform/BaseUtils.h"
#include "platform/KSWideText.h"

namespace {

// Selects the initial folder once the browser is up, and shows the path of
// the selected folder as the status text.
int CALLBACK BrowseCallback(HWND inBrowser, UINT inMsg, LPARAM inParam, LPARAM inData) {
  const KSWideText* initial = reinterpret_cast<const KSWideText*>(inData);
  if (inMsg == BFFM_INITIALIZED && !initial->IsEmpty()) {
    SendMessageW(inBrowser, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(initial->Get()));
  } else if (inMsg == BFFM_SELCHANGED) {
    wchar_t path[MAX_PATH] = L"";
    SHGetPathFromIDListW(reinterpret_cast<PCIDLIST_ABSOLUTE>(inParam), path);
    SendMessageW(inBrowser, BFFM_SETSTATUSTEXTW, 0, reinterpret_cast<LPARAM>(path));
  }
  return 0;
}

// The browser needs COM on this thread; balances its own initialisation.
class ComScope {
 public:
  ComScope() : mInitialized(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ComScope() {
    if (mInitialized) {
      CoUninitialize();
    }
  }

 private:
  bool mInitialized;
};

bool CountsAsFile(DWORD inAttributes) {
  const DWORD kFileLike =
      FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_TEMPORARY;
  return !(inAttributes & FILE_ATTRIBUTE_DIRECTORY) || (inAttributes & kFileLike);
}

}  // namespace

bool BaseBrowseForFolder(HWND inOwner, const char* inTitle, UtilStr* ioPath) {
  ComScope com;
  KSWideText initial(ioPath->getCStr(), ioPath->length());
  KSWideText title(inTitle);
  BROWSEINFOW info = {};
  info.hwndOwner = inOwner;
  info.lpszTitle = title.Get();
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT;
  info.lpfn = BrowseCallback;
  info.lParam = reinterpret_cast<LPARAM>(&initial);

  // The shell's allocator, which made the list, is the COM task allocator.
  KSCoTaskMem<ITEMIDLIST> chosen(SHBrowseForFolderW(&info));
  wchar_t path[MAX_PATH] = L"";
  if (!chosen || !SHGetPathFromIDListW(chosen.Get(), path)) {
    return false;
  }
  KSWideText::ToUTF8(path, -1, ioPath);
  return true;
}

bool BaseIsFileExist(const char* inPath) {
  WIN32_FIND_DATAW found;
  KSFindHandle search(FindFirstFileW(KSWideText(inPath).Get(), &found));
  if (!search) {
    return false;
  }
  bool exists = false;
  do {
    exists = CountsAsFile(found.dwFileAttributes);
  } while (!exists && FindNextFileW(search.Get(), &found));
  return exists;
}
