// AsyncCache: background whole-file reads and the cache of their results.
#include "files/AsyncCache.h"

#include <cstring>
#include <memory>

#include "files/KSFile.h"
#include "files/KSFileSpec.h"
#include "foundation/KSError.h"
#include "foundation/KSLastError.h"

namespace {

// The limit used when the caller gives none.
const long kDefaultMaxBytes = 100000000;
// Finished reads nobody asked for are dropped after this many seconds.
const long kStaleSeconds = 60;

// Opens inSpec for overlapped reading and starts reading it whole into ioPB.
long StartRead(const KSFileSpec& inSpec, KSAsyncReadPB* ioPB) {
  void* file = nullptr;
  long err = KSFile::OpenFile_Private(inSpec, kKSReadStreamAccess, &file, true);
  if (err != 0) {
    return err;
  }
  ioPB->mOSFile.Reset(file);
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file, &size)) {
    return KSLastOSError();
  }
  ioPB->mFileSize = size.QuadPart;
  if (size.QuadPart > ioPB->mMaxBytesToRead) {
    return kKSErr_FileTooBig;
  }
  ioPB->mBytesRequested = int32(size.QuadPart);
  ioPB->mData.Clear();
  ioPB->mData.Append(nullptr, ioPB->mBytesRequested);
  if (ioPB->mData.length() != ioPB->mBytesRequested) {
    return kKSErr_AllocFailed;
  }
  // The buffer stays put until the read ends: nothing else touches mData.
  if (ioPB->mBytesRequested > 0 &&
      !::ReadFile(file, ioPB->mData.WritablePtr(), DWORD(ioPB->mBytesRequested), nullptr,
                  &ioPB->mOS_PB) &&
      GetLastError() != ERROR_IO_PENDING) {
    return KSLastOSError();
  }
  // Only now is there a read for Poll to collect (an empty file's at once).
  ioPB->mResult = kKSErr_Pending;
  return 0;
}

}  // namespace

AsyncReq::AsyncReq() {
  memset(&mPB.mOS_PB, 0, sizeof(mPB.mOS_PB));
  mPB.mUserParam1 = nullptr;
  mPB.mUserParam2 = nullptr;
  mPB.mMaxBytesToRead = 0;
  mPB.mOSCache = true;
  mPB.mCompetionProc = nullptr;
  mPB.mResult = kKSErr_BadState;  // no read started yet
  mPB.mFileSize = 0;
  mPB.mBytesRequested = 0;
  mIssueTime.mDays = 0;
  mIssueTime.mSecs = 0;
}

AsyncReq::~AsyncReq() {
  if (mPB.mOSFile && mPB.mResult == kKSErr_Pending) {
    // The platform may still write into mData: stop it and wait until it has.
    CancelIo(mPB.mOSFile.Get());
    DWORD done = 0;
    GetOverlappedResult(mPB.mOSFile.Get(), &mPB.mOS_PB, &done, TRUE);
  }
}

long AsyncReq::Poll() {
  if (mPB.mResult != kKSErr_Pending) {
    return mPB.mResult;
  }
  if (mPB.mBytesRequested == 0) {
    Finish(0);
    return mPB.mResult;
  }
  DWORD done = 0;
  if (GetOverlappedResult(mPB.mOSFile.Get(), &mPB.mOS_PB, &done, FALSE)) {
    Finish(long(done) == mPB.mBytesRequested ? 0 : kKSErr_EOF);
  } else if (GetLastError() != ERROR_IO_INCOMPLETE) {
    Finish(KSLastOSError());
  }
  return mPB.mResult;
}

void AsyncReq::Finish(long inResult) {
  mPB.mResult = int32(inResult);
  if (inResult != 0) {
    mPB.mData.Clear();
  }
  mPB.mOSFile.Reset();
  if (mPB.mCompetionProc != nullptr) {
    mPB.mCompetionProc(&mPB);
  }
}

AsyncCache::AsyncCache() : mAsyncActivity(false), mAsyncReqs(ks_OrderImportant) {}

AsyncCache::~AsyncCache() {}

long AsyncCache::IssueRead(const KSFileSpec& inSpec, long inMaxBytes, KSAsyncCompletionProc inProc,
                           void* inUserParam1, void* inUserParam2) {
  if (inSpec.IsEmpty()) {
    return kKSErr_FileNotFound;
  }
  auto req = std::make_unique<AsyncReq>();
  req->mPB.mMaxBytesToRead = int32(inMaxBytes < 0 ? kDefaultMaxBytes : inMaxBytes);
  req->mPB.mCompetionProc = inProc;
  req->mPB.mUserParam1 = inUserParam1;
  req->mPB.mUserParam2 = inUserParam2;
  inSpec.GetNativePathname(&req->mPathname);
  KSTime::GetTime(&req->mIssueTime, false);
  long err = StartRead(inSpec, &req->mPB);
  if (err != 0) {
    return err;
  }
  mAsyncReqs.Add(req.release());
  mAsyncActivity = true;
  return 0;
}

bool AsyncCache::CheckActivity() {
  bool active = false;
  for (long i = 1; i <= mAsyncReqs.Count(); i++) {
    if (Request(i)->Poll() == kKSErr_Pending) {
      active = true;
    }
  }
  mAsyncActivity = active;
  return active;
}

long AsyncCache::ReadFile(const KSFileSpec& inSpec, UtilStr* outData, long inMaxBytes) {
  if (outData == nullptr) {
    return kKSErr_Param;
  }
  if (inMaxBytes < 0) {
    inMaxBytes = kDefaultMaxBytes;
  }
  CheckActivity();
  UtilStr pathname;
  inSpec.GetNativePathname(&pathname);
  long err = 0;
  if (!TakeFinishedRead(pathname, inMaxBytes, outData)) {
    err = KSFile::ReadFile(inSpec, outData, inMaxBytes);
  }
  RemoveStaleRequests();
  return err;
}

AsyncReq* AsyncCache::Request(long inIndex) const {
  return static_cast<AsyncReq*>(mAsyncReqs.Fetch(inIndex));
}

bool AsyncCache::TakeFinishedRead(const UtilStr& inPathname, long inMaxBytes, UtilStr* outData) {
  for (long i = 1; i <= mAsyncReqs.Count(); i++) {
    AsyncReq* req = Request(i);
    if (req->mPB.mResult == 0 && req->mPathname.Equals(inPathname, false) &&
        req->mPB.mData.length() < inMaxBytes) {
      outData->Assign(req->mPB.mData);
      mAsyncReqs.RemoveElement(i);
      return true;
    }
  }
  return false;
}

void AsyncCache::RemoveStaleRequests() {
  KSTime now;
  KSTime::GetTime(&now, false);
  for (long i = mAsyncReqs.Count(); i >= 1; i--) {
    AsyncReq* req = Request(i);
    if (req->mPB.mResult != kKSErr_Pending && KSTime::Diff(now, req->mIssueTime) > kStaleSeconds) {
      mAsyncReqs.RemoveElement(i);
    }
  }
}
