#include "net/KSPacketObj.h"

#include <cstring>
#include <memory>
#include <new>

KSPacketObj* KSPacketObj::Copy(const KSPacket& inPacket) {
  std::unique_ptr<KSPacketObj> obj(new (std::nothrow) KSPacketObj);
  if (!obj) {
    return nullptr;
  }
  int32 dataSize = inPacket.mDataSize > 0 ? inPacket.mDataSize : 0;
  uint8* data = obj->mScrap;
  if (int64(dataSize) + 2 >= int64(sizeof(obj->mScrap))) {
    obj->mOwnedData.reset(new (std::nothrow) uint8[size_t(dataSize) + 2]);
    if (!obj->mOwnedData) {
      return nullptr;
    }
    data = obj->mOwnedData.get();
  }
  if (dataSize > 0) {
    memcpy(data, inPacket.mData, size_t(dataSize));
  }
  data[dataSize] = 0;
  data[dataSize + 1] = 0;
  obj->mPacket = inPacket;
  obj->mPacket.mDataSize = dataSize;
  obj->mPacket.mData = data;
  return obj.release();
}

KSPacketObj::~KSPacketObj() {}
