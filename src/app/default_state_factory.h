#pragma once

#include "platform/state_factory.h"

// The game's own states: the stage select first, a level at every switch,
// and either of them rebuilt from the files on disk by a live reload.
// Only the top layer knows both, so the factory is built here and handed down.
StateFactory defaultStateFactory();
