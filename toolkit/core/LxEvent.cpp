#include "LxEvent.h"

LX_DEFINE_CLASS(LxEvent, 0, LxRttiObject)
