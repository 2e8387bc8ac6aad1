// corvexa-engine-sim: a stand-in engine. It listens for KSMP sessions on
// TCP, publishes itself in the same-machine registry, runs the scripts its
// clients send and notifies all of them of every change, until Ctrl+C, the
// console closing or the end of the standard input.
#include <winsock2.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "engine-sim/SimConsole.h"
#include "engine-sim/SimFiles.h"
#include "engine-sim/SimServer.h"
#include "engine-sim/SimText.h"
#include "foundation/KSError.h"
#include "net/KSZeroconf.h"
#include "net/ToolbarSession.h"

namespace {

// The engine's timers run at this pace; a notification flood is spread over it.
const long kTickMS = 10;

void Complain(const char* inWhat, const char* inDetail, long inErr) {
  UtilStr message;
  KSError::GetErrMsg(inErr, &message);
  std::fprintf(stderr, "corvexa-engine-sim: %s %s: %s\n", inWhat, inDetail, message.getCStr());
}

long Publish(KSZeroconf* ioRegistry, const SimOptions& inOptions, long inPort) {
  ioRegistry->SetServiceType(kEngineServiceType);
  ioRegistry->SetServiceName(inOptions.mName.getCStr());
  ioRegistry->SetServicePort(static_cast<unsigned long>(inPort));
  // Bound to one address of this machine: publish that one, else "this machine".
  unsigned long addr = inet_addr(inOptions.mBindAddr.getCStr());
  if (addr != INADDR_ANY && (ntohl(addr) >> 24) != 127) {
    KSNetAddr netAddr = {};
    netAddr.mType = ks_IP4Address;
    std::memcpy(netAddr.u.mIP4Addr, &addr, 4);
    ioRegistry->SetServiceAddr(netAddr);
  }
  return ioRegistry->SetStatus(true);
}

int Run(const SimOptions& inOptions) {
  EngineContent content;
  EngineContent::GetBuiltIn(&content);
  long err = 0;
  if (!inOptions.mContentDir.IsEmpty() &&
      (err = LoadContentFolder(inOptions.mContentDir, &content)) != 0) {
    Complain("cannot read the content folder", inOptions.mContentDir.getCStr(), err);
    return 2;
  }
  SimLog log;
  if (!inOptions.mLogFile.IsEmpty() && (err = log.Open(inOptions.mLogFile)) != 0) {
    Complain("cannot write the log file", inOptions.mLogFile.getCStr(), err);
    return 2;
  }

  EngineSimulator engine(content);
  if (inOptions.mSeeded) {
    engine.SetRandomSeed(inOptions.mSeed);
  }
  SimFolderScanner scanner;
  engine.State().SetFolderScanner(&scanner);
  SimServer server(&engine, inOptions, &log);
  engine.State().SetListener(&server);
  UtilStr address, problem;
  if (server.Start(&address, &problem) != 0) {
    std::fprintf(stderr, "corvexa-engine-sim: %s\n", problem.getCStr());
    return 1;
  }
  KSZeroconf registry;
  if (inOptions.mPublish && (err = Publish(&registry, inOptions, server.Port())) != 0) {
    Complain("cannot publish", inOptions.mName.getCStr(), err);
  }
  // Printed once clients can find the instance and connect: tests wait for it.
  std::printf("listening on %s\n", address.getCStr());
  std::fflush(stdout);
  SimConsole console(&server);
  console.Start(inOptions.mWatchInput);
  while (!console.WaitForExit(kTickMS)) {
    server.Tick();
  }

  registry.SetStatus(false);
  console.Stop();
  server.Stop();
  engine.State().SetListener(nullptr);
  console.Finished();
  return 0;
}

}  // namespace

int wmain(int inArgc, wchar_t** inArgv) {
  std::vector<UtilStr> args;
  for (int i = 1; i < inArgc; i++) {
    args.push_back(Utf8Text(inArgv[i]));
  }
  std::vector<const char*> argv;
  for (const UtilStr& arg : args) {
    argv.push_back(arg.getCStr());
  }
  SimOptions options;
  UtilStr error;
  if (ParseSimOptions(int(argv.size()), argv.data(), &options, &error) != 0) {
    std::fprintf(stderr, "corvexa-engine-sim: %s\n\n%s", error.getCStr(), SimUsage());
    return 2;
  }
  if (options.mHelp) {
    std::fputs(SimUsage(), stdout);
    return 0;
  }
  WSADATA wsaData;
  if (WSAStartup(MAKEWORD(2, 2), &wsaData) != 0) {
    std::fprintf(stderr, "corvexa-engine-sim: Winsock is not available\n");
    return 1;
  }
  int result = Run(options);
  WSACleanup();
  return result;
}
