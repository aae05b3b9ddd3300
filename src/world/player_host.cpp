#include "world/player_host.h"

PlayerHost::~PlayerHost() = default;
