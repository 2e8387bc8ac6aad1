// "get": the engine's lists and current values.
#include "ctl/CtlCommands.h"
#include "ctl/CtlConsole.h"
#include "ctl/CtlLink.h"
#include "ctl/CtlReply.h"
#include "ctl/CtlReport.h"
#include "foundation/XStrList.h"
#include "toolbar/UICommands.h"

namespace {

bool ListsNothing(const UtilStr& inReply) {
  XStrList names;
  ReadListReply(inReply.getCStr(), inReply.length(), &names);
  return names.Count() == 0;
}

int AskQuery(const CtlOptions& inOptions, CtlLink* ioLink, const CtlGetQuery& inQuery,
             CtlReport* ioReport) {
  char script[kCommandBufferSize];
  UtilStr reply;
  // Display devices are asked for until one lists no modes, but no further.
  long devices = inQuery.mByDevice ? kMaxDisplayDevices : 1;
  for (long device = 0; device < devices; ++device) {
    int exitCode = CtlQueryOrFail(inOptions, ioLink, inQuery.mBuild(device, script), -1, &reply);
    if (exitCode != 0) {
      return exitCode;
    }
    ioReport->AddReply(inQuery, reply.getCStr(), reply.length());
    if (ListsNothing(reply)) {
      break;
    }
  }
  return 0;
}

}  // namespace

int RunCtlGet(const CtlOptions& inOptions) {
  CtlLink link;
  int exitCode = CtlChooseEngine(inOptions, &link);
  if (exitCode != 0) {
    return exitCode;
  }
  CtlReport report;
  report.AddText("instance", "Instance", link.GetCurServiceName());
  for (const CtlGetQuery* query = CtlGetQueries(); query->mKey != nullptr; ++query) {
    exitCode = AskQuery(inOptions, &link, *query, &report);
    if (exitCode != 0) {
      return exitCode;
    }
  }
  UtilStr text;
  if (inOptions.mJson) {
    report.WriteJson(&text);
    text.AppendChar('\n');
  } else {
    report.WriteText(&text);
  }
  CtlWriteOut(text);
  return kCtlExitOK;
}
