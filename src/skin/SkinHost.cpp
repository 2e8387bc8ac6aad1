#include "skin/SkinHost.h"

SkinHost* SkinHost::sSkinHost = nullptr;
