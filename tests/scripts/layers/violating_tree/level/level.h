#pragma once

#include "world/map.h"
