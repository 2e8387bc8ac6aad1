// Reading the text of an engine reply, as the controls receive it. A reply
// comes in one of three shapes:
//   a number as decimal text ("3", "0", "1"),
//   one item's name ("Ice storm"),
//   a list: names each ended by a zero byte, the list by an empty name.
// The engine link follows every payload with two zero bytes, so even a reply
// of 0 bytes, or a list whose closing empty name went missing, ends there.
#pragma once

// The number at the start of inReply (after white space, with an optional
// sign), held to 32 bits. False, with *outValue left alone, when the reply is
// null or does not start with a number: such a reply carries no value.
bool ReplyNumber(const char* inReply, long* outValue);

// Steps through the names of a list reply.
class ReplyList {
 public:
  // A null reply is an empty list.
  explicit ReplyList(const char* inReply) : mNext(inReply) {}

  // The next name, or null at the empty name that ends the list.
  const char* Next();

 private:
  const char* mNext;
};
