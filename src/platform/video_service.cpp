#include "platform/video_service.h"

namespace {
VideoService* g_videoService = nullptr;
}

VideoService::~VideoService() = default;

bool VideoService::isDebugOverlayShown() const {
    return true;
}

void setVideoService(VideoService* service) {
    g_videoService = service;
}

VideoService* getVideoService() {
    return g_videoService;
}
