// Reassembles whole packets from the bytes of a TCP stream.
//
// The bytes come from the network and are not trusted: a data size over the
// receive limit is refused, and the data buffer grows with the data that has
// actually arrived rather than with the size a header announces, so that a
// peer which announces a huge packet and then stalls costs little. A socket
// reader receives into ReadBuffer(), never more than ReadSpace() bytes (the
// free part of a 1024-byte buffer, so one read may bring the ends and starts
// of several packets), and passes the count to Consume; Feed does the same
// for bytes that are already in memory.
#pragma once

#include <memory>

#include "net/KSPacket.h"

class KSPacketReceiver {
 public:
  // Called once for each whole packet. The packet, and its data, are valid
  // only during the call; the data is followed by two zero bytes so that a
  // text payload reads as a NUL-terminated string.
  typedef void (*PacketProc)(const KSPacket& inPacket, void* inUser);

  static constexpr int32 kBufferSize = 1024;
  // Data bytes a header alone may make room for; beyond this the buffer
  // grows only as the data comes.
  static constexpr uint32 kFirstReserve = 0x10000;
  // The most one growth step adds beyond the data that has arrived.
  static constexpr uint32 kMaxGrowthStep = 0x1000000;

  KSPacketReceiver();
  ~KSPacketReceiver();

  KSPacketReceiver(const KSPacketReceiver&) = delete;
  KSPacketReceiver& operator=(const KSPacketReceiver&) = delete;

  uint8* ReadBuffer() { return mData + mBytesUnprocessed; }
  int32 ReadSpace() const;

  // Takes inNumBytes bytes that were just placed at ReadBuffer(). Returns 0,
  // kKSErr_Protocol when a packet announces more data than the limit, or
  // kKSErr_Internal when its data buffer cannot be allocated. After an error
  // the stream is out of step and must be abandoned.
  long Consume(int32 inNumBytes, PacketProc inProc, void* inUser);

  // Consume for a block of bytes of any length.
  long Feed(const uint8* inBytes, int64 inNumBytes, PacketProc inProc, void* inUser);

  // True while part of a packet has arrived and the rest has not.
  bool InPacket() const { return mBytesProcessed > 0 || mBytesUnprocessed > 0; }

  // Bytes allocated for packet data.
  uint32 DataBufferSize() const { return mTempBufDimSize; }

 private:
  long TakeHeader();
  // Makes room for inNumBytes more data bytes of the current packet.
  long MakeRoomFor(int32 inNumBytes);
  // Makes room for inDataBytes data bytes and the two zeros after them,
  // keeping the data that has arrived.
  long Reserve(uint32 inDataBytes);
  void Shift(int32 inNumBytes);

  uint8 mData[kBufferSize];
  int32 mBytesUnprocessed;  // received and not yet consumed, from mData[0]
  int32 mBytesProcessed;    // of the current packet, header included

  bool mHeaderTaken;
  int32 mIncomingPacketSize;  // wire header plus data size of the current packet
  KSPacket mIncomingPacket;   // mData points into mTempBuf

  std::unique_ptr<uint8[]> mTempBuf;  // the current packet's data, reused while large enough
  uint32 mTempBufDimSize;
};
