// corvexa-bench: how the engine link compares with a plain TCP echo over the
// same loopback, in one run. Round trips (one request, wait for its reply)
// and pipelined throughput (many requests back to back), with 100-byte
// scripts. The link talks to corvexa-engine-sim, which runs every script; the
// same requests sent to the simulator from a plain socket show how much of
// the difference is the simulator's and how much the link's.
#include <winsock2.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "BenchStats.h"
#include "LinkBench.h"
#include "RawEcho.h"
#include "ctl/ChildProcess.h"
#include "net/KSMPWire.h"
#include "net/KSNet.h"
#include "net/KSPacketWire.h"
#include "toolbar/UICommands.h"

namespace {

const int kMessageSize = 100;
const int kWarmUps = 200;

// The simulator, relative to this program's folder.
const char kSimulator[] = KS_BENCH_SIM_PATH;

struct BenchCounts {
  int mRoundTrips = 2000;
  int mPipelined = 20000;
};

bool ReadCounts(int argc, char** argv, BenchCounts* outCounts) {
  for (int i = 1; i < argc; ++i) {
    bool roundTrips = std::strcmp(argv[i], "--round-trips") == 0;
    bool pipelined = std::strcmp(argv[i], "--pipelined") == 0;
    int count = i + 1 < argc ? std::atoi(argv[i + 1]) : 0;
    if ((!roundTrips && !pipelined) || count <= 0) {
      return false;
    }
    (roundTrips ? outCounts->mRoundTrips : outCounts->mPipelined) = count;
    ++i;
  }
  return true;
}

// A command the toolbar sends (a slider move), padded with blanks to 100 bytes.
std::string BenchScript() {
  char script[kCommandBufferSize];
  std::string text = CommandSetWaveShapeInterval(50, script);
  text.resize(kMessageSize, ' ');
  return text;
}

// The wire bytes of one KSMP request carrying inScript, as the link sends it.
std::string RequestWire(const std::string& inScript) {
  KSPacket packet = {};
  KSMPWire::BuildHeader(packet.mHeader, kKSMPKind_Request, 0x28, 1, true, nullptr);
  packet.mDataSize = int32(inScript.size());
  std::string wire(size_t(kKSPacketWireHeaderSize), '\0');
  KSPacketWire::EncodeHeader(packet, reinterpret_cast<uint8*>(&wire[0]));
  return wire + inScript;
}

bool StartSimulator(ChildProcess* ioSim, long* outPort) {
  std::string line;
  if (!ioSim->Start(kSimulator, {"--port", "0", "--no-publish"}) ||
      !ioSim->WaitForLine("listening on", 20000, &line)) {
    std::fprintf(stderr, "corvexa-bench: the simulator did not start (%s)\n",
                 ioSim->Errors().c_str());
    return false;
  }
  size_t colon = line.rfind(':');
  *outPort = colon == std::string::npos ? 0 : std::atol(line.c_str() + colon + 1);
  return *outPort > 0;
}

void StopSimulator(ChildProcess* ioSim) {
  ioSim->CloseInput();  // the simulator ends when its input does
  if (!ioSim->Wait(5000, nullptr)) {
    ioSim->Kill();
  }
}

struct Results {
  BenchSummary mRawTrip;
  BenchSummary mPlainTrip;  // the simulator from a plain socket
  BenchSummary mLinkTrip;
  double mRawPerSec;
  double mPlainPerSec;
  double mLinkPerSec;
};

bool MeasureRaw(const BenchCounts& inCounts, Results* ioResults) {
  RawEchoServer server;
  std::vector<double> warmUp, trips;
  double micros = 0;
  std::string message(size_t(kMessageSize), 'x');
  if (server.Start() != 0 ||
      !MeasureRawRoundTrips(server.Port(), kWarmUps, message, kMessageSize, &warmUp) ||
      !MeasureRawRoundTrips(server.Port(), inCounts.mRoundTrips, message, kMessageSize, &trips) ||
      !MeasureRawPipelined(server.Port(), inCounts.mPipelined, message, kMessageSize, &micros)) {
    std::fprintf(stderr, "corvexa-bench: the raw echo failed\n");
    return false;
  }
  ioResults->mRawTrip = Summarize(&trips);
  ioResults->mRawPerSec = inCounts.mPipelined * 1e6 / micros;
  return true;
}

// The simulator answers each command with an empty reply: a bare header.
bool MeasurePlain(const BenchCounts& inCounts, long inPort, Results* ioResults) {
  std::string request = RequestWire(BenchScript());
  std::vector<double> warmUp, trips;
  double micros = 0;
  int port = int(inPort);
  if (!MeasureRawRoundTrips(port, kWarmUps, request, kKSPacketWireHeaderSize, &warmUp) ||
      !MeasureRawRoundTrips(port, inCounts.mRoundTrips, request, kKSPacketWireHeaderSize, &trips) ||
      !MeasureRawPipelined(port, inCounts.mPipelined, request, kKSPacketWireHeaderSize, &micros)) {
    std::fprintf(stderr, "corvexa-bench: the plain-socket requests failed\n");
    return false;
  }
  ioResults->mPlainTrip = Summarize(&trips);
  ioResults->mPlainPerSec = inCounts.mPipelined * 1e6 / micros;
  return true;
}

bool MeasureLink(const BenchCounts& inCounts, long inPort, Results* ioResults) {
  LinkBench link;
  std::string script = BenchScript();
  std::vector<double> warmUp, trips;
  double micros = 0;
  if (link.Open(inPort) != 0 || !link.MeasureRoundTrips(script.c_str(), kWarmUps, &warmUp) ||
      !link.MeasureRoundTrips(script.c_str(), inCounts.mRoundTrips, &trips) ||
      !link.MeasurePipelined(script.c_str(), inCounts.mPipelined, &micros)) {
    std::fprintf(stderr, "corvexa-bench: the engine link failed\n");
    return false;
  }
  ioResults->mLinkTrip = Summarize(&trips);
  ioResults->mLinkPerSec = inCounts.mPipelined * 1e6 / micros;
  return true;
}

void PrintTrip(const char* inWhat, const BenchSummary& inTrip) {
  std::printf("  %-34s median %8.1f   p99 %8.1f\n", inWhat, inTrip.mMedian, inTrip.mP99);
}

void Report(const BenchCounts& inCounts, const Results& inResults) {
  const Results& r = inResults;
  double medianRatio = r.mLinkTrip.mMedian / r.mRawTrip.mMedian;
  double p99Ratio = r.mLinkTrip.mP99 / r.mRawTrip.mP99;
  double rateRatio = r.mLinkPerSec / r.mRawPerSec;
  std::printf("Round trip, %d-byte scripts, %d requests (microseconds):\n", kMessageSize,
              inCounts.mRoundTrips);
  PrintTrip("raw TCP echo", r.mRawTrip);
  PrintTrip("simulator, plain socket", r.mPlainTrip);
  PrintTrip("simulator, engine link", r.mLinkTrip);
  std::printf("  link / raw echo: median %.2fx, p99 %.2fx (target: at most 1.5x: %s)\n",
              medianRatio, p99Ratio, medianRatio <= 1.5 ? "met" : "missed");
  std::printf("  link / plain socket: median %.2fx, p99 %.2fx\n",
              r.mLinkTrip.mMedian / r.mPlainTrip.mMedian, r.mLinkTrip.mP99 / r.mPlainTrip.mP99);
  std::printf("Pipelined throughput, %d requests (requests per second):\n", inCounts.mPipelined);
  std::printf("  %-34s %10.0f\n", "raw TCP echo", r.mRawPerSec);
  std::printf("  %-34s %10.0f\n", "simulator, plain socket", r.mPlainPerSec);
  std::printf("  %-34s %10.0f\n", "simulator, engine link", r.mLinkPerSec);
  std::printf("  link / raw echo: %.2f (target: at least 0.5: %s)\n", rateRatio,
              rateRatio >= 0.5 ? "met" : "missed");
  std::printf("  link / plain socket: %.2f\n", r.mLinkPerSec / r.mPlainPerSec);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  BenchCounts counts;
  if (!ReadCounts(argc, argv, &counts)) {
    std::fprintf(stderr, "Usage: corvexa-bench [--round-trips N] [--pipelined N]\n");
    return 2;
  }
  KSNet::Startup();
  Results results = {};
  ChildProcess sim;
  long port = 0;
  bool ok = MeasureRaw(counts, &results) && StartSimulator(&sim, &port) &&
            MeasurePlain(counts, port, &results) && MeasureLink(counts, port, &results);
  StopSimulator(&sim);
  if (ok) {
    Report(counts, results);
  }
  KSNet::Shutdown();
  return ok ? 0 : 1;
}
