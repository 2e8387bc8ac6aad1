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
#include "net/KSMPWire.h"
#include "net/KSNet.h"
#include "net/KSPacketWire.h"
#include "net/ToolbarSession.h"
#include "support/ChildProcess.h"
#include "toolbar/UICommands.h"

namespace {

const int kMessageSize = 100;
const int kWarmUps = 200;
// The three ways of asking are measured in turns: the machine's load changes
// while the benchmark runs, and each way must see the same share of it.
const int kRounds = 10;

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
    if ((!roundTrips && !pipelined) || count < kRounds) {
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
  KSMPWire::BuildHeader(packet.mHeader, kKSMPKind_Request, kCommandFlags, 1, true, nullptr);
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

bool Failed(const char* inWhat) {
  std::fprintf(stderr, "corvexa-bench: %s failed\n", inWhat);
  return false;
}

struct Results {
  std::vector<double> mRawTrips;
  std::vector<double> mPlainTrips;  // the simulator from a plain socket
  std::vector<double> mLinkTrips;
  double mRawMicros = 0;  // pipelined, summed over the rounds
  double mPlainMicros = 0;
  double mLinkMicros = 0;
};

struct Peers {
  RawEchoServer mEcho;
  long mSimPort = 0;
  std::string mEchoMessage = std::string(size_t(kMessageSize), 'x');
  std::string mScript = BenchScript();
  std::string mRequest = RequestWire(mScript);  // the simulator answers with a bare header
  LinkBench mLink;
};

bool WarmUp(Peers* ioPeers) {
  std::vector<double> ignored;
  int simPort = int(ioPeers->mSimPort);
  return MeasureRawRoundTrips(ioPeers->mEcho.Port(), kWarmUps, ioPeers->mEchoMessage, kMessageSize,
                              &ignored) &&
         MeasureRawRoundTrips(simPort, kWarmUps, ioPeers->mRequest, kKSPacketWireHeaderSize,
                              &ignored) &&
         ioPeers->mLink.MeasureRoundTrips(ioPeers->mScript.c_str(), kWarmUps, &ignored);
}

bool MeasureRoundTripTurn(Peers* ioPeers, int inCount, Results* ioResults) {
  int simPort = int(ioPeers->mSimPort);
  if (!MeasureRawRoundTrips(ioPeers->mEcho.Port(), inCount, ioPeers->mEchoMessage, kMessageSize,
                            &ioResults->mRawTrips)) {
    return Failed("the raw echo");
  }
  if (!MeasureRawRoundTrips(simPort, inCount, ioPeers->mRequest, kKSPacketWireHeaderSize,
                            &ioResults->mPlainTrips)) {
    return Failed("the plain-socket requests");
  }
  if (!ioPeers->mLink.MeasureRoundTrips(ioPeers->mScript.c_str(), inCount,
                                        &ioResults->mLinkTrips)) {
    return Failed("the engine link");
  }
  return true;
}

bool MeasurePipelinedTurn(Peers* ioPeers, int inCount, Results* ioResults) {
  double raw = 0, plain = 0, link = 0;
  int simPort = int(ioPeers->mSimPort);
  if (!MeasureRawPipelined(ioPeers->mEcho.Port(), inCount, ioPeers->mEchoMessage, kMessageSize,
                           &raw)) {
    return Failed("the raw echo");
  }
  if (!MeasureRawPipelined(simPort, inCount, ioPeers->mRequest, kKSPacketWireHeaderSize, &plain)) {
    return Failed("the plain-socket requests");
  }
  if (!ioPeers->mLink.MeasurePipelined(ioPeers->mScript.c_str(), inCount, &link)) {
    return Failed("the engine link");
  }
  ioResults->mRawMicros += raw;
  ioResults->mPlainMicros += plain;
  ioResults->mLinkMicros += link;
  return true;
}

bool Measure(const BenchCounts& inCounts, Peers* ioPeers, Results* ioResults) {
  if (ioPeers->mEcho.Start() != 0) {
    return Failed("starting the raw echo server");
  }
  if (ioPeers->mLink.Open(ioPeers->mSimPort) != 0 || !WarmUp(ioPeers)) {
    return Failed("the warm-up");
  }
  for (int round = 0; round < kRounds; ++round) {
    int trips = inCounts.mRoundTrips / kRounds + (round < inCounts.mRoundTrips % kRounds);
    int pipelined = inCounts.mPipelined / kRounds + (round < inCounts.mPipelined % kRounds);
    if (!MeasureRoundTripTurn(ioPeers, trips, ioResults) ||
        !MeasurePipelinedTurn(ioPeers, pipelined, ioResults)) {
      return false;
    }
  }
  return true;
}

void PrintTrip(const char* inWhat, const BenchSummary& inTrip) {
  std::printf("  %-34s median %8.1f   p99 %8.1f\n", inWhat, inTrip.mMedian, inTrip.mP99);
}

void Report(const BenchCounts& inCounts, Results* ioResults) {
  BenchSummary raw = Summarize(&ioResults->mRawTrips);
  BenchSummary plain = Summarize(&ioResults->mPlainTrips);
  BenchSummary link = Summarize(&ioResults->mLinkTrips);
  double rawPerSec = inCounts.mPipelined * 1e6 / ioResults->mRawMicros;
  double plainPerSec = inCounts.mPipelined * 1e6 / ioResults->mPlainMicros;
  double linkPerSec = inCounts.mPipelined * 1e6 / ioResults->mLinkMicros;
  double medianRatio = link.mMedian / raw.mMedian;
  double rateRatio = linkPerSec / rawPerSec;
  std::printf("Round trip, %d-byte scripts, %d requests, in %d turns (microseconds):\n",
              kMessageSize, inCounts.mRoundTrips, kRounds);
  PrintTrip("raw TCP echo", raw);
  PrintTrip("simulator, plain socket", plain);
  PrintTrip("simulator, engine link", link);
  std::printf("  link / raw echo: median %.2fx, p99 %.2fx (target: at most 1.5x: %s)\n",
              medianRatio, link.mP99 / raw.mP99, medianRatio <= 1.5 ? "met" : "missed");
  std::printf("  link / plain socket: median %.2fx, p99 %.2fx\n", link.mMedian / plain.mMedian,
              link.mP99 / plain.mP99);
  std::printf("Pipelined throughput, %d requests, in %d turns (requests per second):\n",
              inCounts.mPipelined, kRounds);
  std::printf("  %-34s %10.0f\n", "raw TCP echo", rawPerSec);
  std::printf("  %-34s %10.0f\n", "simulator, plain socket", plainPerSec);
  std::printf("  %-34s %10.0f\n", "simulator, engine link", linkPerSec);
  std::printf("  link / raw echo: %.2f (target: at least 0.5: %s)\n", rateRatio,
              rateRatio >= 0.5 ? "met" : "missed");
  std::printf("  link / plain socket: %.2f\n", linkPerSec / plainPerSec);
  char result[100];
  std::snprintf(result, sizeof(result), "%.2fx (%.0f us / %.0f us)", medianRatio, link.mMedian,
                raw.mMedian);
  PrintSummaryRow("engine link round trip / raw TCP echo (median)", result, "at most 1.5x",
                  medianRatio <= 1.5);
  std::snprintf(result, sizeof(result), "%.2f (%.0f / %.0f per second)", rateRatio, linkPerSec,
                rawPerSec);
  PrintSummaryRow("engine link pipelined throughput / raw TCP echo", result, "at least 0.5",
                  rateRatio >= 0.5);
}

}  // namespace

int main(int argc, char** argv) {
  BenchCounts counts;
  if (!ReadCounts(argc, argv, &counts)) {
    std::fprintf(stderr,
                 "Usage: corvexa-bench [--round-trips N] [--pipelined N]  (N at least %d)\n",
                 kRounds);
    return 2;
  }
  KSNet::Startup();
  ChildProcess sim;
  bool ok = false;
  {
    Peers peers;
    Results results;
    ok = StartSimulator(&sim, &peers.mSimPort) && Measure(counts, &peers, &results);
    if (ok) {
      Report(counts, &results);
    }
  }  // the link closes before the simulator stops
  StopSimulator(&sim);
  KSNet::Shutdown();
  return ok ? 0 : 1;
}
