// The wire: what a sender writes, a receiver reassembles, whatever the
// stream's segmentation, and hostile sizes are refused; the KSMP header and
// system message layout, and the checks that keep a hostile system message
// from pointing past its payload.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "PacketTestSupport.h"
#include "foundation/KSError.h"
#include "net/KSByteOrder.h"
#include "net/KSMPWire.h"
#include "net/KSPacketObj.h"
#include "net/KSPacketReceiver.h"
#include "net/KSPacketWire.h"

namespace {

// The wire form, written the way the session thread writes it: a bounded
// buffer's worth at a time.
std::vector<uint8> Wire(const KSPacket& inPacket, int32 inChunk = 1024) {
  std::vector<uint8> out;
  uint8 buf[1024];
  for (int32 n; (n = KSPacketWire::CopyWireBytes(inPacket, int64(out.size()), buf, inChunk)) > 0;) {
    out.insert(out.end(), buf, buf + n);
  }
  return out;
}

// The packets a receiver handed out, copied as a queued session keeps them
// and encoded again.
struct Received {
  std::vector<uint8> mWire;
  int mPackets = 0;
  bool mAllTerminated = true;  // each one's data, and its copy's, was followed by two zeros
};

void Collect(const KSPacket& inPacket, void* inUser) {
  Received* r = static_cast<Received*>(inUser);
  std::unique_ptr<KSPacketObj> copy(KSPacketObj::Copy(inPacket));
  std::vector<uint8> wire = Wire(copy->mPacket);
  r->mWire.insert(r->mWire.end(), wire.begin(), wire.end());
  r->mPackets++;
  for (const uint8* data : {inPacket.mData, copy->mPacket.mData}) {
    r->mAllTerminated =
        r->mAllTerminated && (data[inPacket.mDataSize] | data[inPacket.mDataSize + 1]) == 0;
  }
}

KSPacket PacketOver(const std::vector<uint8>& inPayload) {
  KSPacket p = {};
  p.mTimeSent.mDays = 44000;
  p.mTimeSent.mSecs = 3600;
  p.mDataSize = int32(inPayload.size());
  p.mData = inPayload.data();
  return p;
}

}  // namespace

TEST(KSPacketFramingTest, WireHeaderIsBigEndian) {
  std::string data(300, 'x');
  KSPacket p = MakePacket(1, data);
  p.mTimeSent.mDays = 0x01020304;
  p.mTimeSent.mSecs = 0x0A0B0C0D;
  std::vector<uint8> wire = Wire(p);
  ASSERT_EQ(wire.size(), 376u);
  EXPECT_EQ(0, memcmp(wire.data(), p.mHeader, 64));
  const uint8 expected[12] = {0, 0, 1, 44, 1, 2, 3, 4, 10, 11, 12, 13};
  EXPECT_EQ(0, memcmp(wire.data() + 64, expected, 12));
  EXPECT_EQ(std::string(wire.begin() + 76, wire.end()), data);
  // The same bytes come out however small the pieces they are copied in.
  EXPECT_EQ(Wire(p, 7), wire);
  EXPECT_EQ(Wire(p, 1), wire);
}

TEST(KSPacketFramingTest, ReassemblesAnySegmentation) {
  // Sizes chosen to make the data buffer grow, be reused, and grow again.
  std::vector<std::string> payloads = {
      "", "hello", std::string(5000, 'a'), "", std::string(3, 'b'), std::string(70000, 'c')};
  for (size_t i = 0; i < payloads[5].size(); i++) {
    payloads[5][i] = char('A' + i % 23);
  }
  std::vector<uint8> stream;
  for (size_t i = 0; i < payloads.size(); i++) {
    std::vector<uint8> wire = Wire(MakePacket(uint8(i), payloads[i]));
    stream.insert(stream.end(), wire.begin(), wire.end());
  }

  for (int64 chunk : {int64(1), int64(13), int64(76), int64(1024), int64(stream.size())}) {
    SCOPED_TRACE(chunk);
    KSPacketReceiver receiver;
    Received got;
    for (size_t at = 0; at < stream.size(); at += size_t(chunk)) {
      int64 n = std::min<int64>(chunk, int64(stream.size() - at));
      ASSERT_EQ(0, receiver.Feed(stream.data() + at, n, Collect, &got));
    }
    EXPECT_FALSE(receiver.InPacket());
    EXPECT_EQ(got.mPackets, int(payloads.size()));
    EXPECT_TRUE(got.mWire == stream);
    EXPECT_TRUE(got.mAllTerminated);
  }

  // A socket reader is offered the whole free buffer: one read may bring the
  // end of one packet and the start of the next.
  KSPacketReceiver receiver;
  Received got;
  EXPECT_EQ(receiver.ReadSpace(), 1024);
  const uint8* fourth = stream.data() + 3 * 76 + 5005;  // no data, then 3 bytes
  memcpy(receiver.ReadBuffer(), fourth, 100);
  ASSERT_EQ(0, receiver.Consume(100, Collect, &got));
  EXPECT_EQ(got.mPackets, 1);
  EXPECT_TRUE(receiver.InPacket());
  EXPECT_EQ(receiver.ReadSpace(), 1024 - 24);
}

TEST(KSPacketFramingTest, DataSizeLimitAndGrowth) {
  // Beyond a first part, room for the data is made only as the data arrives.
  const uint32 kSlack = 256;
  for (uint32 size :
       {kKSMaxIncomingDataSize, kKSMaxIncomingDataSize + 1, 0x80000000u, 0xFFFFFFFFu}) {
    SCOPED_TRACE(size);
    std::vector<uint8> header = Wire(MakePacket(0, ""));
    KSPutBE32(size, header.data() + 64);
    KSPacketReceiver receiver;
    Received got;
    if (size <= kKSMaxIncomingDataSize) {
      // The largest accepted size: the receiver waits for the data.
      EXPECT_EQ(0, receiver.Feed(header.data(), int64(header.size()), Collect, &got));
      EXPECT_TRUE(receiver.InPacket());
      EXPECT_EQ(receiver.ReadSpace(), 1024);
      EXPECT_LE(receiver.DataBufferSize(), KSPacketReceiver::kFirstReserve + kSlack);
    } else {
      EXPECT_EQ(kKSErr_Protocol, receiver.Feed(header.data(), int64(header.size()), Collect, &got));
    }
    EXPECT_EQ(got.mPackets, 0);
  }

  // A large packet: the buffer keeps what arrived, never runs far ahead of
  // it, and the packet comes out whole.
  const uint32 kSize = 3 * KSPacketReceiver::kMaxGrowthStep + 12345;
  std::string data(kSize, '\0');
  for (size_t i = 0; i < data.size(); i++) {
    data[i] = char(i % 251);
  }
  std::vector<uint8> stream = Wire(MakePacket(7, data));
  KSPacketReceiver receiver;
  Received got;
  const size_t kPiece = KSPacketReceiver::kMaxGrowthStep / 3;
  for (size_t at = 0; at < stream.size(); at += kPiece) {
    size_t n = std::min(kPiece, stream.size() - at);
    ASSERT_EQ(0, receiver.Feed(stream.data() + at, int64(n), Collect, &got));
    if (got.mPackets == 0) {
      EXPECT_LE(receiver.DataBufferSize(), at + n + KSPacketReceiver::kMaxGrowthStep + kSlack);
    }
  }
  EXPECT_EQ(got.mPackets, 1);
  EXPECT_TRUE(got.mWire == stream);
  EXPECT_TRUE(got.mAllTerminated);
}

// A reply echoes the request's ticket, flags and cookie.
TEST(KSMPWireTest, HeaderLayoutAndReplyEcho) {
  KSMPCookie cookie = MakeCookie(0xC0);
  uint8 header[64];
  memset(header, 0xAA, sizeof(header));
  KSMPWire::BuildHeader(header, kKSMPKind_Request, 40, 0x01020304, true, &cookie);
  uint8 expected[64] = {2, 1, 40, 0, 4, 3, 2, 1, 1};
  memcpy(expected + 16, cookie.mData, 32);
  EXPECT_EQ(0, memcmp(header, expected, 64));

  header[3] = 0x55;  // a peer's reserved bytes travel back untouched too
  uint8 reply[64];
  KSMPWire::BuildReplyHeader(header, reply);
  expected[1] = kKSMPKind_Reply;
  expected[3] = 0x55;
  expected[8] = 0;  // no reply to a reply
  EXPECT_EQ(0, memcmp(reply, expected, 64));

  KSMPWire::BuildHeader(header, kKSMPKind_SystemMsg, 7, 0, false, nullptr);
  uint8 plain[64] = {2, 2, 7};
  EXPECT_EQ(0, memcmp(header, plain, 64));
}

TEST(KSMPWireTest, SystemMsgLayoutRoundTripAndSizeChecks) {
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

  // The sizes a hostile message gives must fit its payload.
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
