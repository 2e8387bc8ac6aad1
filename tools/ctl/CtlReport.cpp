#include "ctl/CtlReport.h"

#include <cstring>

#include "ctl/CtlJson.h"
#include "ctl/CtlReply.h"
#include "toolbar/UICommands.h"

namespace {

typedef long D;

const CtlGetQuery kGetQueries[] = {
    {"newVersionAvailable", "New version available", kReportYesNo, false,
     [](D, char* out) { return CommandIsVersionAvailable(out); }},
    {"waveShapes", "Wave shapes", kReportList, false,
     [](D, char* out) { return CommandGetWaveShapeList(out); }},
    {"colorMaps", "Color maps", kReportList, false,
     [](D, char* out) { return CommandGetColorMapList(out); }},
    {"flowFields", "Flow fields", kReportList, false,
     [](D, char* out) { return CommandGetFlowFieldList(out); }},
    {"particles", "Particles", kReportList, false,
     [](D, char* out) { return CommandGetParticleList(out); }},
    {"imagesVideos", "Images and videos", kReportList, false,
     [](D, char* out) { return CommandGetImageVideoList(out); }},
    {"currentWaveShape", "Current wave shape", kReportText, false,
     [](D, char* out) { return CommandGetCurrentWaveShape(out); }},
    {"currentColorMap", "Current color map", kReportText, false,
     [](D, char* out) { return CommandGetCurrentColorMap(out); }},
    {"currentFlowField", "Current flow field", kReportText, false,
     [](D, char* out) { return CommandGetCurrentFlowField(out); }},
    {"autoLineScale", "Automatic line scale", kReportOnOff, false,
     [](D, char* out) { return CommandGetAutoLineScale(out); }},
    {"flowFieldUnions", "Flow-field unions", kReportOnOff, false,
     [](D, char* out) { return CommandGetUnionSlideShow(out); }},
    {"flowFieldTransitions", "Flow-field transitions", kReportOnOff, false,
     [](D, char* out) { return CommandGetFlowFieldTransitions(out); }},
    {"flowFieldSmoothSwitch", "Flow-field smooth switch", kReportOnOff, false,
     [](D, char* out) { return CommandGetFlowFieldSmoothSwitch(out); }},
    {"allowRemoteControl", "Remote control allowed", kReportOnOff, false,
     [](D, char* out) { return CommandGetAllowRemoteControl(out); }},
    {"autoTrackInfo", "Automatic track text", kReportOnOff, false,
     [](D, char* out) { return CommandGetAutoTrackInfo(out); }},
    {"fonts", "Fonts", kReportList, false, [](D, char* out) { return CommandBuildFontList(out); }},
    {"displayModes", "Display modes", kReportList, true,
     [](D inDevice, char* out) { return CommandBuildDisplayModeList(inDevice, out); }},
    {"fullScreenMode", "Full-screen mode", kReportText, false,
     [](D, char* out) { return CommandGetFullScreenMode(out); }},
    {"audioSources", "Audio sources", kReportList, false,
     [](D, char* out) { return CommandBuildAudioSourceList(out); }},
    {"audioSource", "Audio source", kReportText, false,
     [](D, char* out) { return CommandGetAudioSource(out); }},
    {"trackTextAppearance", "Track-text appearance", kReportNumber, false,
     [](D, char* out) { return CommandGetTrackTextAppearance(out); }},
    {"trackTextDuration", "Track-text duration (s)", kReportNumber, false,
     [](D, char* out) { return CommandGetTrackTextDuration(out); }},
    {"trackTextFont", "Track-text font", kReportText, false,
     [](D, char* out) { return CommandGetTrackTextFont(out); }},
    {"trackTextSize", "Track-text size", kReportNumber, false,
     [](D, char* out) { return CommandGetTrackTextSize(out); }},
    {"lineOffset", "Line width offset", kReportNumber, false,
     [](D, char* out) { return CommandGetLineOffset(out); }},
    {"frameXLimit", "Frame width limit", kReportNumber, false,
     [](D, char* out) { return CommandGetFrameXLimit(out); }},
    {"frameYLimit", "Frame height limit", kReportNumber, false,
     [](D, char* out) { return CommandGetFrameYLimit(out); }},
    {"waveShapeSlideShow", "Wave-shape slide show", kReportOnOff, false,
     [](D, char* out) { return CommandGetWaveShapeSlideShow(out); }},
    {"colorMapSlideShow", "Color-map slide show", kReportOnOff, false,
     [](D, char* out) { return CommandGetColorMapSlideShow(out); }},
    {"flowFieldSlideShow", "Flow-field slide show", kReportOnOff, false,
     [](D, char* out) { return CommandGetFlowFieldSlideShow(out); }},
    {nullptr, nullptr, kReportText, false, nullptr},
};

// Labels are padded to this width so that the values line up.
const int kLabelWidth = 26;

void AppendLabel(const char* inLabel, UtilStr* outText) {
  outText->AppendVA("%s:", inLabel);
  for (int pad = int(std::strlen(inLabel)) + 1; pad < kLabelWidth; ++pad) {
    outText->AppendChar(' ');
  }
}

}  // namespace

const CtlGetQuery* CtlGetQueries() {
  return kGetQueries;
}

CtlReport::Entry* CtlReport::FindOrAdd(const char* inKey, const char* inLabel,
                                       CtlReportKind inKind) {
  for (const std::unique_ptr<Entry>& entry : mEntries) {
    if (std::strcmp(entry->mKey, inKey) == 0) {
      return entry.get();
    }
  }
  mEntries.push_back(
      std::unique_ptr<Entry>(new Entry{inKey, inLabel, inKind, UtilStr(), XStrList()}));
  return mEntries.back().get();
}

void CtlReport::AddText(const char* inKey, const char* inLabel, const char* inText) {
  FindOrAdd(inKey, inLabel, kReportText)->mValue = inText;
}

void CtlReport::AddReply(const CtlGetQuery& inQuery, const char* inData, long inLen) {
  Entry* entry = FindOrAdd(inQuery.mKey, inQuery.mLabel, inQuery.mKind);
  if (inQuery.mKind == kReportList) {
    ReadListReply(inData, inLen, &entry->mItems);
  } else {
    ReadValueReply(inData, inLen, &entry->mValue);
  }
}

void CtlReport::WriteText(UtilStr* outText) const {
  for (const std::unique_ptr<Entry>& entry : mEntries) {
    if (entry->mKind == kReportList) {
      outText->AppendVA("%s (%ld):\n", entry->mLabel, entry->mItems.Count());
      for (long i = 1; i <= entry->mItems.Count(); ++i) {
        outText->AppendVA("  %s\n", entry->mItems.Fetch(i)->getCStr());
      }
      continue;
    }
    AppendLabel(entry->mLabel, outText);
    if (entry->mKind == kReportOnOff) {
      outText->Append(IsOn(entry->mValue) ? "on" : "off");
    } else if (entry->mKind == kReportYesNo) {
      outText->Append(IsOn(entry->mValue) ? "yes" : "no");
    } else {
      outText->Append(entry->mValue);
    }
    outText->AppendChar('\n');
  }
}

void CtlReport::WriteJson(UtilStr* outJson) const {
  outJson->AppendChar('{');
  bool first = true;
  for (const std::unique_ptr<Entry>& entry : mEntries) {
    if (!first) {
      outJson->AppendChar(',');
    }
    first = false;
    AppendJsonString(outJson, entry->mKey);
    outJson->AppendChar(':');
    const UtilStr& value = entry->mValue;
    switch (entry->mKind) {
      case kReportList:
        outJson->AppendChar('[');
        for (long i = 1; i <= entry->mItems.Count(); ++i) {
          if (i > 1) {
            outJson->AppendChar(',');
          }
          const UtilStr* item = entry->mItems.Fetch(i);
          AppendJsonString(outJson, item->getCStr(), item->length());
        }
        outJson->AppendChar(']');
        break;
      case kReportNumber:
        // A number the engine printed in some other form is kept as text.
        if (IsPlainNumber(value.getCStr())) {
          outJson->Append(value);
        } else if (value.IsEmpty()) {
          outJson->Append("null");
        } else {
          AppendJsonString(outJson, value.getCStr(), value.length());
        }
        break;
      case kReportOnOff:
      case kReportYesNo:
        outJson->Append(value.IsEmpty() ? "null" : IsOn(value) ? "true" : "false");
        break;
      case kReportText:
        AppendJsonString(outJson, value.getCStr(), value.length());
        break;
    }
  }
  outJson->AppendChar('}');
}
