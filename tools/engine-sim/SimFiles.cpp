#include "engine-sim/SimFiles.h"

#include <windows.h>

#include <algorithm>
#include <string>

#include "engine-sim/SimText.h"
#include "foundation/KSError.h"
#include "foundation/KSFindHandle.h"
#include "foundation/KSHandle.h"
#include "foundation/KSLastError.h"

namespace {

const wchar_t* const kMediaExtensions[] = {L".bmp", L".jpg", L".jpeg", L".png", L".gif",
                                           L".avi", L".mp4", L".mov",  L".wmv", L".mpg"};

// Larger list files are not lists of names.
const DWORD kMaxListFileSize = 4 * 1024 * 1024;

// A folder scan runs while the engine waits: a whole drive, or folders that
// lead back into themselves, must not hold it for long.
const long kMaxEntriesRead = 100000;
const int kMaxFolderDepth = 16;

bool IsMediaFile(const std::wstring& inName) {
  size_t dot = inName.find_last_of(L'.');
  if (dot == std::wstring::npos) {
    return false;
  }
  std::wstring extension = inName.substr(dot);
  for (const wchar_t* media : kMediaExtensions) {
    if (_wcsicmp(extension.c_str(), media) == 0) {
      return true;
    }
  }
  return false;
}

long ReadSmallFile(const std::wstring& inPath, std::string* outBytes) {
  KSHandle file(CreateFileW(inPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    return KSLastOSError();
  }
  DWORD size = GetFileSize(file.Get(), nullptr);
  if (size == INVALID_FILE_SIZE || size > kMaxListFileSize) {
    return kKSErr_FileTooBig;
  }
  outBytes->resize(size);
  DWORD read = 0;
  if (size > 0 && (!ReadFile(file.Get(), &(*outBytes)[0], size, &read, nullptr) || read != size)) {
    return kKSErr_IO;
  }
  return 0;
}

// Reads at most *ioBudget folder entries, counting them off.
void ScanFolder(const std::wstring& inFolder, int inDepth, long* ioBudget, EngineNames* ioNames) {
  if (*ioBudget <= 0) {
    return;
  }
  WIN32_FIND_DATAW found;
  KSFindHandle search(FindFirstFileW((inFolder + L"\\*").c_str(), &found));
  if (!search) {
    return;
  }
  do {
    std::wstring name = found.cFileName;
    if (name == L"." || name == L"..") {
      continue;
    }
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      // Links to folders are passed by: they may lead back up the tree.
      if (inDepth > 0 && !(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        ScanFolder(inFolder + L"\\" + name, inDepth - 1, ioBudget, ioNames);
      }
    } else if (IsMediaFile(name)) {
      ioNames->push_back(Utf8Text(name.c_str()));
    }
  } while (--*ioBudget > 0 && FindNextFileW(search.Get(), &found));
}

}  // namespace

long LoadContentFolder(const UtilStr& inFolder, EngineContent* ioContent) {
  std::wstring folder = WideText(inFolder);
  DWORD attributes = GetFileAttributesW(folder.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return kKSErr_FileNotFound;
  }
  for (long kind = 0; kind < kNumConfigKinds; kind++) {
    const char* fileName = EngineContent::ListFileName(kind);
    std::string bytes;
    if (!fileName || ReadSmallFile(folder + L"\\" + WideText(fileName), &bytes) != 0) {
      continue;
    }
    EngineNames names;
    EngineContent::ParseNameList(bytes.data(), long(bytes.size()), &names);
    ioContent->mItems[kind] = names;
  }
  return 0;
}

long SimFolderScanner::ListMediaFiles(const UtilStr& inFolder, bool inSubfolders,
                                      EngineNames* outNames) {
  std::wstring folder = WideText(inFolder);
  while (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/')) {
    folder.pop_back();
  }
  // Asked with its separator, "C:" stays the drive's root folder.
  DWORD attributes = GetFileAttributesW((folder + L"\\").c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return kKSErr_FileNotFound;
  }
  long budget = kMaxEntriesRead;
  ScanFolder(folder, inSubfolders ? kMaxFolderDepth : 0, &budget, outNames);
  std::sort(outNames->begin(), outNames->end(), [](const UtilStr& inA, const UtilStr& inB) {
    return UtilStr::compare(inA.getCStr(), inB.getCStr(), false) < 0;
  });
  return 0;
}
