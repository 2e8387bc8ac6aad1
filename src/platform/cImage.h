// One picture, as a frame of a sprite or on its own.
#pragma once

#include "platform/cBaseImage.h"

class cImage : public cBaseImage {};
