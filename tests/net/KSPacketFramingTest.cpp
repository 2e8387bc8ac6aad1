// Packet framing: what a sender writes, a receiver reassembles, whatever the
// stream's segmentation, and hostile sizes are refused.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "foundation/KSError.h"
#include "net/KSByteOrder.h"
#include "net/KSPacketObj.h"
#include "net/KSPacketReceiver.h"
#include "net/KSPacketWire.h"

namespace {

KSPacket MakePacket(uint8 inTag, const std::string& inData) {
  KSPacket p;
  for (int i = 0; i < kKSPacketHeaderSize; i++) {
    p.mHeader[i] = uint8(inTag + i);
  }
  p.mTimeSent.mDays = 45000 + inTag;
  p.mTimeSent.mSecs = 86399 - inTag;
  p.mDataSize = int32(inData.size());
  p.mData = reinterpret_cast<const uint8*>(inData.data());
  return p;
}

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

// The packets a receiver handed out, encoded again.
struct Received {
  std::vector<uint8> mWire;
  int mPackets = 0;
  bool mAllTerminated = true;  // each one's data was followed by two zeros
};

void Collect(const KSPacket& inPacket, void* inUser) {
  Received* r = static_cast<Received*>(inUser);
  std::vector<uint8> wire = Wire(inPacket);
  r->mWire.insert(r->mWire.end(), wire.begin(), wire.end());
  r->mPackets++;
  r->mAllTerminated = r->mAllTerminated && inPacket.mData[inPacket.mDataSize] == 0 &&
                      inPacket.mData[inPacket.mDataSize + 1] == 0;
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

TEST(KSPacketFramingTest, PacketObjIsAnIndependentTerminatedCopy) {
  for (size_t size : {size_t(0), size_t(97), size_t(98), size_t(4000)}) {
    std::string data(size, 'q');
    KSPacket p = MakePacket(9, data);
    std::vector<uint8> wire = Wire(p);
    std::unique_ptr<KSPacketObj> obj(KSPacketObj::Copy(p));
    ASSERT_NE(obj, nullptr);
    data.assign(size, 'r');  // the source goes away or changes
    EXPECT_TRUE(Wire(obj->mPacket) == wire) << size;
    EXPECT_EQ(0, obj->mPacket.mData[size] | obj->mPacket.mData[size + 1]) << size;
  }
}
