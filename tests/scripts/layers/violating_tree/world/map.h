#pragma once

#include "platform/direction.h"
#include "level/level.h"
#include "world/fixed.h"
