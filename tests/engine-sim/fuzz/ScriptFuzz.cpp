// Feeds arbitrary bytes to the engine simulator as the script of a client's
// request, as any program on the network may send one: the same text runs
// twice with an hour of the simulated clock between the two runs, so that
// whatever the first run switched on (slide shows, launched items) is driven
// by the clock and then met by the second. A text must end in a reply or in
// its refusal, never in a crash, a read past its end or a clock that never
// catches up.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "engine-sim/EngineContent.h"
#include "engine-sim/EngineSimulator.h"
#include "foundation/KSError.h"

namespace {

// The built-in content cut down to a few names of each kind: enough for
// every list operation, and an engine made for each input costs far less.
const EngineContent& SmallContent() {
  static EngineContent* sContent = [] {
    EngineContent* content = new EngineContent;
    EngineContent::GetBuiltIn(content);
    for (EngineNames& names : content->mItems) {
      names.resize(std::min<size_t>(names.size(), 4));
    }
    content->mDisplays.resize(std::min<size_t>(content->mDisplays.size(), 2));
    for (EngineDisplayDevice& display : content->mDisplays) {
      display.mModes.resize(std::min<size_t>(display.mModes.size(), 3));
    }
    content->mAudioSources.resize(std::min<size_t>(content->mAudioSources.size(), 2));
    content->mFonts.resize(std::min<size_t>(content->mFonts.size(), 3));
    return content;
  }();
  return *sContent;
}

void RunOnce(EngineSimulator* inEngine, const std::vector<char>& inScript, int64 inNowMS) {
  UtilStr reply;
  XStrList notes;
  long err = inEngine->RunScript(inScript.data(), long(inScript.size()), inNowMS, &reply, &notes);
  // A text that does not parse runs not at all, so it prints nothing.
  if (err != 0 && (err != kKSErr_FormatNotRecognized || !reply.IsEmpty())) {
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* inData, size_t inSize) {
  // A copy of exactly the input's size, so that a read past the end shows.
  std::vector<char> script(inData, inData + inSize);
  EngineSimulator engine(SmallContent());
  engine.SetRandomSeed(1);
  RunOnce(&engine, script, 1000);
  RunOnce(&engine, script, 1000 + 3600 * 1000);
  return 0;
}
