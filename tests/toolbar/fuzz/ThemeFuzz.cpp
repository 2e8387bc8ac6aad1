// Feeds arbitrary bytes to the theme reader as a "theme.txt", then saves the
// theme and reads what it saved. Any text must load what it can without a
// crash or a read past its end. And since copying a theme and storing it both
// go through the text form, a theme must read back as it was saved: the order
// of the entries may differ (it is that of the tables), and numbers with a
// fraction may lose a little (they are written with six decimals, cut rather
// than rounded). Only keys of letters, digits and '_' are held to that: the
// toolbar writes no others, and one made of other bytes may be written as the
// start of a comment, which then hides what follows it, or lose bytes and
// become another.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "foundation/UtilStr.h"
#include "toolbar/CXTheme.h"

namespace {

// "kind/name/key=" and the value as written.
typedef std::vector<std::pair<std::string, std::string>> Lines;

// Every attribute of the theme, sorted.
class ThemeContent : public CXTheme {
 public:
  // outPlain tells whether every key is made of letters, digits and '_' and
  // is written differently from the others of its list.
  Lines Content(bool* outPlain) const {
    Params params = {{}, 0, true};
    AddAttribs("", mThemeAttribs, &params);
    for (params.mType = 0; params.mType < kCX_ConfigTypeCount; params.mType++) {
      mConfigList[params.mType].Iterate(AddConfig, &params, nullptr);
    }
    std::sort(params.mLines.begin(), params.mLines.end());
    // Keys that differ only in bytes that are not written read back as one.
    for (size_t i = 1; i < params.mLines.size(); i++) {
      params.mPlain = params.mPlain && params.mLines[i].first != params.mLines[i - 1].first;
    }
    *outPlain = params.mPlain;
    return params.mLines;
  }

 private:
  struct Params {
    Lines mLines;
    int mType;
    bool mPlain;
  };

  static void AddAttribs(const std::string& inPrefix, const ArgList& inArgs, Params* ioParams) {
    // String values are written with escapes, so one entry never spans lines.
    UtilStr text;
    inArgs.ExportTo("\n", &text);
    std::string all(text.getCStr(), size_t(text.length()));
    size_t from = 0;
    for (size_t end; (end = all.find('\n', from)) != std::string::npos; from = end + 1) {
      std::string entry = all.substr(from, end - from);
      size_t value = entry.find('=') + 1;
      ioParams->mPlain = ioParams->mPlain && value > 1;  // no key left when written
      for (size_t i = 0; i + 1 < value; i++) {
        unsigned char c = static_cast<unsigned char>(entry[i]);
        ioParams->mPlain = ioParams->mPlain && (std::isalnum(c) || c == '_');
      }
      ioParams->mLines.push_back({inPrefix + entry.substr(0, value), entry.substr(value)});
    }
    // A configuration without attributes is there all the same.
    ioParams->mLines.push_back({inPrefix, ""});
  }

  static bool AddConfig(const KEntry* inEntry, void* inParams, void*) {
    Params* params = static_cast<Params*>(inParams);
    const UtilStr* name = static_cast<const UtilStr*>(inEntry->mKeyObject);
    std::string prefix = std::to_string(params->mType) + "/" +
                         std::string(name->getCStr(), size_t(name->length())) + "/";
    AddAttribs(prefix, *static_cast<const ArgList*>(inEntry->mValue), params);
    return true;
  }
};

bool SameValue(const std::string& inA, const std::string& inB) {
  if (inA == inB) {
    return true;
  }
  if (inA.empty() || inB.empty() || inA[0] == '"' || inB[0] == '"') {
    return false;
  }
  double a = std::strtod(inA.c_str(), nullptr);
  double b = std::strtod(inB.c_str(), nullptr);
  return std::fabs(a - b) <= 2e-6 + 1e-6 * std::fabs(a);
}

bool SameContent(const Lines& inA, const Lines& inB) {
  if (inA.size() != inB.size()) {
    return false;
  }
  for (size_t i = 0; i < inA.size(); i++) {
    if (inA[i].first != inB[i].first || !SameValue(inA[i].second, inB[i].second)) {
      return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* inData, size_t inSize) {
  UtilStr text(reinterpret_cast<const char*>(inData), long(inSize));

  ThemeContent header;
  header.ReadFromBuf(text, true);
  ThemeContent theme;
  if (theme.ReadFromBuf(text, false) != 0) {
    return 0;
  }
  // The lookups the theme manager makes, on whatever names the text holds.
  theme.GetAttrib(kCX_WaveShape, reinterpret_cast<const char*>(inData),
                  long(inSize > 8 ? 8 : inSize), kConfigAttr_On, 1);

  bool plain;
  Lines content = theme.Content(&plain);
  ThemeContent copy;
  if (copy.CopyContents(theme) != 0 || (plain && !SameContent(copy.Content(&plain), content))) {
    std::abort();
  }
  return 0;
}
