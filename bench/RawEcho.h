// The yardsticks: a plain TCP echo over loopback, measured the same way as the
// engine link, and a plain-socket client for any server that answers each
// message with a reply of known size. The echo server runs on a thread of
// this process; the client uses ordinary blocking socket calls.
#pragma once

#include <string>
#include <thread>
#include <vector>

#include "net/KSSocket.h"

class RawEchoServer {
 public:
  RawEchoServer();
  ~RawEchoServer();

  // Listens on 127.0.0.1 at a free port and serves one connection at a time
  // until destroyed. 0 or a Winsock error.
  int Start();
  int Port() const { return mPort; }

 private:
  // Accepts on inListener until it is closed.
  void Serve(SOCKET inListener);

  KSSocket mListener;
  int mPort;
  std::thread mThread;
};

// Round trips: sends inMessage inCount times, each after the inReplySize bytes
// answering the one before have arrived; the time of each, in microseconds,
// is appended to outMicros. False on a socket failure.
bool MeasureRawRoundTrips(int inPort, int inCount, const std::string& inMessage, int inReplySize,
                          std::vector<double>* outMicros);

// Throughput: sends inMessage inCount times back to back while a second
// thread reads the answers; the time from the first send to the last byte.
bool MeasureRawPipelined(int inPort, int inCount, const std::string& inMessage, int inReplySize,
                         double* outMicros);
