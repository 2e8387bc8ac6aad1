#include "engine-sim/SimOptions.h"

#include <cstdlib>
#include <cstring>

#include "foundation/KSError.h"

SimOptions::SimOptions()
    : mBindAddr("127.0.0.1"),
      mPort(0),
      mName("Corvexa Engine Simulator"),
      mPublish(true),
      mWatchInput(true),
      mSeeded(false),
      mSeed(0),
      mStallLimitMS(30000),
      mRefuse(false),
      mNoReply(false),
      mReplyDelayMS(0),
      mCloseAfterMS(0),
      mCutReply(0),
      mOversize(false),
      mBadSystemMsg(false),
      mFloodPerSec(0),
      mFaultyConnections(0),
      mHelp(false) {}

SimOptions SimOptions::WithoutMisbehaviour() const {
  SimOptions options = *this;
  options.mRefuse = false;
  options.mNoReply = false;
  options.mReplyDelayMS = 0;
  options.mCloseAfterMS = 0;
  options.mCutReply = 0;
  options.mOversize = false;
  options.mBadSystemMsg = false;
  return options;
}

namespace {

// A whole number in inMin..inMax, or false.
bool ReadLong(const char* inText, long inMin, long inMax, long* outValue) {
  char* end = nullptr;
  long long value = std::strtoll(inText, &end, 10);
  if (end == inText || *end != '\0' || value < inMin || value > inMax) {
    return false;
  }
  *outValue = long(value);
  return true;
}

bool ReadDouble(const char* inText, double inMin, double inMax, double* outValue) {
  char* end = nullptr;
  double value = std::strtod(inText, &end);
  if (end == inText || *end != '\0' || !(value >= inMin && value <= inMax)) {
    return false;
  }
  *outValue = value;
  return true;
}

// The options that take a value.
const char* const kValueOptions[] = {
    "--bind",      "--port",  "--name",        "--content",     "--say",
    "--log",       "--seed",  "--stall-limit", "--reply-delay", "--close-after",
    "--cut-reply", "--flood", "--faulty"};

bool TakesValue(const char* inOption) {
  for (const char* option : kValueOptions) {
    if (!std::strcmp(option, inOption)) {
      return true;
    }
  }
  return false;
}

bool IsIPv4(const char* inText) {
  int parts = 0;
  const char* pos = inText;
  while (parts < 4) {
    char* end = nullptr;
    long part = std::strtol(pos, &end, 10);
    if (end == pos || part < 0 || part > 255 || (end - pos) > 3) {
      return false;
    }
    parts++;
    if (*end == '\0') {
      return parts == 4;
    }
    if (*end != '.') {
      return false;
    }
    pos = end + 1;
  }
  return false;
}

}  // namespace

long ParseSimOptions(int inArgc, const char* const* inArgv, SimOptions* outOptions,
                     UtilStr* outError) {
  SimOptions& options = *outOptions;
  for (int i = 0; i < inArgc; i++) {
    const char* arg = inArgv[i];
    const char* value = i + 1 < inArgc ? inArgv[i + 1] : nullptr;
    bool takesValue = true;
    bool valid = true;
    double seconds = 0;
    long number = 0;
    if (!std::strcmp(arg, "--help") || !std::strcmp(arg, "-h")) {
      options.mHelp = true;
      takesValue = false;
    } else if (!std::strcmp(arg, "--no-publish")) {
      options.mPublish = false;
      takesValue = false;
    } else if (!std::strcmp(arg, "--no-stdin")) {
      options.mWatchInput = false;
      takesValue = false;
    } else if (!std::strcmp(arg, "--refuse")) {
      options.mRefuse = true;
      takesValue = false;
    } else if (!std::strcmp(arg, "--no-reply")) {
      options.mNoReply = true;
      takesValue = false;
    } else if (!std::strcmp(arg, "--oversize")) {
      options.mOversize = true;
      takesValue = false;
    } else if (!std::strcmp(arg, "--bad-sysmsg")) {
      options.mBadSystemMsg = true;
      takesValue = false;
    } else if (!TakesValue(arg)) {
      outError->Clear();
      outError->AppendVA("unknown option %s", arg);
      return kKSErr_Param;
    } else if (!value) {
      valid = false;
    } else if (!std::strcmp(arg, "--bind")) {
      valid = IsIPv4(value);
      options.mBindAddr = value;
    } else if (!std::strcmp(arg, "--port")) {
      valid = ReadLong(value, 0, 65535, &options.mPort);
    } else if (!std::strcmp(arg, "--name")) {
      valid = *value != '\0' && std::strlen(value) < 256;
      options.mName = value;
    } else if (!std::strcmp(arg, "--content")) {
      options.mContentDir = value;
    } else if (!std::strcmp(arg, "--say")) {
      options.mSay = value;
    } else if (!std::strcmp(arg, "--log")) {
      options.mLogFile = value;
    } else if (!std::strcmp(arg, "--seed")) {
      valid = ReadLong(value, 0, 2147483647, &number);
      options.mSeeded = true;
      options.mSeed = uint32(number);
    } else if (!std::strcmp(arg, "--stall-limit")) {
      valid = ReadDouble(value, 0.001, 86400, &seconds);
      options.mStallLimitMS = long(seconds * 1000 + 0.5);
    } else if (!std::strcmp(arg, "--reply-delay")) {
      valid = ReadLong(value, 0, 600000, &options.mReplyDelayMS);
    } else if (!std::strcmp(arg, "--close-after")) {
      valid = ReadDouble(value, 0.001, 86400, &seconds);
      options.mCloseAfterMS = long(seconds * 1000 + 0.5);
    } else if (!std::strcmp(arg, "--cut-reply")) {
      valid = ReadLong(value, 1, 2147483647, &options.mCutReply);
    } else if (!std::strcmp(arg, "--faulty")) {
      valid = ReadLong(value, 1, 2147483647, &options.mFaultyConnections);
    } else {  // --flood
      valid = ReadDouble(value, 0.001, 10000, &options.mFloodPerSec);
    }
    if (!valid) {
      outError->Clear();
      if (value && takesValue) {
        outError->AppendVA("bad value \"%s\" for %s", value, arg);
      } else {
        outError->AppendVA("%s needs a value", arg);
      }
      return kKSErr_Param;
    }
    if (takesValue) {
      i++;
    }
  }
  return 0;
}

const char* SimUsage() {
  return "usage: corvexa-engine-sim [options]\n"
         "\n"
         "A stand-in Corvexa engine: it listens for KSMP sessions, runs the script\n"
         "texts clients send against a simulated engine and tells every client when\n"
         "the engine's state changes. Lines typed on the standard input run as\n"
         "scripts too; the end of the input ends the program (see --no-stdin).\n"
         "\n"
         "  --bind ADDR         IPv4 address to listen on (default 127.0.0.1)\n"
         "  --port N            TCP port; 0 picks a free one (default 0)\n"
         "  --name NAME         instance name in the same-machine registry\n"
         "                      (default \"Corvexa Engine Simulator\")\n"
         "  --no-publish        do not publish the instance in the registry\n"
         "  --content DIR       read item names from DIR: waveshapes.txt, colormaps.txt,\n"
         "                      flowfields.txt, particles.txt, sprites.txt (one name a\n"
         "                      line); a missing file keeps the built-in list\n"
         "  --say TEXT          send TEXT as a message for the user (100) to every\n"
         "                      client as it connects\n"
         "  --log FILE          write every received script, with a time stamp, to FILE\n"
         "  --seed N            make slide shows and random picks repeatable\n"
         "  --no-stdin          do not read the standard input\n"
         "  --stall-limit SECS  close a connection whose client has sent part of a\n"
         "                      packet and then nothing for SECS seconds (default 30)\n"
         "\n"
         "Misbehaviour, for testing clients:\n"
         "  --refuse            close every connection as soon as it is accepted\n"
         "  --no-reply          run requests but never answer them\n"
         "  --reply-delay MS    answer each request MS milliseconds late\n"
         "  --close-after SECS  close every connection SECS seconds after it opened\n"
         "  --cut-reply N       send only the first half of the N-th reply of each\n"
         "                      connection, then close it\n"
         "  --oversize          answer the first request of each connection with a\n"
         "                      packet that announces more data than any client accepts\n"
         "  --bad-sysmsg        greet each connection with a malformed system message\n"
         "  --flood RATE        send RATE notifications a second to every client (one\n"
         "                      that takes fewer gets fewer: no backlog builds up)\n"
         "  --faulty N          only the first N connections misbehave as the options\n"
         "                      above say (the flood aside); later ones behave\n";
}
