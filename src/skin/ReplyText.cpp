#include "skin/ReplyText.h"

#include <cstdint>
#include <cstring>

namespace {

bool IsSpace(char inChar) {
  return inChar == ' ' || inChar == '\t' || inChar == '\r' || inChar == '\n';
}

bool IsDigit(char inChar) {
  return inChar >= '0' && inChar <= '9';
}

}  // namespace

bool ReplyNumber(const char* inReply, long* outValue) {
  if (inReply == nullptr) {
    return false;
  }
  const char* at = inReply;
  while (IsSpace(*at)) {
    ++at;
  }
  bool negative = *at == '-';
  if (*at == '-' || *at == '+') {
    ++at;
  }
  if (!IsDigit(*at)) {
    return false;
  }
  // Past 32 bits the value only saturates, so the sum cannot overflow.
  const int64_t kLimit = int64_t(INT32_MAX) + 1;
  int64_t value = 0;
  for (; IsDigit(*at); ++at) {
    value = value * 10 + (*at - '0');
    if (value > kLimit) {
      value = kLimit;
    }
  }
  value = negative ? -value : value;
  *outValue = long(value > INT32_MAX ? INT32_MAX : value);
  return true;
}

const char* ReplyList::Next() {
  if (mNext == nullptr || *mNext == 0) {
    return nullptr;
  }
  const char* name = mNext;
  mNext += strlen(name) + 1;
  return name;
}
