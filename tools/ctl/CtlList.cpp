// "list": the engine instances that discovery finds.
#include <cstring>
#include <vector>

#include "ctl/CtlCommands.h"
#include "ctl/CtlConsole.h"
#include "ctl/CtlJson.h"
#include "ctl/CtlLink.h"

namespace {

void WriteJson(const std::vector<CtlInstance>& inInstances, UtilStr* outText) {
  outText->AppendChar('[');
  for (size_t i = 0; i < inInstances.size(); ++i) {
    const CtlInstance& instance = inInstances[i];
    outText->Append(i == 0 ? "{\"name\":" : ",{\"name\":");
    AppendJsonString(outText, instance.mName.getCStr(), instance.mName.length());
    outText->Append(",\"domain\":");
    AppendJsonString(outText, instance.mDomain.getCStr(), instance.mDomain.length());
    outText->AppendVA(",\"resolved\":%s,\"address\":", instance.mResolved ? "true" : "false");
    if (instance.mResolved) {
      AppendJsonString(outText, instance.mAddress.getCStr(), instance.mAddress.length());
      outText->AppendVA(",\"port\":%lu}", instance.mPort);
    } else {
      outText->Append("null,\"port\":null}");
    }
  }
  outText->Append("]\n");
}

void AppendPadded(const UtilStr& inText, long inWidth, UtilStr* outText) {
  outText->Append(inText);
  for (long pad = inText.length(); pad < inWidth; ++pad) {
    outText->AppendChar(' ');
  }
}

// One instance a line: name, domain and address in columns.
void WriteText(const std::vector<CtlInstance>& inInstances, UtilStr* outText) {
  if (inInstances.empty()) {
    outText->Append("No engine instances found.\n");
    return;
  }
  long nameWidth = 0;
  long domainWidth = 0;
  for (const CtlInstance& instance : inInstances) {
    nameWidth = instance.mName.length() > nameWidth ? instance.mName.length() : nameWidth;
    domainWidth = instance.mDomain.length() > domainWidth ? instance.mDomain.length() : domainWidth;
  }
  for (const CtlInstance& instance : inInstances) {
    AppendPadded(instance.mName, nameWidth + 2, outText);
    AppendPadded(instance.mDomain, domainWidth + 2, outText);
    if (instance.mResolved) {
      // An IPv6 address is bracketed so that its port stands apart.
      bool ip6 = std::strchr(instance.mAddress.getCStr(), ':') != nullptr;
      outText->AppendVA(ip6 ? "[%s]:%lu\n" : "%s:%lu\n", instance.mAddress.getCStr(),
                        instance.mPort);
    } else {
      outText->Append("(not resolved)\n");
    }
  }
}

}  // namespace

int RunCtlList(const CtlOptions& inOptions) {
  CtlLink link;
  link.WaitForInstances("", kCtlDiscoveryWaitMS);
  std::vector<CtlInstance> instances;
  CtlInstance instance;
  for (long i = 1; link.GetInstance(i, &instance); ++i) {
    instances.push_back(instance);
  }
  UtilStr text;
  if (inOptions.mJson) {
    WriteJson(instances, &text);
  } else {
    WriteText(instances, &text);
  }
  CtlWriteOut(text);
  return kCtlExitOK;
}
