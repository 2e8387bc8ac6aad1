// cSkin: the structure of the file (pages, control lists, controls), the
// default descriptions and the error texts.
#include "skin/cSkin.h"

#include <cstring>

#include "foundation/KSError.h"
#include "platform/BaseStrings.h"
#include "skin/SkinKeywords.h"
#include "skin/SkinPageBuilder.h"
#include "skin/SkinReader.h"
#include "skin/UIFunctions.h"

namespace {

// Pages nest no deeper than this. Every level costs stack here and a level of
// child windows later; real skins stay within a handful.
constexpr int kMaxPageDepth = 32;

// The error box quotes at most this much of the file, after two carriage
// returns (512 bytes with the terminator).
constexpr long kMaxQuotedBytes = 509;

const char kErrorPrefix[] = "Error reading skin file %s.";

// Reads a keyword and looks it up in sTokenMap.
long ReadToken(SkinReader& ioReader, bool inStopAtEquals, uint32* outToken) {
  SkinSpan word;
  long err = ioReader.ReadKeyword(inStopAtEquals, &word);
  if (err == 0 && !LookupToken(sTokenMap, word.mText, word.mLen, outToken)) {
    err = kKSErr_FormatNotRecognized;
  }
  return err;
}

}  // namespace

cSkin::cSkin() : mNextToolPageId(0), mErrorPos(0), mBuilder(nullptr), mPageDepth(0) {}

cSkin::~cSkin() {}

void cSkin::InitControlInfo(ControlInfo* outInfo, eControlType inType, const TextInfo* inDefText,
                            const KSRGBA& inTransparentColor) {
  std::memset(outInfo, 0, sizeof(*outInfo));
  outInfo->Type = inType;
  outInfo->Function = kUINull;
  outInfo->TransparentColor = inTransparentColor;
  outInfo->Modes[kModeRetracted].Visible = true;
  outInfo->Modes[kModeExtended].Visible = true;
  if (inDefText != nullptr) {
    outInfo->Text = *inDefText;
  } else {
    TextInfo& text = outInfo->Text;
    text.TextColor = KSRGBA{0, 0, 0, 255};
    text.BackgroundColor = KSRGBA{127, 127, 127, 255};
    text.BorderColor = KSRGBA{0, 0, 0, 255};
    std::strcpy(text.FontName, "Arial");
    text.FontSize = 8;
  }
  if (inType == kControlTypeSlider) {
    outInfo->u.Slider.MinPos = 0;
    outInfo->u.Slider.MaxPos = 100;
  }
}

void cSkin::InitToolPageInfo(ToolPageInfo* outInfo) {
  std::memset(outInfo, 0, sizeof(*outInfo));
  outInfo->Visible[kModeRetracted] = true;
  outInfo->Visible[kModeExtended] = true;
  outInfo->DefMode = kModeExtended;
}

long cSkin::ParseInterface(const char* inPath, const char* inText, long inLen,
                           SkinPageBuilder* inBuilder) {
  inLen = inLen > 0 ? inLen : 0;
  // Editors that save UTF-8 may start the file with a byte-order mark.
  if (inLen >= 3 && std::memcmp(inText, "\xEF\xBB\xBF", 3) == 0) {
    inText += 3;
    inLen -= 3;
  }
  BaseParsePathname(inPath, &mFolder, nullptr);
  mErrorPrefix.Clear();
  mErrorSuffix.Clear();
  mErrorPos = 0;
  mNextToolPageId = 0;
  mPageDepth = 0;

  SkinReader reader(inText, inLen);
  if (reader.AtEnd()) {
    SetErrorTexts(kErrorPrefix, inPath, inText, inLen, false);
    return kKSErr_FormatNotRecognized;
  }
  // The word is optional, but only in exactly this letter case.
  reader.TakeWord("ToolPage");

  mBuilder = inBuilder;
  long outermost = kNoSkinPage;
  long err = ParseToolPage(reader, kNoSkinPage, nullptr, KSRGBA{0, 0, 0, 0}, &outermost);
  mBuilder = nullptr;
  if (err != 0) {
    SetErrorTexts(kErrorPrefix, inPath, inText, inLen, true);
  }
  return err;
}

long cSkin::ParseToolPage(SkinReader& ioReader, long inParentID, const TextInfo* inDefText,
                          const KSRGBA& inTransparentColor, long* outPageID) {
  if (mPageDepth >= kMaxPageDepth) {
    return kKSErr_FormatNotRecognized;
  }
  ToolPageInfo pageInfo;
  InitToolPageInfo(&pageInfo);
  ControlInfo info;
  InitControlInfo(&info, kControlTypeToolPage, inDefText, inTransparentColor);
  char name[kSkinNameSize] = "";

  long pageID = mNextToolPageId++;
  long err = mBuilder->MakePage(pageID, inParentID, pageInfo, info);
  if (err != 0) {
    return err;
  }
  *outPageID = pageID;

  mPageDepth++;
  MarkErrorPos(ioReader);
  err = ioReader.TakeOptional('{');
  while (err == 0) {
    MarkErrorPos(ioReader);
    uint32 token = 0;
    err = ReadToken(ioReader, true, &token);
    if (err != 0) {
      break;
    }
    mBuilder->NoteKeyword(token, mErrorPos);
    if (token == kTokenCloseBrace) {
      mBuilder->FinishPage(pageID, pageInfo, info, name);
      break;
    }
    err = ParsePageItem(ioReader, token, pageID, &pageInfo, &info, name);
  }
  mPageDepth--;
  return err;
}

long cSkin::ParseControls(SkinReader& ioReader, long inPageID, const ControlInfo& inPageInfo) {
  MarkErrorPos(ioReader);
  long err = ioReader.TakeOptional('{');
  while (err == 0) {
    MarkErrorPos(ioReader);
    uint32 token = 0;
    err = ReadToken(ioReader, false, &token);
    if (err != 0) {
      break;
    }
    mBuilder->NoteKeyword(token, mErrorPos);
    eControlType type = kControlTypeNull;
    if (token == kTokenCloseBrace) {
      break;
    } else if (token == kTokenComment) {
      ioReader.SkipLine();
    } else if (token == kTokenToolPage) {
      long child = kNoSkinPage;
      err =
          ParseToolPage(ioReader, inPageID, &inPageInfo.Text, inPageInfo.TransparentColor, &child);
      if (err == 0) {
        err = mBuilder->AddControl(inPageID, child);
      }
      if (err != 0 && child != kNoSkinPage) {
        mBuilder->DiscardPage(child);
      }
    } else if (ControlTypeOfToken(token, &type)) {
      err = ParseControl(ioReader, inPageID, inPageInfo, type);
    } else {
      err = kKSErr_FormatNotRecognized;
    }
  }
  return err;
}

long cSkin::ParseControl(SkinReader& ioReader, long inPageID, const ControlInfo& inPageInfo,
                         eControlType inType) {
  ControlInfo info;
  InitControlInfo(&info, inType, &inPageInfo.Text, inPageInfo.TransparentColor);
  MarkErrorPos(ioReader);
  long err = ioReader.TakeOptional('(');
  while (err == 0) {
    MarkErrorPos(ioReader);
    uint32 token = 0;
    err = ReadToken(ioReader, true, &token);
    if (err != 0) {
      break;
    }
    mBuilder->NoteKeyword(token, mErrorPos);
    if (token == kTokenCloseParen) {
      return mBuilder->CreateControl(inPageID, info);
    }
    err = IsTypeProperty(inType, token) ? ParseControlType(ioReader, token, &info)
                                        : ParseControlInfo(ioReader, token, &info);
    if (err == 0) {
      ioReader.SkipOptional(',');
    }
  }
  return err;
}

void cSkin::MarkErrorPos(SkinReader& ioReader) {
  ioReader.SkipWhite();
  mErrorPos = ioReader.Pos();
}

void cSkin::SetErrorTexts(const char* inPrefixFormat, const char* inPath, const char* inText,
                          long inLen, bool inQuoteFile) {
  mErrorPrefix.Clear();
  mErrorPrefix.AppendVA(inPrefixFormat, inPath != nullptr ? inPath : "");
  mErrorSuffix.Clear();
  if (inQuoteFile) {
    long start = mErrorPos < inLen ? mErrorPos : inLen;
    long count = inLen - start < kMaxQuotedBytes ? inLen - start : kMaxQuotedBytes;
    mErrorSuffix.Append("\r\r");
    mErrorSuffix.Append(inText + start, count);
  }
}
