// What this process holds, counted in ways that also work under wine, where
// GetGuiResources and GetProcessHandleCount read 0: leak tests compare the
// counts before and after a piece of work. Each count is -1 when it cannot be
// taken, so that a test can tell "nothing counted" from "nothing held".
#pragma once

#include <windows.h>

struct ProcessCounts {
  long mKernelHandles;  // kernel objects open in this process
  long mGdiObjects;     // live GDI objects (fonts, bitmaps, regions, DCs, ...)
  long mUserObjects;    // windows of this process's threads, children included
  long mThreads;        // threads of this process

  static ProcessCounts Take();
  // The same counts of another process (a handle with query, read and
  // duplicate-handle access), taken from outside it.
  static ProcessCounts TakeOf(HANDLE inProcess);
};

// The private memory a process has committed, in KB (-1 when unknown).
long PrivateKBOf(HANDLE inProcess);

// Polls until the counts are no higher than inBaseline plus inSlack each (the
// threads of closed sessions and windows end a little after they signal), or
// inTimeoutMS has passed; returns the last counts taken.
ProcessCounts SettleTo(const ProcessCounts& inBaseline, long inSlack, DWORD inTimeoutMS);
