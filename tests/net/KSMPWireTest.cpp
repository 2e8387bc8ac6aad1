// KSMP header and system message layout, and the checks that keep a hostile
// system message from pointing past its payload.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "foundation/KSError.h"
#include "net/KSByteOrder.h"
#include "net/KSMPWire.h"

namespace {

KSMPCookie MakeCookie() {
  KSMPCookie cookie;
  for (int i = 0; i < 32; i++) {
    cookie.mData[i] = uint8(0xC0 + i);
  }
  return cookie;
}

KSPacket PacketOver(const std::vector<uint8>& inPayload) {
  KSPacket p = {};
  p.mTimeSent.mDays = 44000;
  p.mTimeSent.mSecs = 3600;
  p.mDataSize = int32(inPayload.size());
  p.mData = inPayload.data();
  return p;
}

std::vector<uint8> SystemMsg(int32 inID, const std::string& inDesc, const std::string& inData) {
  KSBuf desc = {inDesc.data(), int32(inDesc.size())};
  KSBuf data = {inData.data(), int32(inData.size())};
  int32 size = KSMPWire::SystemMsgSize(desc.mNumBytes, data.mNumBytes);
  std::vector<uint8> payload(size_t(size), 0xEE);
  KSMPWire::PackSystemMsg(inID, desc, data, payload.data());
  return payload;
}

}  // namespace

TEST(KSMPWireTest, RequestHeaderLayout) {
  KSMPCookie cookie = MakeCookie();
  uint8 header[64];
  memset(header, 0xAA, sizeof(header));
  KSMPWire::BuildHeader(header, kKSMPKind_Request, 40, 0x01020304, true, &cookie);

  uint8 expected[64] = {2, 1, 40, 0, 4, 3, 2, 1, 1};
  memcpy(expected + 16, cookie.mData, 32);
  EXPECT_EQ(0, memcmp(header, expected, 64));
  EXPECT_EQ(KSMPWire::Ticket(header), 0x01020304u);
  EXPECT_TRUE(KSMPWire::ReplyWanted(header));

  KSMPWire::BuildHeader(header, kKSMPKind_SystemMsg, 7, 0, false, nullptr);
  uint8 plain[64] = {2, 2, 7};
  EXPECT_EQ(0, memcmp(header, plain, 64));
}

TEST(KSMPWireTest, ReplyEchoesTicketFlagsAndCookie) {
  KSMPCookie cookie = MakeCookie();
  uint8 request[64];
  KSMPWire::BuildHeader(request, kKSMPKind_Request, 0x8B, 0xFFFFFFFE, true, &cookie);
  request[3] = 0x55;  // a peer's reserved bytes travel back untouched too
  uint8 reply[64];
  KSMPWire::BuildReplyHeader(request, reply);
  uint8 expected[64];
  memcpy(expected, request, 64);
  expected[1] = kKSMPKind_Reply;
  expected[8] = 0;  // no reply to a reply
  EXPECT_EQ(0, memcmp(reply, expected, 64));
  KSMPCookie echoed;
  KSMPWire::GetCookie(reply, &echoed);
  EXPECT_EQ(0, memcmp(echoed.mData, cookie.mData, 32));
  EXPECT_EQ(KSMPWire::Ticket(reply), 0xFFFFFFFEu);
  EXPECT_EQ(KSMPWire::Flags(reply), 0x8B);

  // Replying in place works as well.
  KSMPWire::BuildReplyHeader(request, request);
  EXPECT_EQ(0, memcmp(request, reply, 64));
}

TEST(KSMPWireTest, SystemMsgLayoutAndRoundTrip) {
  std::vector<uint8> payload = SystemMsg(301, "abc", "");
  const uint8 expected[29] = {0, 0, 1, 45, 0, 0, 0, 3, 0, 0, 0, 0, 0, 0, 0, 0, 'a', 'b', 'c', 0, 0};
  ASSERT_EQ(payload.size(), 29u);
  EXPECT_EQ(0, memcmp(payload.data(), expected, 21));

  payload = SystemMsg(-7, "desc text", "data,text");
  KSPacket packet = PacketOver(payload);
  KSMPSystemMsg msg;
  ASSERT_EQ(0, KSMPWire::UnpackSystemMsg(packet, &msg));
  EXPECT_EQ(msg.mMsgID, -7);
  EXPECT_STREQ(msg.mDesc, "desc text");
  EXPECT_EQ(msg.mDescSize, 9);
  EXPECT_STREQ(msg.mData, "data,text");
  EXPECT_EQ(msg.mDataSize, 9);
  EXPECT_EQ(msg.mReserved, 0);
  EXPECT_EQ(msg.mTimeStamp.mDays, 44000);
  EXPECT_EQ(msg.mTimeStamp.mSecs, 3600);

  EXPECT_EQ(KSMPWire::SystemMsgSize(-1, 0), -1);
  EXPECT_EQ(KSMPWire::SystemMsgSize(INT32_MAX - 10, 0), -1);
}

TEST(KSMPWireTest, SystemMsgSizesMustFitThePayload) {
  KSMPSystemMsg msg;
  std::vector<uint8> good = SystemMsg(5, "abc", "de");

  // The padding is optional: texts and terminators are enough (16 + 3 + 2 + 2).
  std::vector<uint8> trimmed(good.begin(), good.begin() + 23);
  EXPECT_EQ(0, KSMPWire::UnpackSystemMsg(PacketOver(trimmed), &msg));
  trimmed.pop_back();
  EXPECT_EQ(kKSErr_FailedCheck, KSMPWire::UnpackSystemMsg(PacketOver(trimmed), &msg));

  std::vector<uint8> shortPrefix(good.begin(), good.begin() + 15);
  EXPECT_EQ(kKSErr_FailedCheck, KSMPWire::UnpackSystemMsg(PacketOver(shortPrefix), &msg));

  struct {
    uint32 desc, data;
  } bad[] = {{0xFFFFFFFF, 0}, {0, 0xFFFFFFFF}, {0x7FFFFFFF, 0x7FFFFFFF}, {4, 2}, {3, 11}};
  for (auto sizes : bad) {
    std::vector<uint8> p = good;
    KSPutBE32(sizes.desc, p.data() + 4);
    KSPutBE32(sizes.data, p.data() + 8);
    EXPECT_EQ(kKSErr_FailedCheck, KSMPWire::UnpackSystemMsg(PacketOver(p), &msg))
        << sizes.desc << " " << sizes.data;
  }

  // A text whose terminator is not zero would run on into what follows.
  std::vector<uint8> unterminated = good;
  unterminated[16 + 3] = 'x';
  EXPECT_EQ(kKSErr_FailedCheck, KSMPWire::UnpackSystemMsg(PacketOver(unterminated), &msg));
}
