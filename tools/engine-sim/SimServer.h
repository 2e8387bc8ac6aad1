// The simulator's network side: a listening socket, one SimClient per
// connection, and the engine shared by all of them.
//
// Scripts run one at a time under the engine lock, whichever client or the
// console sent them. The engine's notifications go to every client. The
// owner calls Tick often (every few milliseconds): it runs the engine's
// timers, the notification flood, the connection deadlines, and frees the
// clients that have gone.
#pragma once

#include <winsock2.h>

#include <memory>
#include <vector>

#include "engine-sim/EngineSimulator.h"
#include "engine-sim/SimLog.h"
#include "engine-sim/SimOptions.h"
#include "foundation/KSHandle.h"
#include "foundation/KSMutex.h"
#include "net/KSSocket.h"

class SimClient;

class SimServer : public EngineListener {
 public:
  SimServer(EngineSimulator* inEngine, const SimOptions& inOptions, SimLog* inLog);
  ~SimServer() override;

  SimServer(const SimServer&) = delete;
  SimServer& operator=(const SimServer&) = delete;

  // Binds, listens and starts accepting. outAddress gets "ADDR:PORT"; on a
  // failure outProblem gets a sentence for the user.
  long Start(UtilStr* outAddress, UtilStr* outProblem);
  long Port() const { return mPort; }
  // Closes every connection and stops accepting.
  void Stop();

  void Tick();

  // Runs one script for client inClient (0 for the console); inFlags is the
  // flags byte of the request that carried it (-1 for the console).
  void RunScript(long inClient, int inFlags, const char* inText, long inLen, UtilStr* outReply);

  const SimOptions& Options() const { return mOptions; }
  // How a connection behaves: as the options say for the faulty ones (by
  // default all), without the options' misbehaviours for the others.
  const SimOptions& BehaviourOf(long inClient) const;
  SimLog& Log() { return *mLog; }

  // Called with the engine lock held, from whichever thread changed the state.
  void OnEngineNotify(long inMsgID, const UtilStr& inBody) override;

 private:
  static DWORD WINAPI AcceptThread(void* inServer);
  void AcceptLoop();
  void Accept(KSSocket inSocket, const sockaddr_in& inPeer);
  bool MayConnect(const sockaddr_in& inPeer);
  void Flood(int64 inNowMS);
  void EndOverdueConnections(int64 inNowMS);
  void FreeFinishedClients();

  EngineSimulator* mEngine;
  const SimOptions& mOptions;
  SimOptions mWellBehaved;  // mOptions without their misbehaviours
  SimLog* mLog;
  KSSocket mListener;
  long mPort;
  KSHandle mAcceptThread;
  KSHandle mStopEvent;  // set by Stop: ends the accept loop

  KSMutex mEngineLock;   // one script (or timer run) at a time
  KSMutex mClientsLock;  // guards mClients; taken after mEngineLock, never before
  std::vector<std::unique_ptr<SimClient>> mClients;
  long mNextClientID;

  int64 mFloodStartMS;
  int64 mFloodSent;
};
