// Root class of the foundation's heap objects. Containers delete, hash and
// order their elements through it.
#pragma once

#include "foundation/KSTypes.h"

class KSObject {
 public:
  virtual ~KSObject();

  // inParam is a flag chosen by the container that asks (for strings it
  // selects case sensitivity).
  virtual uint32 HashCode(long inParam) const;
  virtual int32 CompareTo(const KSObject* inObj, long inParam) const;
};
