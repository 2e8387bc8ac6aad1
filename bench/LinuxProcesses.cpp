#include "LinuxProcesses.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

std::string ReadWhole(const std::string& inPath) {
  std::string text;
  FILE* file = std::fopen(inPath.c_str(), "rb");
  if (file != nullptr) {
    char chunk[4096];
    for (size_t got; (got = std::fread(chunk, 1, sizeof(chunk), file)) > 0;) {
      text.append(chunk, got);
    }
    std::fclose(file);
  }
  return text;
}

std::string ProcPath(int inPid, const char* inItem) {
  return "Z:\\proc\\" + std::to_string(inPid) + "\\" + inItem;
}

// The numbered entries of a /proc folder.
std::set<int> NumberedEntries(const std::string& inFolder) {
  std::set<int> numbers;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((inFolder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) {
    return numbers;
  }
  do {
    int number = std::atoi(found.cFileName);
    if (number > 0) {
      numbers.insert(number);
    }
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return numbers;
}

// Whether the '\0'-separated list inList holds inEntry.
bool Holds(const std::string& inList, const std::string& inEntry) {
  for (size_t at = 0; at < inList.size(); at = inList.find('\0', at) + 1) {
    if (inList.compare(at, inEntry.size() + 1, inEntry.c_str(), inEntry.size() + 1) == 0) {
      return true;
    }
    if (inList.find('\0', at) == std::string::npos) {
      break;
    }
  }
  return false;
}

// A variable of this process's environment (wine hands it the Linux one).
std::string Environment(const char* inName) {
  char value[MAX_PATH];
  DWORD length = GetEnvironmentVariableA(inName, value, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::string(value, length) : std::string();
}

// Whether a Linux process runs in this process's wine prefix.
bool InThisPrefix(int inPid) {
  return Holds(ReadWhole(ProcPath(inPid, "environ")), "WINEPREFIX=" + Environment("WINEPREFIX"));
}

}  // namespace

std::set<int> LinuxProcesses() {
  return NumberedEntries("Z:\\proc");
}

std::string LinuxCommandLine(int inPid) {
  return ReadWhole(ProcPath(inPid, "cmdline"));
}

int LinuxProcessRunning(const std::string& inFirst, const std::string& inSecond) {
  for (int pid : LinuxProcesses()) {
    std::string args = LinuxCommandLine(pid);
    size_t second = args.find('\0');
    if (second != std::string::npos && args.compare(0, second, inFirst) == 0 &&
        (inSecond.empty() || args.c_str() + second + 1 == inSecond)) {
      return pid;
    }
  }
  return 0;
}

int LinuxSelf() {
  // Wine opens files in wineserver, where /proc/self is the server. This
  // process is the one of this prefix whose first argument ends in this
  // program's file name (it is the path it was started by).
  char self[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string name(self, length);
  name.erase(0, name.find_last_of("\\/") + 1);
  for (int pid : LinuxProcesses()) {
    std::string first = LinuxCommandLine(pid).c_str();
    if (first.size() >= name.size() &&
        first.compare(first.size() - name.size(), name.size(), name) == 0 && InThisPrefix(pid)) {
      return pid;
    }
  }
  return 0;
}

int LinuxWineServer() {
  for (int pid : LinuxProcesses()) {
    if (ReadWhole(ProcPath(pid, "comm")).compare(0, 10, "wineserver") == 0 && InThisPrefix(pid)) {
      return pid;
    }
  }
  return 0;
}

int LinuxDisplayServer() {
  return LinuxProcessRunning("Xvfb", Environment("DISPLAY"));
}

double LinuxCpuMicros(int inPid) {
  std::string stat = ReadWhole(ProcPath(inPid, "stat"));
  size_t name = stat.rfind(')');  // the program name may hold blanks
  if (name == std::string::npos) {
    return -1;
  }
  // Fields 14 and 15 (utime, stime); the name is field 2, the state (a
  // letter) field 3.
  const char* field = stat.c_str() + name + 3;
  double ticks = 0;
  for (int i = 4; i <= 15; i++) {
    char* end = nullptr;
    double value = std::strtod(field, &end);
    if (end == field) {
      return -1;
    }
    ticks += i >= 14 ? value : 0;
    field = end;
  }
  return ticks * 1e4;
}

LinuxSchedule LinuxScheduleOf(int inPid) {
  LinuxSchedule schedule;
  std::string tasks = ProcPath(inPid, "task");
  for (int task : NumberedEntries(tasks)) {
    // "running-ns waiting-ns timeslices"
    std::string counts = ReadWhole(tasks + "\\" + std::to_string(task) + "\\schedstat");
    double running = 0, waiting = 0;
    if (std::sscanf(counts.c_str(), "%lf %lf", &running, &waiting) == 2) {
      schedule.mRunning += running / 1000;
      schedule.mWaiting += waiting / 1000;
    }
  }
  return schedule;
}

LinuxSchedule operator-(const LinuxSchedule& inAfter, const LinuxSchedule& inBefore) {
  return {inAfter.mRunning - inBefore.mRunning, inAfter.mWaiting - inBefore.mWaiting};
}
