// A stand-in engine process for the registry tests: publishes one service in
// the same-machine registry and withdraws it when told to.
//   zc_test_publisher TYPE NAME PORT STOP_EVENT
// STOP_EVENT names an event that the test sets to make it withdraw and exit.
// Exits with 0 after a clean withdrawal, 2 when publishing failed, 3 when it
// was never told to stop.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "foundation/KSHandle.h"
#include "net/KSZeroconf.h"

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: zc_test_publisher TYPE NAME PORT STOP_EVENT\n");
    return 1;
  }
  KSHandle stop(OpenEventA(SYNCHRONIZE, FALSE, argv[4]));
  KSZeroconf registry;
  registry.SetServiceType(argv[1]);
  registry.SetServiceName(argv[2]);
  registry.SetServicePort(std::strtoul(argv[3], nullptr, 10));
  if (!stop || registry.SetStatus(true) != 0) {
    return 2;
  }
  bool told = WaitForSingleObject(stop.Get(), 60000) == WAIT_OBJECT_0;
  registry.SetStatus(false);
  return told ? 0 : 3;
}
