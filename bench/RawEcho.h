// The yardstick: a plain TCP echo over loopback, measured the same way as the
// engine link. The server echoes on a thread of this process; the client
// sends messages of a given size with ordinary blocking socket calls.
#pragma once

#include <thread>
#include <vector>

class RawEchoServer {
 public:
  RawEchoServer();
  ~RawEchoServer();

  // Listens on 127.0.0.1 at a free port and serves one connection at a time
  // until destroyed. 0 or a Winsock error.
  int Start();
  int Port() const { return mPort; }

 private:
  void Serve();

  uintptr_t mListener;
  int mPort;
  std::thread mThread;
};

// Round trips: sends inCount messages of inSize bytes one at a time, each
// after the echo of the one before; the time of each, in microseconds, is
// appended to outMicros. False on a socket failure.
bool MeasureRawRoundTrips(int inPort, int inCount, int inSize, std::vector<double>* outMicros);

// Throughput: sends inCount messages back to back while a second thread reads
// the echoes; the time from the first send to the last echoed byte.
bool MeasureRawPipelined(int inPort, int inCount, int inSize, double* outMicros);
