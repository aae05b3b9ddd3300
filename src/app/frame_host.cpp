#include "app/frame_host.h"

FrameHost::~FrameHost() = default;
