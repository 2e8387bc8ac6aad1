// Packet framing: what a sender writes, a receiver reassembles, whatever the
// stream's segmentation, and hostile sizes are refused.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "foundation/KSError.h"
#include "net/KSPacketObj.h"
#include "net/KSPacketReceiver.h"
#include "net/KSPacketWire.h"

namespace {

struct Received {
  std::vector<uint8> header;
  KSTime time;
  std::string data;
  bool zeroTerminated;
};

void Collect(const KSPacket& inPacket, void* inUser) {
  Received r;
  r.header.assign(inPacket.mHeader, inPacket.mHeader + kKSPacketHeaderSize);
  r.time = inPacket.mTimeSent;
  r.data.assign(reinterpret_cast<const char*>(inPacket.mData), size_t(inPacket.mDataSize));
  r.zeroTerminated =
      inPacket.mData[inPacket.mDataSize] == 0 && inPacket.mData[inPacket.mDataSize + 1] == 0;
  static_cast<std::vector<Received>*>(inUser)->push_back(r);
}

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
std::vector<uint8> Wire(const KSPacket& inPacket, int32 inChunk) {
  std::vector<uint8> out;
  uint8 buf[1024];
  int64 offset = 0;
  for (;;) {
    int32 n = KSPacketWire::CopyWireBytes(inPacket, offset, buf, inChunk);
    if (n == 0) {
      break;
    }
    out.insert(out.end(), buf, buf + n);
    offset += n;
  }
  return out;
}

std::vector<uint8> HeaderAnnouncing(uint32 inDataSize) {
  KSPacket p = MakePacket(0, "");
  std::vector<uint8> wire(kKSPacketWireHeaderSize);
  KSPacketWire::EncodeHeader(p, wire.data());
  wire[64] = uint8(inDataSize >> 24);
  wire[65] = uint8(inDataSize >> 16);
  wire[66] = uint8(inDataSize >> 8);
  wire[67] = uint8(inDataSize);
  return wire;
}

}  // namespace

TEST(KSPacketFramingTest, WireHeaderIsBigEndian) {
  std::string data(300, 'x');
  KSPacket p = MakePacket(1, data);
  p.mTimeSent.mDays = 0x01020304;
  p.mTimeSent.mSecs = 0x0A0B0C0D;
  std::vector<uint8> wire = Wire(p, 1024);
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
    std::vector<uint8> wire = Wire(MakePacket(uint8(i), payloads[i]), 1024);
    stream.insert(stream.end(), wire.begin(), wire.end());
  }

  for (int64 chunk : {int64(1), int64(13), int64(76), int64(1024), int64(stream.size())}) {
    SCOPED_TRACE(chunk);
    KSPacketReceiver receiver;
    std::vector<Received> got;
    for (size_t at = 0; at < stream.size(); at += size_t(chunk)) {
      int64 n = std::min<int64>(chunk, int64(stream.size() - at));
      ASSERT_EQ(0, receiver.Feed(stream.data() + at, n, Collect, &got));
    }
    EXPECT_FALSE(receiver.InPacket());
    ASSERT_EQ(got.size(), payloads.size());
    for (size_t i = 0; i < payloads.size(); i++) {
      KSPacket expected = MakePacket(uint8(i), payloads[i]);
      EXPECT_EQ(0, memcmp(got[i].header.data(), expected.mHeader, 64));
      EXPECT_EQ(got[i].time.mDays, expected.mTimeSent.mDays);
      EXPECT_EQ(got[i].time.mSecs, expected.mTimeSent.mSecs);
      EXPECT_EQ(got[i].data, payloads[i]);
      EXPECT_TRUE(got[i].zeroTerminated);
    }
  }
}

TEST(KSPacketFramingTest, ReadSpaceNeverCrossesAPacket) {
  KSPacketReceiver receiver;
  EXPECT_EQ(receiver.ReadSpace(), 76);
  std::vector<Received> got;
  std::vector<uint8> wire = Wire(MakePacket(2, std::string(2000, 'z')), 1024);
  ASSERT_EQ(0, receiver.Feed(wire.data(), 70, Collect, &got));
  EXPECT_EQ(receiver.ReadSpace(), 6);
  ASSERT_EQ(0, receiver.Feed(wire.data() + 70, 6, Collect, &got));
  EXPECT_EQ(receiver.ReadSpace(), 1024);
  ASSERT_EQ(0, receiver.Feed(wire.data() + 76, 1500, Collect, &got));
  EXPECT_EQ(receiver.ReadSpace(), 500);
  EXPECT_TRUE(receiver.InPacket());
  EXPECT_TRUE(got.empty());
}

TEST(KSPacketFramingTest, DataSizeLimit) {
  {
    // The largest accepted size: the receiver waits for the data.
    KSPacketReceiver receiver;
    std::vector<Received> got;
    std::vector<uint8> header = HeaderAnnouncing(kKSMaxIncomingDataSize);
    EXPECT_EQ(0, receiver.Feed(header.data(), int64(header.size()), Collect, &got));
    EXPECT_TRUE(receiver.InPacket());
    EXPECT_EQ(receiver.ReadSpace(), 1024);
  }
  for (uint32 size : {kKSMaxIncomingDataSize + 1, 0x80000000u, 0xFFFFFFFFu}) {
    KSPacketReceiver receiver;
    std::vector<Received> got;
    std::vector<uint8> header = HeaderAnnouncing(size);
    EXPECT_EQ(kKSErr_Protocol, receiver.Feed(header.data(), int64(header.size()), Collect, &got));
    EXPECT_TRUE(got.empty());
  }
}

TEST(KSPacketFramingTest, PacketObjIsAnIndependentTerminatedCopy) {
  for (size_t size : {size_t(0), size_t(97), size_t(98), size_t(4000)}) {
    std::string data(size, 'q');
    KSPacket p = MakePacket(9, data);
    KSPacketObj* obj = KSPacketObj::Copy(p);
    ASSERT_NE(obj, nullptr);
    data.assign(size, 'r');  // the source goes away or changes
    EXPECT_EQ(obj->mPacket.mDataSize, int32(size));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(obj->mPacket.mData), size),
              std::string(size, 'q'));
    EXPECT_EQ(obj->mPacket.mData[size], 0);
    EXPECT_EQ(obj->mPacket.mData[size + 1], 0);
    EXPECT_EQ(0, memcmp(obj->mPacket.mHeader, p.mHeader, 64));
    EXPECT_EQ(obj->mPacket.mTimeSent.mSecs, p.mTimeSent.mSecs);
    delete obj;
  }
}
