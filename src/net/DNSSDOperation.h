// One running DNS-SD browse or resolve and the thread that feeds it.
//
// The library calls back into the operation, never straight into its owner,
// so the owner can let go at any moment with Detach: even while the thread
// sits in DNSServiceProcessResult waiting for an answer that may never come
// (an engine that vanished, a daemon that hangs). A detached operation
// reaches nobody; its thread releases the library reference and ends as soon
// as the library returns, and the last of owner and thread frees it.
#pragma once

#include <atomic>

#include "foundation/KSHandle.h"
#include "foundation/KSMutex.h"
#include "foundation/UtilStr.h"
#include "net/DNSSDWrapper.h"

class DNSSDOperation {
 public:
  // Receives the operation's results on its thread, while the operation's
  // lock is held: Detach waits for a call in progress to end.
  class Client {
   public:
    virtual ~Client() {}
    virtual void OnBrowseReply(DNSServiceFlags inFlags, const char* inName,
                               const char* inDomain) = 0;
    // inPort is in host order.
    virtual void OnResolveAnswered(DNSSDOperation* inOperation, const char* inHostTarget,
                                   unsigned long inPort) = 0;
  };

  // Start a browse or a resolve and its processing thread. Each returns 0 or
  // the library's (or the platform's) error; on success *outOperation holds
  // the caller's reference. inClient may be null for a resolve whose answer
  // the caller waits for with WaitForAnswer.
  static long StartBrowse(const char* inType, const char* inDomain, Client* inClient,
                          DNSSDOperation** outOperation);
  static long StartResolve(const char* inName, const char* inType, const char* inDomain,
                           Client* inClient, DNSSDOperation** outOperation);

  // Waits at most inTimeoutMS for a resolve to be answered or for the library
  // to give up on it; true when an answer is there.
  bool WaitForAnswer(long inTimeoutMS);

  // The resolved host target and port (host order); false while unanswered.
  bool GetAnswer(UtilStr* outHostTarget, unsigned long* outPort);

  // Cuts the operation off from its client and drops the caller's reference.
  // With inWaitForCallback, a callback running on the thread is waited for, so
  // the client may be destroyed afterwards; without, the call never blocks and
  // the client must tolerate one late call (it can compare the operation).
  void Detach(bool inWaitForCallback);

 private:
  DNSSDOperation(Client* inClient);
  ~DNSSDOperation() = default;

  // Starts the thread once the library accepted the operation (inStartErr
  // 0); on any failure the operation is deleted.
  long Launch(long inStartErr, DNSSDOperation** outOperation);
  long StartThread();
  void Release();
  bool KeepProcessing() const { return !mFinished; }

  static unsigned long __stdcall ThreadMain(void* inOperation);
  static void KS_DNSSD_API BrowseReply(DNSServiceRef inRef, DNSServiceFlags inFlags,
                                       uint32 inInterfaceIndex, DNSServiceErrorType inErrorCode,
                                       const char* inServiceName, const char* inType,
                                       const char* inReplyDomain, void* inContext);
  static void KS_DNSSD_API ResolveReply(DNSServiceRef inRef, DNSServiceFlags inFlags,
                                        uint32 inInterfaceIndex, DNSServiceErrorType inErrorCode,
                                        const char* inFullName, const char* inHostTarget,
                                        uint16 inPort, uint16 inTxtLen,
                                        const unsigned char* inTxtRecord, void* inContext);

  std::atomic<long> mRefCount;  // the owner and the thread
  KSMutex mLock;                // held while a callback reaches the client
  std::atomic<Client*> mClient;
  std::atomic<bool> mFinished;  // answered or detached: the thread stops
  DNSServiceRef mRef;
  KSHandle mThread;
  KSHandle mAnswerEvent;  // set when answered or when the thread ends
  bool mAnswered;         // guarded by mLock, like the answer itself
  UtilStr mHostTarget;
  unsigned long mPort;
};
