// Address conversions. Only loopback and documentation addresses are used;
// nothing here sends a packet.
#include <gtest/gtest.h>

#include <cstring>

#include "foundation/KSError.h"
#include "net/KSNet.h"
#include "support/LoopbackPeer.h"  // IP4Addr

namespace {

class KSNetAddrTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(0, KSNet::Startup()); }
  void TearDown() override { KSNet::Shutdown(); }
};

KSNetAddr Typed(KSNetAddrType inType) {
  KSNetAddr addr = {};
  addr.mType = inType;
  return addr;
}

KSNetAddr HostName(const char* inName) {
  KSNetAddr addr = Typed(ks_HostName);
  strcpy(addr.u.mHostName, inName);
  return addr;
}

}  // namespace

TEST_F(KSNetAddrTest, TrivialTranslations) {
  KSNetAddr out;
  ASSERT_TRUE(TranslateAddr_Trivial(IP4Addr(192, 168, 1, 2), ks_HostName, &out));
  EXPECT_EQ(out.mType, ks_HostName);
  EXPECT_STREQ(out.u.mHostName, "192.168.1.2");

  KSNetAddr ip6 = Typed(ks_IP6Address);
  const uint8 bytes[16] = {0x20, 0x01, 0x0d, 0xb8, 0, 0, 0, 0, 0, 0, 0, 0, 0xab, 0xcd, 0, 1};
  memcpy(ip6.u.mIP6Addr, bytes, 16);
  ASSERT_TRUE(TranslateAddr_Trivial(ip6, ks_HostName, &out));
  EXPECT_STREQ(out.u.mHostName, "2001:db8:0:0:0:0:abcd:1");

  EXPECT_TRUE(TranslateAddr_Trivial(IP4Addr(127, 0, 0, 1), ks_localhost, &out));
  EXPECT_EQ(out.mType, ks_localhost);
  EXPECT_FALSE(TranslateAddr_Trivial(IP4Addr(203, 0, 113, 9), ks_localhost, &out));
  EXPECT_TRUE(TranslateAddr_Trivial(HostName("localhost"), ks_localhost, &out));
  EXPECT_FALSE(TranslateAddr_Trivial(HostName("elsewhere.example"), ks_localhost, &out));

  ASSERT_TRUE(TranslateAddr_Trivial(Typed(ks_localhost), ks_HostName, &out));
  EXPECT_STREQ(out.u.mHostName, "localhost");
  ASSERT_TRUE(TranslateAddr_Trivial(Typed(ks_localhost), ks_IP4Address, &out));
  EXPECT_EQ(out.mType, ks_IP4Address);
  EXPECT_TRUE(IsAddrLocal(out));

  // Same kind: a copy, in place too.
  KSNetAddr named = HostName("some.host");
  ASSERT_TRUE(TranslateAddr_Trivial(named, ks_HostName, &named));
  EXPECT_STREQ(named.u.mHostName, "some.host");

  // Conversions that need a name service are not trivial.
  EXPECT_FALSE(TranslateAddr_Trivial(HostName("localhost"), ks_IP4Address, &out));
  EXPECT_FALSE(TranslateAddr_Trivial(IP4Addr(127, 0, 0, 1), ks_IP6Address, &out));
}

TEST_F(KSNetAddrTest, LocalAddressesAndSyncTranslation) {
  KSNetAddr list[32];
  long count = DiscoverLocalAddrs(list, 32);
  for (long i = 0; i < count; i++) {
    EXPECT_TRUE(list[i].mType == ks_IP4Address || list[i].mType == ks_IP6Address ||
                list[i].mType == ks_HostName);
    if (list[i].mType != ks_HostName) {
      EXPECT_TRUE(IsAddrLocal(list[i]));
    }
  }
  EXPECT_TRUE(IsAddrLocal(HostName("127.0.0.1")));
  EXPECT_FALSE(IsAddrLocal(Typed(ks_InvalidAddress)));

  KSNetAddr out;
  EXPECT_EQ(kKSErr_Param, KSNet::TranslateAddrSync(IP4Addr(127, 0, 0, 1), ks_HostName, nullptr));
  ASSERT_EQ(0, KSNet::TranslateAddrSync(IP4Addr(10, 20, 30, 40), ks_HostName, &out));
  EXPECT_STREQ(out.u.mHostName, "10.20.30.40");
  EXPECT_EQ(kKSErr_Param, KSNet::TranslateAddrSync(IP4Addr(203, 0, 113, 9), ks_IP6Address, &out));
  EXPECT_EQ(kKSErr_NotLocalHost,
            KSNet::TranslateAddrSync(HostName("203.0.113.9"), ks_localhost, &out));
}
