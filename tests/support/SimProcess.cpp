#include "support/SimProcess.h"

#include <cstdlib>

bool SimProcess::Start(const std::vector<std::string>& inArgs) {
  if (!mChild.Start(KS_ENGINE_SIM_PATH, inArgs) ||
      !mChild.WaitForLine("listening on ", 20000, &mFirstLine)) {
    return false;
  }
  size_t colon = mFirstLine.rfind(':');
  mPort = colon == std::string::npos ? 0 : std::atoi(mFirstLine.c_str() + colon + 1);
  return mFirstLine.compare(0, 13, "listening on ") == 0 && mPort > 0;
}

bool SimProcess::EndInput(unsigned long* outExitCode, unsigned long inTimeoutMS) {
  mChild.CloseInput();
  return mChild.Wait(inTimeoutMS, outExitCode);
}
