#include "support/ProcessCounts.h"

// tlhelp32.h needs windows.h first.
// clang-format off
#include <tlhelp32.h>
#include <psapi.h>
#include <winternl.h>
// clang-format on

#include <vector>

#include "foundation/KSHandle.h"

namespace {

BOOL CALLBACK CountThreadWindows(HWND inWind, LPARAM ioCount) {
  ++*reinterpret_cast<long*>(ioCount);
  EnumChildWindows(
      inWind,
      [](HWND, LPARAM ioChildren) -> BOOL {
        ++*reinterpret_cast<long*>(ioChildren);
        return TRUE;
      },
      ioCount);
  return TRUE;
}

long CountKernelHandles(HANDLE inProcess) {
  // Each handle value of the process is tried by duplicating it. The system's
  // list of every process's handles is not used: wine's server crashes when a
  // process ends while that list is being made. Handles are given out from
  // the lowest free slot, so a long run of free slots means the end.
  const uintptr_t kStep = 4;
  const uintptr_t kFreeRunAtEnd = 2048;
  long count = 0;
  uintptr_t freeRun = 0;
  for (uintptr_t value = kStep; freeRun < kFreeRunAtEnd; value += kStep) {
    HANDLE copy = nullptr;
    if (DuplicateHandle(inProcess, reinterpret_cast<HANDLE>(value), GetCurrentProcess(), &copy, 0,
                        FALSE, DUPLICATE_SAME_ACCESS)) {
      CloseHandle(copy);
      count++;
      freeRun = 0;
    } else {
      freeRun++;
    }
  }
  return count;
}

long CountGdiObjects() {
  // Every live GDI object answers GetObjectType; wine accepts a handle
  // without its upper bits, so probing the low 16 bits finds them all.
  long count = 0;
  for (uintptr_t value = 1; value <= 0xFFFF; ++value) {
    count += GetObjectType(reinterpret_cast<HGDIOBJ>(value)) != 0;
  }
  return count;
}

// The threads of a process, and the windows they own (children included).
void CountThreadsAndWindows(DWORD inProcessId, long* outThreads, long* outWindows) {
  *outThreads = *outWindows = -1;
  KSHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
  if (!snapshot) {
    return;
  }
  *outThreads = *outWindows = 0;
  THREADENTRY32 entry = {};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Thread32First(snapshot.Get(), &entry); more;
       more = Thread32Next(snapshot.Get(), &entry)) {
    if (entry.th32OwnerProcessID == inProcessId) {
      ++*outThreads;
      EnumThreadWindows(entry.th32ThreadID, CountThreadWindows, LPARAM(outWindows));
    }
  }
}

long CountGdiObjectsOf(HANDLE inProcess) {
  // A process's GDI handle table is the one its PEB points to; a live
  // object's entry has a type. Read from outside, it counts another process.
  struct GdiEntry {
    UINT64 mObject;
    ULONG mOwner;
    USHORT mUnique;
    UCHAR mType;
    UCHAR mFlags;
    UINT64 mUser;
  };
  const size_t kTableOffsetInPeb = 0xF8;  // 64-bit PEB
  const size_t kEntries = 0x10000;
  PROCESS_BASIC_INFORMATION info = {};
  ULONG length = 0;
  if (NtQueryInformationProcess(inProcess, ProcessBasicInformation, &info, sizeof(info), &length) <
      0) {
    return -1;
  }
  void* table = nullptr;
  SIZE_T got = 0;
  const char* peb = reinterpret_cast<const char*>(info.PebBaseAddress);
  if (!ReadProcessMemory(inProcess, peb + kTableOffsetInPeb, &table, sizeof(table), &got) ||
      table == nullptr) {
    return -1;
  }
  std::vector<GdiEntry> entries(kEntries);
  if (!ReadProcessMemory(inProcess, table, entries.data(), kEntries * sizeof(GdiEntry), &got)) {
    return -1;
  }
  long count = 0;
  for (const GdiEntry& entry : entries) {
    count += entry.mType != 0;
  }
  return count;
}

}  // namespace

long PrivateKBOf(HANDLE inProcess) {
  // PrivateUsage reads 0 under wine; the page-file share is the same memory.
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof(counters);
  if (!GetProcessMemoryInfo(inProcess, &counters, sizeof(counters))) {
    return -1;
  }
  return long(counters.PagefileUsage / 1024);
}

ProcessCounts ProcessCounts::Take() {
  ProcessCounts counts = {CountKernelHandles(GetCurrentProcess()), CountGdiObjects(), 0, 0};
  CountThreadsAndWindows(GetCurrentProcessId(), &counts.mThreads, &counts.mUserObjects);
  return counts;
}

ProcessCounts ProcessCounts::TakeOf(HANDLE inProcess) {
  DWORD id = GetProcessId(inProcess);
  ProcessCounts counts = {CountKernelHandles(inProcess), CountGdiObjectsOf(inProcess), 0, 0};
  CountThreadsAndWindows(id, &counts.mThreads, &counts.mUserObjects);
  return counts;
}

ProcessCounts SettleTo(const ProcessCounts& inBaseline, long inSlack, DWORD inTimeoutMS) {
  DWORD start = GetTickCount();
  for (;;) {
    ProcessCounts now = ProcessCounts::Take();
    bool settled = now.mKernelHandles <= inBaseline.mKernelHandles + inSlack &&
                   now.mGdiObjects <= inBaseline.mGdiObjects + inSlack &&
                   now.mUserObjects <= inBaseline.mUserObjects + inSlack &&
                   now.mThreads <= inBaseline.mThreads + inSlack;
    if (settled || GetTickCount() - start >= inTimeoutMS) {
      return now;
    }
    Sleep(20);
  }
}
