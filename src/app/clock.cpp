#include "app/clock.h"

Clock::~Clock() = default;
