#include "foundation/KSObject.h"

KSObject::~KSObject() {}

uint32 KSObject::HashCode(long) const {
  return 0;
}

int32 KSObject::CompareTo(const KSObject*, long) const {
  return -1;
}
