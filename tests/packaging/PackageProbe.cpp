// The installer test's look from inside the wine prefix: where the toolbar's
// start-up finds the engine, the skins and the themes, and what the version
// resources of installed programs say.
//   package-probe engine
//   package-probe version FILE...
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "toolbar/ToolbarState.h"

namespace {

std::string Utf8(const wchar_t* inText) {
  int size = WideCharToMultiByte(CP_UTF8, 0, inText, -1, nullptr, 0, nullptr, nullptr);
  std::string text(size > 0 ? size - 1 : 0, '\0');
  WideCharToMultiByte(CP_UTF8, 0, inText, -1, text.data(), size, nullptr, nullptr);
  return text;
}

// What a toolbar started now would use: the same start-up, in the real folders.
int PrintEngine() {
  ToolbarState state;
  std::printf("engine %s\n",
              state.mSkinsFolder.IsEmpty() ? "none" : state.mEngineFolder.GetPathCStr());
  std::printf("skins %s\n",
              state.mSkinsFolder.IsEmpty() ? "none" : state.mSkinsFolder.GetPathCStr());
  for (int i = 0; i < state.mThemeMgr.CountThemes(); ++i) {
    const ThemeInfo* theme = state.mThemeMgr.GetThemeInfo(i);
    std::printf("theme %s (%s)\n", theme->mLogicalName.getCStr(),
                theme->mReadOnly ? "factory" : "user");
  }
  return 0;
}

// One "Name=value" line per string of the version resource, and the fixed
// file version as "Fixed=a.b.c.d".
int PrintVersion(const wchar_t* inPath) {
  DWORD unused = 0;
  DWORD size = GetFileVersionInfoSizeW(inPath, &unused);
  std::vector<char> data(size);
  if (size == 0 || !GetFileVersionInfoW(inPath, 0, size, data.data())) {
    std::printf("%s: no version resource\n", Utf8(inPath).c_str());
    return 1;
  }
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) &&
      length >= sizeof(*fixed)) {
    std::printf("Fixed=%u.%u.%u.%u\n", unsigned(HIWORD(fixed->dwFileVersionMS)),
                unsigned(LOWORD(fixed->dwFileVersionMS)), unsigned(HIWORD(fixed->dwFileVersionLS)),
                unsigned(LOWORD(fixed->dwFileVersionLS)));
  }
  static const wchar_t* const kNames[] = {L"CompanyName",    L"FileDescription", L"FileVersion",
                                          L"LegalCopyright", L"ProductName",     L"ProductVersion"};
  for (const wchar_t* name : kNames) {
    std::wstring query = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
    wchar_t* value = nullptr;
    if (VerQueryValueW(data.data(), query.c_str(), reinterpret_cast<void**>(&value), &length)) {
      std::printf("%s=%s\n", Utf8(name).c_str(), Utf8(value).c_str());
    }
  }
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc == 2 && std::wcscmp(argv[1], L"engine") == 0) {
    return PrintEngine();
  }
  if (argc >= 3 && std::wcscmp(argv[1], L"version") == 0) {
    int failures = 0;
    for (int i = 2; i < argc; ++i) {
      failures += PrintVersion(argv[i]);
    }
    return failures == 0 ? 0 : 1;
  }
  std::fprintf(stderr, "usage: package-probe engine | version FILE...\n");
  return 2;
}
