#include "ctl/CtlUsage.h"

#include <cstring>

#include "ctl/CtlFunctions.h"
#include "foundation/UtilStr.h"
#include "toolbar/PrefChoices.h"

namespace {

const char kHelpHead[] =
    "Usage: corvexa-ctl [OPTIONS] COMMAND [ARGUMENTS]\n"
    "\n"
    "Controls a running Corvexa engine from the command line.\n"
    "\n"
    "Commands:\n"
    "  list                     the engine instances found, with domain, address and port\n"
    "  send TEXT                sends one script text and prints the reply\n"
    "  do FUNCTION [VALUE]      does to the engine what the toolbar does for a control\n"
    "                           of that UI function and value (see below)\n"
    "  script FUNCTION [VALUE]  prints the script that do would send, sending nothing\n"
    "  get                      prints the engine's lists and current values\n"
    "  watch                    prints the engine's notifications as they arrive\n"
    "\n"
    "Options (accepted with every command, ignored where they do not apply):\n"
    "  --instance NAME          the engine instance to use (default: the only one found,\n"
    "                           else the first)\n"
    "  --connect HOST:PORT      connects to that address instead of looking for instances\n"
    "  --json                   machine-readable output (list, get, watch)\n"
    "  --for SECONDS            watch: stops after that many seconds (default: Ctrl+C)\n"
    "  --help                   this text\n"
    "\n"
    "Exit codes: 0 done, 1 engine or connection error, 2 usage error.\n"
    "\n"
    "Functions for do and script (skin names; letter case is ignored):\n";

const int kLineWidth = 78;

// Appends pieces to lines of at most kLineWidth columns, each new line
// indented by mIndent.
class WrappedText {
 public:
  WrappedText(UtilStr* ioText, int inIndent, int inColumn)
      : mText(ioText), mIndent(inIndent), mColumn(inColumn) {}

  void Add(const char* inPiece, const char* inSeparator) {
    int length = int(std::strlen(inPiece));
    int separator = int(std::strlen(inSeparator));
    if (mColumn > mIndent && mColumn + separator + length > kLineWidth) {
      mText->AppendVA("%s\n%*s", inSeparator[0] == ',' ? "," : "", mIndent, "");
      mColumn = mIndent;
    } else if (mColumn > mIndent) {
      mText->Append(inSeparator);
      mColumn += separator;
    }
    mText->Append(inPiece);
    mColumn += length;
  }

  void End() { mText->AppendChar('\n'); }

 private:
  UtilStr* mText;
  int mIndent;
  int mColumn;
};

// Lists the skin names of the functions that take values of inKind.
void AppendNamesOfKind(eUIValueKind inKind, const char* inHeading, UtilStr* outText) {
  outText->AppendVA("  %s\n    ", inHeading);
  WrappedText names(outText, 4, 4);
  for (const TokenMap* f = sFunctionMap; f->Name != nullptr; ++f) {
    const UIScriptEntry* entry = FindUIScript(eUIFunction(f->Value));
    if (entry != nullptr && entry->mValueKind == inKind) {
      names.Add(f->Name, " ");
    }
  }
  names.End();
}

// "0 Standard, 1 Semi-transparent band, ..." below the functions' names.
void AppendChoices(const char* inFunctions, const char* (*inLabel)(long), UtilStr* outText) {
  outText->AppendVA("    %s:\n      ", inFunctions);
  WrappedText choices(outText, 6, 6);
  for (long i = 0; inLabel(i) != nullptr; ++i) {
    UtilStr choice;
    choice.AppendVA("%ld %s", i, inLabel(i));
    choices.Add(choice.getCStr(), ", ");
  }
  choices.End();
}

void AppendIndexChoices(UtilStr* outText) {
  outText->Append("  an index into the toolbar's list of choices (0 is the first):\n");
  outText->Append("    AdvPrefAudioSource: the engine's audio sources, as get lists them\n");
  AppendChoices("AdvPrefTrackTextAppearance", TrackTextAppearanceLabel, outText);
  AppendChoices("AdvPrefTrackTextDuration", TrackTextDurationLabel, outText);
  outText->AppendVA("    AdvPrefTrackTextSize: 0 to %ld for", kNumTrackTextSizes - 1);
  for (long i = 0; i < kNumTrackTextSizes; ++i) {
    outText->AppendVA(" %ld", TrackTextSizeFromIndex(i));
  }
  outText->AppendVA(" points\n    AdvPrefLineBoost: 0 to %ld for a line width offset of -5 to 5\n",
                    kNumLineBoostChoices - 1);
  AppendChoices("AdvPrefFrameXLimit, AdvPrefFrameYLimit", FrameLimitLabel, outText);
}

}  // namespace

void AppendCtlHelp(UtilStr* outText) {
  outText->Append(kHelpHead);
  AppendNamesOfKind(kUIValueNone, "no value:", outText);
  AppendNamesOfKind(kUIValueOnOff, "on or off (also true/false, yes/no, 1/0):", outText);
  AppendNamesOfKind(kUIValuePercent, "a slider percentage from 0 to 100:", outText);
  AppendNamesOfKind(kUIValueItemText, "an item name, as get lists them:", outText);
  AppendIndexChoices(outText);
}

void AppendCtlUsageHint(UtilStr* outText) {
  outText->Append("Try \"corvexa-ctl --help\".\n");
}
