// AsyncCache: whole-file reads done by the platform in the background
// (overlapped I/O), kept until someone asks for the file with ReadFile.
// The cache and its requests belong to one thread; the platform only fills
// in the data of a read in progress.
#pragma once

#include <windows.h>

#include "foundation/KSHandle.h"
#include "foundation/KSObject.h"
#include "foundation/KSTime.h"
#include "foundation/KSTypes.h"
#include "foundation/UtilStr.h"
#include "foundation/XPtrList.h"

class KSFileSpec;
struct KSAsyncReadPB;

// Called on the cache's thread when a read has finished (see CheckActivity).
typedef void (*KSAsyncCompletionProc)(KSAsyncReadPB* inPB);

// One asynchronous read.
struct KSAsyncReadPB {
  OVERLAPPED mOS_PB;
  KSHandle mOSFile;   // open while the read is in progress
  void* mUserParam1;  // for the requester
  void* mUserParam2;
  int32 mMaxBytesToRead;
  bool mOSCache;  // recorded for the requester; reads always go through the cache
  KSAsyncCompletionProc mCompetionProc;  // may be null
  int32 mResult;                         // kKSErr_Pending while in progress, else the final error
                                         // (kKSErr_BadState before the read starts)
  int64 mFileSize;
  UtilStr mData;  // the bytes read
  int32 mBytesRequested;
};

class AsyncReq : public KSObject {
 public:
  AsyncReq();
  // An unfinished read is cancelled and waited for before its buffer goes.
  ~AsyncReq() override;
  AsyncReq(const AsyncReq&) = delete;
  AsyncReq& operator=(const AsyncReq&) = delete;

  // kKSErr_Pending while the platform is still reading, else the final result.
  long Poll();

  KSAsyncReadPB mPB;
  UtilStr mPathname;  // the native UTF-8 path
  KSTime mIssueTime;  // UTC

 private:
  void Finish(long inResult);
};

class AsyncCache {
 public:
  AsyncCache();
  ~AsyncCache();
  AsyncCache(const AsyncCache&) = delete;
  AsyncCache& operator=(const AsyncCache&) = delete;

  // Starts reading the whole of inSpec in the background. inMaxBytes < 0
  // means 100000000; a larger file gives kKSErr_FileTooBig at once.
  long IssueRead(const KSFileSpec& inSpec, long inMaxBytes, KSAsyncCompletionProc inProc = nullptr,
                 void* inUserParam1 = nullptr, void* inUserParam2 = nullptr);

  // Collects the reads the platform has finished, calling their completion
  // procedures. True while a read is still in progress.
  bool CheckActivity();

  // The whole file: from a finished read of it when there is one (which then
  // leaves the cache), else read now. inMaxBytes < 0 means 100000000.
  long ReadFile(const KSFileSpec& inSpec, UtilStr* outData, long inMaxBytes);

  long CountRequests() const { return mAsyncReqs.Count(); }

 private:
  AsyncReq* Request(long inIndex) const;
  bool TakeFinishedRead(const UtilStr& inPathname, long inMaxBytes, UtilStr* outData);
  void RemoveStaleRequests();

  bool mAsyncActivity;
  XObjectList mAsyncReqs;  // owned AsyncReq objects
};
