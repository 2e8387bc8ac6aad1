// One message as the socket layer carries it, and a borrowed byte range.
#pragma once

#include "foundation/KSTime.h"
#include "foundation/KSTypes.h"

constexpr int32 kKSPacketHeaderSize = 64;

// Bytes of one packet on the wire before its data: the 64-byte header, the
// data size and the two halves of the time stamp.
constexpr int32 kKSPacketWireHeaderSize = 76;

// Largest data size a receiver accepts; anything larger ends the session.
constexpr uint32 kKSMaxIncomingDataSize = 200000000;

// Largest data size a sender queues.
constexpr int32 kKSMaxOutgoingDataSize = 0x80000;

struct KSPacket {
  uint8 mHeader[kKSPacketHeaderSize];  // opaque to the transport
  KSTime mTimeSent;                    // set by the sender, carried unchanged
  int32 mDataSize;
  const uint8* mData;  // not owned by the record
};

struct KSBuf {
  const char* mData;
  int32 mNumBytes;
};
