#include "engine-sim/SimServer.h"

#include <ws2tcpip.h>

#include <algorithm>
#include <iterator>
#include <utility>

#include "engine-sim/SimClient.h"
#include "foundation/KSError.h"
#include "foundation/KSLastError.h"

namespace {

// How often the accept loop looks at the stop event.
const long kAcceptPollMS = 100;

long SocketError() {
  return KSError::TranslateErr(long(WSAGetLastError()), KSErrorDomain_OS);
}

bool IsLoopback(const sockaddr_in& inAddr) {
  return (ntohl(inAddr.sin_addr.s_addr) >> 24) == 127;
}

int64 NowMS() {
  return int64(GetTickCount64());
}

// Why listening failed, in words: the two usual reasons have their own.
void DescribeListenError(int inSocketError, long inErr, UtilStr* outText) {
  if (inSocketError == WSAEADDRINUSE) {
    outText->Append("the port is in use");
  } else if (inSocketError == WSAEADDRNOTAVAIL) {
    outText->Append("the address is not one of this machine's");
  } else {
    KSError::GetErrMsg(inErr, outText);
    outText->AppendVA(" (socket error %d)", inSocketError);
  }
}

}  // namespace

SimServer::SimServer(EngineSimulator* inEngine, const SimOptions& inOptions, SimLog* inLog)
    : mEngine(inEngine),
      mOptions(inOptions),
      mWellBehaved(inOptions.WithoutMisbehaviour()),
      mLog(inLog),
      mPort(0),
      mStopEvent(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      mNextClientID(1),
      mFloodStartMS(NowMS()),
      mFloodSent(0) {}

SimServer::~SimServer() {
  Stop();
}

long SimServer::Start(UtilStr* outAddress, UtilStr* outProblem) {
  sockaddr_in addr = {};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(u_short(mOptions.mPort));
  if (inet_pton(AF_INET, mOptions.mBindAddr.getCStr(), &addr.sin_addr) != 1) {
    outProblem->AppendVA("%s is not an IPv4 address", mOptions.mBindAddr.getCStr());
    return kKSErr_Param;
  }
  mListener.Reset(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
  int addrLen = sizeof(addr);
  if (!mListener || bind(mListener.Get(), reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) != 0 ||
      listen(mListener.Get(), SOMAXCONN) != 0 ||
      getsockname(mListener.Get(), reinterpret_cast<sockaddr*>(&addr), &addrLen) != 0) {
    int socketError = WSAGetLastError();
    long err = SocketError();
    outProblem->AppendVA("cannot listen on %s:%ld: ", mOptions.mBindAddr.getCStr(), mOptions.mPort);
    DescribeListenError(socketError, err, outProblem);
    mListener.Reset();
    return err;
  }
  mPort = ntohs(addr.sin_port);
  mAcceptThread.Reset(CreateThread(nullptr, 0, AcceptThread, this, 0, nullptr));
  if (!mAcceptThread) {
    long err = KSLastOSError();
    outProblem->Append("cannot start accepting connections: ");
    KSError::GetErrMsg(err, outProblem);
    return err;
  }
  outAddress->Clear();
  outAddress->AppendVA("%s:%ld", mOptions.mBindAddr.getCStr(), mPort);
  return 0;
}

void SimServer::Stop() {
  SetEvent(mStopEvent.Get());
  if (mAcceptThread) {
    WaitForSingleObject(mAcceptThread.Get(), INFINITE);
    mAcceptThread.Reset();
  }
  mListener.Reset();
  std::vector<std::unique_ptr<SimClient>> clients;
  {
    KSMutexHold hold(mClientsLock);
    clients.swap(mClients);
  }
  // All are told first; each then waits for its thread as it goes.
  for (const std::unique_ptr<SimClient>& client : clients) {
    client->Close();
  }
}

// --- Accepting ---

DWORD WINAPI SimServer::AcceptThread(void* inServer) {
  static_cast<SimServer*>(inServer)->AcceptLoop();
  return 0;
}

void SimServer::AcceptLoop() {
  while (WaitForSingleObject(mStopEvent.Get(), 0) == WAIT_TIMEOUT) {
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(mListener.Get(), &readable);
    timeval wait = {0, kAcceptPollMS * 1000};
    if (select(0, &readable, nullptr, nullptr, &wait) <= 0) {
      continue;
    }
    sockaddr_in peer = {};
    int peerLen = sizeof(peer);
    KSSocket socket(accept(mListener.Get(), reinterpret_cast<sockaddr*>(&peer), &peerLen));
    if (socket) {
      Accept(std::move(socket), peer);
    }
  }
}

void SimServer::Accept(KSSocket inSocket, const sockaddr_in& inPeer) {
  char peerText[INET_ADDRSTRLEN] = "?";
  inet_ntop(AF_INET, &inPeer.sin_addr, peerText, sizeof(peerText));
  long id = mNextClientID++;
  const SimOptions& behaviour = BehaviourOf(id);
  if (behaviour.mRefuse || !MayConnect(inPeer)) {
    mLog->Note(id, "refused a connection from %s:%u", peerText, ntohs(inPeer.sin_port));
    shutdown(inSocket.Get(), SD_BOTH);
    return;
  }
  mLog->Note(id, "connection from %s:%u", peerText, ntohs(inPeer.sin_port));
  auto client = std::make_unique<SimClient>(this, std::move(inSocket), id);
  if (behaviour.mBadSystemMsg) {
    client->SendMalformedSystemMsg();
  }
  if (!mOptions.mSay.IsEmpty()) {
    client->SendSystemMsg(kNotifyUserMessage, mOptions.mSay);
  }
  if (client->Start() != 0) {
    return;
  }
  KSMutexHold hold(mClientsLock);
  mClients.push_back(std::move(client));
}

const SimOptions& SimServer::BehaviourOf(long inClient) const {
  long faulty = mOptions.mFaultyConnections;
  return faulty == 0 || inClient <= faulty ? mOptions : mWellBehaved;
}

// Other machines may connect only while the engine allows remote control.
bool SimServer::MayConnect(const sockaddr_in& inPeer) {
  if (IsLoopback(inPeer)) {
    return true;
  }
  KSMutexHold hold(mEngineLock);
  return mEngine->State().GetPref(kPrefNetworkMode).AsInt() == kNetworkModeNormal;
}

// --- Running scripts and sending notifications ---

void SimServer::RunScript(long inClient, int inFlags, const char* inText, long inLen,
                          UtilStr* outReply) {
  mLog->Script(inClient, inFlags, inText, inLen);
  XStrList notes;
  {
    KSMutexHold hold(mEngineLock);
    mEngine->RunScript(inText, inLen, NowMS(), outReply, &notes);
  }
  for (long i = 1; i <= notes.Count(); i++) {
    mLog->Note(inClient, "%s", notes.Fetch(i)->getCStr());
  }
}

void SimServer::OnEngineNotify(long inMsgID, const UtilStr& inBody) {
  KSMutexHold hold(mClientsLock);
  for (const std::unique_ptr<SimClient>& client : mClients) {
    client->SendSystemMsg(inMsgID, inBody);
  }
}

// --- The periodic work ---

void SimServer::Tick() {
  int64 now = NowMS();
  {
    KSMutexHold hold(mEngineLock);
    mEngine->Tick(now);
  }
  if (mOptions.mFloodPerSec > 0) {
    Flood(now);
  }
  if (mOptions.mCloseAfterMS > 0) {
    EndOverdueConnections(now);
  }
  FreeFinishedClients();
}

// Truthful notifications, as many as the rate asks for: the current wave
// shape, color map and flow field, and the slide-show states, in turn. A
// client slower than the rate slows the sends down (they wait for room in
// its socket); what fell behind by more than a tenth of a second is dropped
// rather than caught up, so that the flood never holds up the main loop
// (and with it the end of the program) for long.
void SimServer::Flood(int64 inNowMS) {
  int64 due = int64(double(inNowMS - mFloodStartMS) * mOptions.mFloodPerSec / 1000.0);
  if (due <= mFloodSent) {
    return;
  }
  mFloodSent = std::max(mFloodSent, due - std::max(int64(1), int64(mOptions.mFloodPerSec / 10)));
  KSMutexHold hold(mEngineLock);
  EngineState& state = mEngine->State();
  for (; mFloodSent < due; mFloodSent++) {
    switch (mFloodSent % 5) {
      case 0:
        OnEngineNotify(kNotifyWaveShape, state.CurrentName(kConfigWaveShape));
        break;
      case 1:
        OnEngineNotify(kNotifyColorMap, state.CurrentName(kConfigColorMap));
        break;
      case 2:
        OnEngineNotify(kNotifyFlowField, state.CurrentName(kConfigFlowField));
        break;
      case 3:
        OnEngineNotify(kNotifyWaveShapeShowOn + (state.GetSlideShow(kConfigWaveShape) ? 0 : 1),
                       UtilStr());
        break;
      default:
        OnEngineNotify(kNotifyColorMapShowOn + (state.GetSlideShow(kConfigColorMap) ? 0 : 1),
                       UtilStr());
        break;
    }
  }
}

void SimServer::EndOverdueConnections(int64 inNowMS) {
  KSMutexHold hold(mClientsLock);
  for (const std::unique_ptr<SimClient>& client : mClients) {
    if (!client->IsClosing() && BehaviourOf(client->ID()).mCloseAfterMS > 0 &&
        inNowMS - client->OpenedMS() >= mOptions.mCloseAfterMS) {
      mLog->Note(client->ID(), "closing the connection: its time is up");
      client->Close();
    }
  }
}

// The finished ones go outside the lock: each waits for its thread.
void SimServer::FreeFinishedClients() {
  std::vector<std::unique_ptr<SimClient>> finished;
  {
    KSMutexHold hold(mClientsLock);
    auto firstFinished = std::stable_partition(
        mClients.begin(), mClients.end(),
        [](const std::unique_ptr<SimClient>& inClient) { return !inClient->IsFinished(); });
    finished.insert(finished.end(), std::make_move_iterator(firstFinished),
                    std::make_move_iterator(mClients.end()));
    mClients.erase(firstFinished, mClients.end());
  }
}
