// A small strict JSON reader for checking what corvexa-ctl writes.
#pragma once

#include <map>
#include <string>
#include <vector>

struct MiniJson {
  enum Type { kNull, kBool, kNumber, kString, kArray, kObject };

  Type mType = kNull;
  bool mBool = false;
  double mNumber = 0;
  std::string mString;
  std::vector<MiniJson> mItems;
  std::map<std::string, MiniJson> mMembers;
  std::vector<std::string> mKeyOrder;

  // Reads one whole JSON text (surrounding blanks allowed). False, with the
  // reason in *outError, when the text is not exactly one valid value.
  static bool Parse(const std::string& inText, MiniJson* outValue, std::string* outError);

  bool Has(const std::string& inKey) const { return mMembers.count(inKey) != 0; }
  const MiniJson& operator[](const std::string& inKey) const { return mMembers.at(inKey); }
};
