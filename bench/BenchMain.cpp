// corvexa-bench: how the engine link compares with a plain TCP echo over the
// same loopback, in one run. Round trips (one request, wait for its reply)
// and pipelined throughput (many requests back to back), with 100-byte
// scripts. The link talks to corvexa-engine-sim, which runs every script.
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
#include "net/KSNet.h"
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
  BenchSummary mLinkTrip;
  double mRawPerSec;
  double mLinkPerSec;
};

bool MeasureRaw(const BenchCounts& inCounts, Results* ioResults) {
  RawEchoServer server;
  std::vector<double> warmUp, trips;
  double micros = 0;
  if (server.Start() != 0 ||
      !MeasureRawRoundTrips(server.Port(), kWarmUps, kMessageSize, &warmUp) ||
      !MeasureRawRoundTrips(server.Port(), inCounts.mRoundTrips, kMessageSize, &trips) ||
      !MeasureRawPipelined(server.Port(), inCounts.mPipelined, kMessageSize, &micros)) {
    std::fprintf(stderr, "corvexa-bench: the raw echo failed\n");
    return false;
  }
  ioResults->mRawTrip = Summarize(&trips);
  ioResults->mRawPerSec = inCounts.mPipelined * 1e6 / micros;
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

void ReportRaw(const BenchCounts& inCounts, const Results& inResults) {
  std::printf("Round trip, %d-byte messages, %d requests (microseconds):\n", kMessageSize,
              inCounts.mRoundTrips);
  std::printf("  raw TCP echo   median %9.1f   p99 %9.1f\n", inResults.mRawTrip.mMedian,
              inResults.mRawTrip.mP99);
  std::printf("Pipelined throughput, %d requests (requests per second):\n", inCounts.mPipelined);
  std::printf("  raw TCP echo   %10.0f\n", inResults.mRawPerSec);
  std::fflush(stdout);
}

void ReportLink(const Results& inResults) {
  const Results& r = inResults;
  double medianRatio = r.mLinkTrip.mMedian / r.mRawTrip.mMedian;
  double p99Ratio = r.mLinkTrip.mP99 / r.mRawTrip.mP99;
  double rateRatio = r.mLinkPerSec / r.mRawPerSec;
  std::printf("Round trip, engine link (microseconds):\n");
  std::printf("  engine link    median %9.1f   p99 %9.1f\n", r.mLinkTrip.mMedian, r.mLinkTrip.mP99);
  std::printf("  link / raw     median %8.2fx   p99 %8.2fx   (target: median at most 1.5x: %s)\n",
              medianRatio, p99Ratio, medianRatio <= 1.5 ? "met" : "missed");
  std::printf("Pipelined throughput, engine link (requests per second):\n");
  std::printf("  engine link    %10.0f\n", r.mLinkPerSec);
  std::printf("  link / raw     %10.2f   (target: at least 0.5: %s)\n", rateRatio,
              rateRatio >= 0.5 ? "met" : "missed");
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
  bool ok = MeasureRaw(counts, &results);
  if (ok) {
    ReportRaw(counts, results);
    ok = StartSimulator(&sim, &port) && MeasureLink(counts, port, &results);
    StopSimulator(&sim);
  }
  if (ok) {
    ReportLink(results);
  }
  KSNet::Shutdown();
  return ok ? 0 : 1;
}
