#include "ctl/CtlNotice.h"

#include "ctl/CtlJson.h"
#include "foundation/UtilStr.h"

namespace {

enum NoticeValue {
  kNoticeText,    // the description is the value
  kNoticeNumber,  // the description is a decimal number
  kNoticeOn,      // the code itself says on
  kNoticeOff      // the code itself says off
};

struct NoticeKind {
  long mCode;
  const char* mEvent;  // JSON name
  const char* mLabel;  // text line
  NoticeValue mValue;
};

const NoticeKind kNotices[] = {
    {100, "message", "message", kNoticeText},
    {253, "fullScreenMode", "full-screen mode", kNoticeText},
    {254, "audioSource", "audio source", kNoticeNumber},
    {301, "colorMap", "color map", kNoticeText},
    {303, "waveShape", "wave shape", kNoticeText},
    {305, "flowField", "flow field", kNoticeText},
    {320, "waveShapeSlideShow", "wave-shape slide show", kNoticeOn},
    {321, "waveShapeSlideShow", "wave-shape slide show", kNoticeOff},
    {322, "colorMapSlideShow", "color-map slide show", kNoticeOn},
    {323, "colorMapSlideShow", "color-map slide show", kNoticeOff},
    {324, "flowFieldSlideShow", "flow-field slide show", kNoticeOn},
    {325, "flowFieldSlideShow", "flow-field slide show", kNoticeOff},
    {326, "imageVideoSlideShow", "image/video slide show", kNoticeOn},
    {327, "imageVideoSlideShow", "image/video slide show", kNoticeOff},
    {328, "particleSlideShow", "particle slide show", kNoticeOn},
    {329, "particleSlideShow", "particle slide show", kNoticeOff},
};

const NoticeKind* FindNotice(long inCode) {
  for (const NoticeKind& notice : kNotices) {
    if (notice.mCode == inCode) {
      return &notice;
    }
  }
  return nullptr;
}

}  // namespace

void DescribeNotice(long inCode, const char* inDesc, const char* inData, UtilStr* outLine) {
  const NoticeKind* notice = FindNotice(inCode);
  if (notice == nullptr) {
    outLine->AppendVA("%ld notification: %s", inCode, inDesc);
    if (*inData != 0) {
      outLine->AppendVA(" (%s)", inData);
    }
    return;
  }
  outLine->AppendVA("%ld %s: ", inCode, notice->mLabel);
  switch (notice->mValue) {
    case kNoticeOn:
      outLine->Append("on");
      break;
    case kNoticeOff:
      outLine->Append("off");
      break;
    default:
      outLine->Append(inDesc);
  }
}

void DescribeNoticeJson(long inCode, const char* inDesc, const char* inData, UtilStr* outLine) {
  const NoticeKind* notice = FindNotice(inCode);
  outLine->AppendVA("{\"code\":%ld,\"event\":", inCode);
  if (notice != nullptr) {
    AppendJsonString(outLine, notice->mEvent);
  } else {
    outLine->Append("null");
  }
  outLine->Append(",\"value\":");
  if (notice == nullptr) {
    outLine->Append("null");
  } else if (notice->mValue == kNoticeOn || notice->mValue == kNoticeOff) {
    outLine->Append(notice->mValue == kNoticeOn ? "true" : "false");
  } else if (notice->mValue == kNoticeNumber) {
    outLine->AppendInt(UtilStr::StrToInt(inDesc, -1));
  } else {
    AppendJsonString(outLine, inDesc);
  }
  outLine->Append(",\"desc\":");
  AppendJsonString(outLine, inDesc);
  outLine->Append(",\"data\":");
  AppendJsonString(outLine, inData);
  outLine->AppendChar('}');
}
