#include "net/KSPacketObj.h"

#include <cstring>
#include <new>

KSPacketObj* KSPacketObj::Copy(const KSPacket& inPacket) {
  KSPacketObj* obj = new (std::nothrow) KSPacketObj;
  if (!obj) {
    return nullptr;
  }
  int32 dataSize = inPacket.mDataSize > 0 ? inPacket.mDataSize : 0;
  uint8* data = obj->mScrap;
  if (int64(dataSize) + 2 >= int64(sizeof(obj->mScrap))) {
    data = new (std::nothrow) uint8[size_t(dataSize) + 2];
    if (!data) {
      delete obj;
      return nullptr;
    }
    obj->mOwnedData = data;
  }
  if (dataSize > 0) {
    memcpy(data, inPacket.mData, size_t(dataSize));
  }
  data[dataSize] = 0;
  data[dataSize + 1] = 0;
  obj->mPacket = inPacket;
  obj->mPacket.mDataSize = dataSize;
  obj->mPacket.mData = data;
  return obj;
}

KSPacketObj::~KSPacketObj() {
  delete[] mOwnedData;
}
