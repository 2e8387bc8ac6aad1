#include "toolbar/CXTheme.h"

#include <cstring>
#include <memory>

#include "files/KSOStream.h"
#include "foundation/KSError.h"
#include "foundation/UtilStr.h"

namespace {

// Section names of "theme.txt" in CXConfigType order, length-prefixed.
const unsigned char* const kSectionNames[kCX_ConfigTypeCount] = {
    reinterpret_cast<const unsigned char*>("\x09"
                                           "WaveShape"),
    reinterpret_cast<const unsigned char*>("\x08"
                                           "ColorMap"),
    reinterpret_cast<const unsigned char*>("\x09"
                                           "FlowField"),
    reinterpret_cast<const unsigned char*>("\x0E"
                                           "FlowFieldUnion"),
    reinterpret_cast<const unsigned char*>("\x08"
                                           "Particle"),
    reinterpret_cast<const unsigned char*>("\x06"
                                           "Sprite"),
    reinterpret_cast<const unsigned char*>("\x06"
                                           "Script")};

const char kSeparator[] = "---";
const char kWildcard[] = "*";

bool IsValidType(CXConfigType inType) {
  return inType >= kCX_WaveShape && inType < kCX_ConfigTypeCount;
}

// The kind whose section name is exactly inName, else kCX_InvalidConfigType.
CXConfigType TypeOfSection(const char* inName, long inLen) {
  for (int type = 0; type < kCX_ConfigTypeCount; type++) {
    const unsigned char* name = kSectionNames[type];
    if (inLen == name[0] && std::memcmp(inName, name + 1, size_t(inLen)) == 0) {
      return CXConfigType(type);
    }
  }
  return kCX_InvalidConfigType;
}

bool IsLineEnd(char inChar) {
  return inChar == '\r' || inChar == '\n';
}

// 0-based start of the first "---" that begins the text or a line, -1 if none.
long FindSeparator(const UtilStr& inText) {
  const char* text = inText.getCStr();
  int from = 0;
  for (;;) {
    int pos = inText.contains(kSeparator, from);
    if (pos == 0) {
      return -1;
    }
    long start = pos - 1;
    if (start == 0 || IsLineEnd(text[start - 1])) {
      return start;
    }
    from = pos;
  }
}

// First position in [inFrom, inEnd) holding inChar, else inEnd.
long Find(const char* inText, long inFrom, long inEnd, char inChar) {
  const void* hit = std::memchr(inText + inFrom, inChar, size_t(inEnd - inFrom));
  return hit != nullptr ? static_cast<const char*>(hit) - inText : inEnd;
}

// Writes inArgs in the text form, each entry followed by a space.
void PutAttribs(const ArgList& inArgs, KSOStream* outStream) {
  UtilStr text;
  inArgs.ExportTo(" ", &text);
  outStream->PutBlock(text.getCStr(), text.length());
}

// Writes one configuration line; called for each entry of a section's table.
struct SaveLineParams {
  KSOStream* mStream;
  const unsigned char* mSection;
};

bool SaveConfigLine(const KEntry* inEntry, void* inParams, void*) {
  const SaveLineParams* params = static_cast<const SaveLineParams*>(inParams);
  const UtilStr* name = static_cast<const UtilStr*>(inEntry->mKeyObject);
  const ArgList* attribs = static_cast<const ArgList*>(inEntry->mValue);
  KSOStream* stream = params->mStream;
  stream->PutBlock(params->mSection + 1, params->mSection[0]);
  stream->PutBlock("/", 1);
  stream->PutBlock(name->getCStr(), name->length());
  stream->PutBlock("/", 1);
  PutAttribs(*attribs, stream);
  stream->PutBlock("\r\n", 2);
  return true;
}

}  // namespace

CXTheme::CXTheme() {}

CXTheme::~CXTheme() {}

ArgList* CXTheme::FindConfig(CXConfigType inType, const char* inName, long inNameLen) const {
  void* value = nullptr;
  if (mConfigList[inType].Get(inName, int(inNameLen), nullptr, &value) == 0) {
    return nullptr;
  }
  return static_cast<ArgList*>(value);
}

long CXTheme::GetAttrib(CXConfigType inType, const char* inName, long inNameLen, long inKey,
                        long inDefault) const {
  if (!IsValidType(inType)) {
    return inDefault;
  }
  const ArgList* attribs = inName != nullptr ? FindConfig(inType, inName, inNameLen) : nullptr;
  if (attribs == nullptr) {
    attribs = FindConfig(inType, kWildcard, 1);
  }
  long value;
  if (attribs == nullptr || !attribs->GetInt(inKey, &value)) {
    return inDefault;
  }
  return value;
}

void CXTheme::SetAttrib(CXConfigType inType, const char* inName, long inNameLen, long inKey,
                        long inValue) {
  if (!IsValidType(inType) || inName == nullptr) {
    return;
  }
  ArgList* attribs = FindConfig(inType, inName, inNameLen);
  if (attribs == nullptr) {
    auto added = std::make_unique<ArgList>();
    attribs = added.get();
    mConfigList[inType].put_str(inName, -1, nullptr, added.release(), true);
  }
  attribs->SetInt(inKey, inValue);
}

void CXTheme::ClearConfigs() {
  for (ConfigTable& table : mConfigList) {
    table.RemoveAll();
  }
}

long CXTheme::ReadFromBuf(const UtilStr& inText, bool inHeaderOnly) {
  ClearConfigs();
  long separator = FindSeparator(inText);
  if (separator < 0) {
    return kKSErr_FormatNotRecognized;
  }
  mThemeAttribs.SetArgs(inText.getCStr(), separator);
  if (!inHeaderOnly) {
    // The body follows "---" and one line-end byte.
    long bodyStart = separator + 4;
    if (bodyStart < inText.length()) {
      ReadBody(inText.getCStr() + bodyStart, inText.length() - bodyStart);
    }
  }
  return 0;
}

// Reads the configuration lines: Section/Name/attributes. Lines of another
// section, or without a '/', are skipped.
void CXTheme::ReadBody(const char* inText, long inLen) {
  long pos = 0;
  while (pos < inLen) {
    while (pos < inLen && static_cast<int8>(inText[pos]) < 33) {
      pos++;
    }
    long lineEnd = pos;
    while (lineEnd < inLen && !IsLineEnd(inText[lineEnd])) {
      lineEnd++;
    }
    long sectionEnd = Find(inText, pos, lineEnd, '/');
    CXConfigType type = kCX_InvalidConfigType;
    if (sectionEnd < lineEnd) {
      type = TypeOfSection(inText + pos, sectionEnd - pos);
    }
    if (type != kCX_InvalidConfigType) {
      long nameStart = sectionEnd + 1;
      long nameEnd = Find(inText, nameStart, lineEnd, '/');
      auto added = std::make_unique<ArgList>();
      ArgList* attribs = added.get();
      // An earlier list of the same name is replaced and deleted.
      mConfigList[type].put_str(inText + nameStart, int(nameEnd - nameStart), nullptr,
                                added.release(), true);
      if (nameEnd < lineEnd) {
        attribs->SetArgs(inText + nameEnd + 1, lineEnd - nameEnd - 1);
      }
    }
    pos = lineEnd;
  }
}

long CXTheme::SaveToStream(KSOStream* outStream) const {
  PutAttribs(mThemeAttribs, outStream);
  outStream->PutBlock("\r\n", 2);
  outStream->PutBlock("---\r\n", 5);
  for (int type = 0; type < kCX_ConfigTypeCount; type++) {
    SaveLineParams params = {outStream, kSectionNames[type]};
    mConfigList[type].Iterate(SaveConfigLine, &params, nullptr);
  }
  return 0;
}

long CXTheme::CopyContents(const CXTheme& inTheme) {
  if (&inTheme == this) {
    return 0;
  }
  KSOStream text;
  inTheme.SaveToStream(&text);
  return ReadFromBuf(text.GetBuffer(), false);
}

long CXTheme::SetFactorySettings() {
  mThemeAttribs.SetStr(kThemeAttr_PhysicalName, "");
  mThemeAttribs.SetStr(kThemeAttr_LogicalName, "");
  ClearConfigs();
  return 0;
}
