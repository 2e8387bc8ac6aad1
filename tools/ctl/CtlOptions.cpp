#include "ctl/CtlOptions.h"

#include <cstdlib>
#include <cstring>

#include "foundation/KSError.h"

namespace {

struct CommandWord {
  const char* mWord;
  CtlCommand mCommand;
  int mMinArgs;
  int mMaxArgs;
  const char* mArgsText;  // shown when the arguments do not fit
};

const CommandWord kCommands[] = {
    {"list", kCtlList, 0, 0, "list takes no arguments"},
    {"send", kCtlSend, 1, 1, "send needs one script text (quote it)"},
    {"do", kCtlDo, 1, 2, "do needs a FUNCTION and at most one VALUE"},
    {"script", kCtlScript, 1, 2, "script needs a FUNCTION and at most one VALUE"},
    {"get", kCtlGet, 0, 0, "get takes no arguments"},
    {"watch", kCtlWatch, 0, 0, "watch takes no arguments"},
};

const CommandWord* FindCommand(const char* inWord) {
  for (const CommandWord& command : kCommands) {
    if (std::strcmp(command.mWord, inWord) == 0) {
      return &command;
    }
  }
  return nullptr;
}

// "HOST:PORT"; the port is the text after the last colon, from 1 to 65535. An
// IPv6 address may stand in brackets, as "list" shows it.
bool ReadHostAndPort(const char* inText, UtilStr* outHost, long* outPort) {
  const char* colon = std::strrchr(inText, ':');
  if (colon == nullptr || colon == inText || colon[1] == 0) {
    return false;
  }
  long port = 0;
  for (const char* c = colon + 1; *c != 0; ++c) {
    if (*c < '0' || *c > '9' || port > 65535) {
      return false;
    }
    port = port * 10 + (*c - '0');
  }
  if (port < 1 || port > 65535) {
    return false;
  }
  long hostLength = long(colon - inText);
  if (inText[0] == '[' && hostLength > 2 && colon[-1] == ']') {
    outHost->Assign(inText + 1, hostLength - 2);
  } else {
    outHost->Assign(inText, hostLength);
  }
  *outPort = port;
  return true;
}

bool ReadSeconds(const char* inText, double* outSeconds) {
  char* end = nullptr;
  double seconds = std::strtod(inText, &end);
  if (end == inText || *end != 0 || !(seconds > 0) || seconds > 86400 * 365) {
    return false;
  }
  *outSeconds = seconds;
  return true;
}

long Fail(UtilStr* outError, const char* inFormat, const char* inArg) {
  outError->AppendVA(inFormat, inArg);
  return kKSErr_Param;
}

bool IsHelp(const char* inArg) {
  return std::strcmp(inArg, "--help") == 0 || std::strcmp(inArg, "-h") == 0;
}

// A request for help wins over anything else on the line, mistakes included.
bool AsksForHelp(int inCount, const char* const* inArgs) {
  for (int i = 0; i < inCount && std::strcmp(inArgs[i], "--") != 0; ++i) {
    if (IsHelp(inArgs[i])) {
      return true;
    }
  }
  return false;
}

// Applies the option inArgs[*ioIndex], taking its argument when it has one.
long ReadOption(int inCount, const char* const* inArgs, int* ioIndex, CtlOptions* ioOptions,
                UtilStr* outError) {
  const char* option = inArgs[*ioIndex];
  if (IsHelp(option)) {
    return 0;
  }
  if (std::strcmp(option, "--json") == 0) {
    ioOptions->mJson = true;
    return 0;
  }
  bool isInstance = std::strcmp(option, "--instance") == 0;
  bool isConnect = std::strcmp(option, "--connect") == 0;
  bool isFor = std::strcmp(option, "--for") == 0;
  if (!isInstance && !isConnect && !isFor) {
    return Fail(outError, "unknown option \"%s\"", option);
  }
  if (*ioIndex + 1 >= inCount) {
    return Fail(outError, "%s needs an argument", option);
  }
  const char* argument = inArgs[++*ioIndex];
  if (isInstance) {
    if (*argument == 0) {
      return Fail(outError, "%s needs a non-empty name", option);
    }
    ioOptions->mInstance = argument;
  } else if (isConnect) {
    if (!ReadHostAndPort(argument, &ioOptions->mHost, &ioOptions->mPort)) {
      return Fail(outError, "--connect needs HOST:PORT with a port from 1 to 65535, not \"%s\"",
                  argument);
    }
  } else if (!ReadSeconds(argument, &ioOptions->mForSeconds)) {
    return Fail(outError, "--for needs a number of seconds above 0, not \"%s\"", argument);
  }
  return 0;
}

// Every option goes with every command, which ignores those that do not
// concern it; only two ways of choosing the engine exclude each other.
long CheckCombination(const CtlOptions& inOptions, UtilStr* outError) {
  if (!inOptions.mInstance.IsEmpty() && inOptions.mPort != 0) {
    return Fail(outError, "%s", "--instance and --connect cannot be used together");
  }
  return 0;
}

}  // namespace

CtlOptions::CtlOptions()
    : mCommand(kCtlNoCommand), mHasValue(false), mPort(0), mJson(false), mForSeconds(0) {}

long ParseCtlOptions(int inCount, const char* const* inArgs, CtlOptions* outOptions,
                     UtilStr* outError) {
  *outOptions = CtlOptions();
  if (AsksForHelp(inCount, inArgs)) {
    outOptions->mCommand = kCtlHelp;
    return 0;
  }
  const CommandWord* command = nullptr;
  const char* args[2] = {nullptr, nullptr};
  int numArgs = 0;
  bool optionsEnded = false;
  for (int i = 0; i < inCount; ++i) {
    const char* arg = inArgs[i];
    if (!optionsEnded && std::strcmp(arg, "--") == 0) {
      optionsEnded = true;
    } else if (!optionsEnded && arg[0] == '-' && arg[1] != 0 && (arg[1] < '0' || arg[1] > '9')) {
      long err = ReadOption(inCount, inArgs, &i, outOptions, outError);
      if (err != 0) {
        return err;
      }
    } else if (command == nullptr) {
      command = FindCommand(arg);
      if (command == nullptr) {
        return Fail(outError, "unknown command \"%s\"", arg);
      }
    } else if (numArgs == command->mMaxArgs) {
      return Fail(outError, "%s", command->mArgsText);
    } else {
      args[numArgs++] = arg;
    }
  }
  if (command == nullptr) {
    return Fail(outError, "%s", "no command given");
  }
  if (numArgs < command->mMinArgs) {
    return Fail(outError, "%s", command->mArgsText);
  }
  outOptions->mCommand = command->mCommand;
  if (numArgs > 0) {
    outOptions->mText = args[0];
  }
  if (numArgs > 1) {
    outOptions->mValue = args[1];
    outOptions->mHasValue = true;
  }
  return CheckCombination(*outOptions, outError);
}
