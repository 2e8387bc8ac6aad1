#include "files/KSFileSiblings.h"

#include <windows.h>

#include <atomic>
#include <cwchar>

#include "files/KSFileSpec.h"
#include "files/KSNativePath.h"
#include "foundation/KSFindHandle.h"
#include "foundation/KSHandle.h"
#include "foundation/UtilStr.h"

namespace {

// One writing process: ids alone are handed out again once a process ends.
struct Writer {
  unsigned long mProcessId;
  unsigned long long mStartTime;  // FILETIME ticks
};

unsigned long long StartTimeOf(HANDLE inProcess) {
  FILETIME created, exited, kernel, user;
  if (!GetProcessTimes(inProcess, &created, &exited, &kernel, &user)) {
    return 0;
  }
  return (unsigned long long)(created.dwHighDateTime) << 32 | created.dwLowDateTime;
}

const Writer& ThisWriter() {
  static const Writer sWriter = {GetCurrentProcessId(), StartTimeOf(GetCurrentProcess())};
  return sWriter;
}

void SiblingSpec(const KSFileSpec& inSpec, const Writer& inWriter, unsigned long inCount,
                 KSFileSpec* outSibling) {
  UtilStr path(inSpec.GetPathname());
  path.AppendVA(".~%lx-%llx-%lx.tmp", inWriter.mProcessId, inWriter.mStartTime, inCount);
  outSibling->AssignFromPath(path.getCStr(), path.length());
}

// Reads one hexadecimal number and the character after it.
bool ReadHex(const wchar_t** ioText, wchar_t inAfter, unsigned long long* outValue) {
  wchar_t* end;
  *outValue = std::wcstoull(*ioText, &end, 16);
  if (end == *ioText || *end != inAfter) {
    return false;
  }
  *ioText = end + 1;
  return true;
}

// The writer and count in a sibling's file name; false for a name of
// another form.
bool ParseSiblingName(const wchar_t* inName, Writer* outWriter, unsigned long* outCount) {
  const wchar_t* tag = nullptr;
  for (const wchar_t* found = std::wcsstr(inName, L".~"); found != nullptr;
       found = std::wcsstr(found + 1, L".~")) {
    tag = found;
  }
  if (tag == nullptr) {
    return false;
  }
  const wchar_t* text = tag + 2;
  unsigned long long processId, count;
  if (!ReadHex(&text, L'-', &processId) || !ReadHex(&text, L'-', &outWriter->mStartTime) ||
      !ReadHex(&text, L'.', &count) || std::wcscmp(text, L"tmp") != 0) {
    return false;
  }
  outWriter->mProcessId = (unsigned long)(processId);
  *outCount = (unsigned long)(count);
  return true;
}

bool IsRunning(const Writer& inWriter) {
  const Writer& self = ThisWriter();
  if (inWriter.mProcessId == self.mProcessId) {
    return inWriter.mStartTime == self.mStartTime;  // another thread of ours may be writing
  }
  KSHandle process(
      OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, inWriter.mProcessId));
  if (!process) {
    // A process we may not look at is someone else's, still running.
    return GetLastError() == ERROR_ACCESS_DENIED;
  }
  return StartTimeOf(process.Get()) == inWriter.mStartTime &&
         WaitForSingleObject(process.Get(), 0) == WAIT_TIMEOUT;
}

}  // namespace

void MakeFileSibling(const KSFileSpec& inSpec, KSFileSpec* outSibling) {
  static std::atomic<unsigned long> sCounter(0);
  SiblingSpec(inSpec, ThisWriter(), ++sCounter, outSibling);
}

void RemoveStrayFileSiblings(const KSFileSpec& inSpec) {
  UtilStr pattern(inSpec.GetPathname());
  pattern.Append(".~*.tmp");
  KSFileSpec patternSpec;
  patternSpec.AssignFromPath(pattern.getCStr(), pattern.length());
  WIN32_FIND_DATAW found;
  KSFindHandle search(FindFirstFileW(KSNativePath(patternSpec).Get(), &found));
  for (bool more = search.IsValid(); more; more = FindNextFileW(search.Get(), &found) != 0) {
    Writer writer;
    unsigned long count;
    if (ParseSiblingName(found.cFileName, &writer, &count) && !IsRunning(writer)) {
      KSFileSpec stray;
      SiblingSpec(inSpec, writer, count, &stray);
      stray.Delete();
    }
  }
}
