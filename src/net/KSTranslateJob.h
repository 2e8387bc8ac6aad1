// One address translation, run on a thread of its own because name look-ups
// block.
#pragma once

#include "net/KSJob.h"
#include "net/KSNet.h"

class KSTranslateJob : public KSJob {
 public:
  KSTranslateJob(const KSNetAddr& inAddr, KSNetAddrType inDestType, KSNetAddr* outAddr);

 protected:
  void Execute() override;

 private:
  long Translate();
  // Looks inName up as an IPv6 address into the caller's output.
  long ResolveToIP6(const char* inName);

  KSNetAddr mAddress;
  KSNetAddrType mDestType;
  KSNetAddr* mOutAddress;  // the caller's, which waits for the result
};
