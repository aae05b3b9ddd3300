#include "platform/clock.h"

Clock::~Clock() = default;
