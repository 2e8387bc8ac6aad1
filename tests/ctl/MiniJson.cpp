#include "ctl/MiniJson.h"

#include <cctype>
#include <cstdlib>

namespace {

class Reader {
 public:
  explicit Reader(const std::string& inText) : mText(inText) {}

  bool ReadDocument(MiniJson* outValue) {
    SkipBlanks();
    if (!ReadValue(outValue)) {
      return false;
    }
    SkipBlanks();
    return mPos == mText.size() || Fail("text after the value");
  }

  std::string mError;

 private:
  bool Fail(const char* inWhy) {
    mError = std::string(inWhy) + " at offset " + std::to_string(mPos);
    return false;
  }

  void SkipBlanks() {
    while (mPos < mText.size() && (mText[mPos] == ' ' || mText[mPos] == '\n' ||
                                   mText[mPos] == '\r' || mText[mPos] == '\t')) {
      ++mPos;
    }
  }

  bool ReadWord(const char* inWord) {
    std::string word(inWord);
    if (mText.compare(mPos, word.size(), word) != 0) {
      return Fail("unknown word");
    }
    mPos += word.size();
    return true;
  }

  bool ReadValue(MiniJson* outValue) {
    if (mPos >= mText.size()) {
      return Fail("missing value");
    }
    char c = mText[mPos];
    if (c == '{') {
      return ReadObject(outValue);
    }
    if (c == '[') {
      return ReadArray(outValue);
    }
    if (c == '"') {
      outValue->mType = MiniJson::kString;
      return ReadString(&outValue->mString);
    }
    if (c == 't' || c == 'f') {
      outValue->mType = MiniJson::kBool;
      outValue->mBool = c == 't';
      return ReadWord(c == 't' ? "true" : "false");
    }
    if (c == 'n') {
      outValue->mType = MiniJson::kNull;
      return ReadWord("null");
    }
    return ReadNumber(outValue);
  }

  bool ReadNumber(MiniJson* outValue) {
    size_t start = mPos;
    if (mText[mPos] == '-') {
      ++mPos;
    }
    size_t digits = mPos;
    while (mPos < mText.size() && isdigit(static_cast<unsigned char>(mText[mPos]))) {
      ++mPos;
    }
    if (mPos == digits || (mText[digits] == '0' && mPos - digits > 1)) {
      return Fail("bad number");
    }
    if (mPos < mText.size() && mText[mPos] == '.') {
      size_t fraction = ++mPos;
      while (mPos < mText.size() && isdigit(static_cast<unsigned char>(mText[mPos]))) {
        ++mPos;
      }
      if (mPos == fraction) {
        return Fail("bad fraction");
      }
    }
    outValue->mType = MiniJson::kNumber;
    outValue->mNumber = std::strtod(mText.substr(start, mPos - start).c_str(), nullptr);
    return true;
  }

  bool ReadString(std::string* outText) {
    ++mPos;  // the opening quote
    while (mPos < mText.size()) {
      unsigned char c = static_cast<unsigned char>(mText[mPos++]);
      if (c == '"') {
        return true;
      }
      if (c < 0x20) {
        return Fail("control character in a string");
      }
      if (c != '\\') {
        *outText += char(c);
        continue;
      }
      if (mPos >= mText.size()) {
        break;
      }
      char e = mText[mPos++];
      switch (e) {
        case '"':
          *outText += '"';
          break;
        case '\\':
          *outText += '\\';
          break;
        case '/':
          *outText += '/';
          break;
        case 'n':
          *outText += '\n';
          break;
        case 'r':
          *outText += '\r';
          break;
        case 't':
          *outText += '\t';
          break;
        case 'b':
          *outText += '\b';
          break;
        case 'f':
          *outText += '\f';
          break;
        case 'u': {
          if (mPos + 4 > mText.size()) {
            return Fail("short \\u escape");
          }
          unsigned long code = std::strtoul(mText.substr(mPos, 4).c_str(), nullptr, 16);
          mPos += 4;
          if (code >= 0x80) {
            return Fail("only ASCII \\u escapes are expected");
          }
          *outText += char(code);
          break;
        }
        default:
          return Fail("bad escape");
      }
    }
    return Fail("unterminated string");
  }

  bool ReadArray(MiniJson* outValue) {
    outValue->mType = MiniJson::kArray;
    ++mPos;
    SkipBlanks();
    if (mPos < mText.size() && mText[mPos] == ']') {
      ++mPos;
      return true;
    }
    for (;;) {
      SkipBlanks();
      outValue->mItems.emplace_back();
      if (!ReadValue(&outValue->mItems.back())) {
        return false;
      }
      SkipBlanks();
      if (mPos < mText.size() && mText[mPos] == ',') {
        ++mPos;
      } else if (mPos < mText.size() && mText[mPos] == ']') {
        ++mPos;
        return true;
      } else {
        return Fail("expected , or ]");
      }
    }
  }

  bool ReadObject(MiniJson* outValue) {
    outValue->mType = MiniJson::kObject;
    ++mPos;
    SkipBlanks();
    if (mPos < mText.size() && mText[mPos] == '}') {
      ++mPos;
      return true;
    }
    for (;;) {
      SkipBlanks();
      std::string key;
      if (mPos >= mText.size() || mText[mPos] != '"' || !ReadString(&key)) {
        return mError.empty() ? Fail("expected a member name") : false;
      }
      if (outValue->mMembers.count(key) != 0) {
        return Fail("member named twice");
      }
      SkipBlanks();
      if (mPos >= mText.size() || mText[mPos++] != ':') {
        return Fail("expected :");
      }
      SkipBlanks();
      if (!ReadValue(&outValue->mMembers[key])) {
        return false;
      }
      outValue->mKeyOrder.push_back(key);
      SkipBlanks();
      if (mPos < mText.size() && mText[mPos] == ',') {
        ++mPos;
      } else if (mPos < mText.size() && mText[mPos] == '}') {
        ++mPos;
        return true;
      } else {
        return Fail("expected , or }");
      }
    }
  }

  const std::string& mText;
  size_t mPos = 0;
};

}  // namespace

bool MiniJson::Parse(const std::string& inText, MiniJson* outValue, std::string* outError) {
  Reader reader(inText);
  *outValue = MiniJson();
  if (reader.ReadDocument(outValue)) {
    return true;
  }
  if (outError != nullptr) {
    *outError = reader.mError;
  }
  return false;
}
