#include "platform/frame_host.h"

FrameHost::~FrameHost() = default;
