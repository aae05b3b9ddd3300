#include "player/player_host.h"

PlayerHost::~PlayerHost() = default;
