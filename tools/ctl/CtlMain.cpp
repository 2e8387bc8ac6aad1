// corvexa-ctl: headless command-line control of a Corvexa engine.
#include <windows.h>

#include <vector>

#include "ctl/CtlCommands.h"
#include "ctl/CtlConsole.h"
#include "ctl/CtlUsage.h"
#include "foundation/KSUnicode.h"
#include "foundation/UtilStr.h"

namespace {

void ToUTF8(const wchar_t* inArg, UtilStr* outArg) {
  const uint16* wide = reinterpret_cast<const uint16*>(inArg);
  int bytes = KSEncodeAsUTF8(wide, -1, nullptr, 0, false);
  std::vector<uint8> utf8(size_t(bytes) + 1);
  KSEncodeAsUTF8(wide, -1, utf8.data(), bytes, false);
  outArg->Assign(reinterpret_cast<const char*>(utf8.data()), bytes);
}

int RunCommand(const CtlOptions& inOptions) {
  switch (inOptions.mCommand) {
    case kCtlHelp: {
      UtilStr help;
      AppendCtlHelp(&help);
      CtlWriteOut(help);
      return kCtlExitOK;
    }
    case kCtlList:
      return RunCtlList(inOptions);
    case kCtlSend:
      return RunCtlSend(inOptions);
    case kCtlDo:
      return RunCtlDo(inOptions);
    case kCtlScript:
      return RunCtlScript(inOptions);
    case kCtlGet:
      return RunCtlGet(inOptions);
    case kCtlWatch:
      return RunCtlWatch(inOptions);
    case kCtlNoCommand:
      break;
  }
  return kCtlExitUsage;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  CtlInitConsole();
  std::vector<UtilStr> args(argc > 1 ? size_t(argc - 1) : 0);
  std::vector<const char*> argPointers;
  for (size_t i = 0; i < args.size(); ++i) {
    ToUTF8(argv[i + 1], &args[i]);
    argPointers.push_back(args[i].getCStr());
  }
  CtlOptions options;
  UtilStr error;
  if (ParseCtlOptions(int(argPointers.size()), argPointers.data(), &options, &error) != 0) {
    return CtlUsageError(error);
  }
  return RunCommand(options);
}
