#include "platform/surface_handle.h"
#include "support/recording_video_service.h"

#include <gtest/gtest.h>

TEST(SurfaceHandle, GivesTheSurfaceBackToTheServiceThatMadeIt) {
    RecordingVideoService maker;
    SurfaceHandle surface = maker.createSurface(4, 4);
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(maker.liveSurfaces(), 1);
    {
        // Another service registered later must not receive it.
        RecordingVideoService later;
        surface.reset();
        EXPECT_EQ(later.liveSurfaces(), 0);
    }
    EXPECT_EQ(maker.liveSurfaces(), 0);
}

TEST(SurfaceHandle, AnEmptyHandleFreesNothing) {
    RecordingVideoService video;
    SurfaceHandle nothing = video.loadBitmap("missing.bmp");
    EXPECT_EQ(nothing, nullptr);
    nothing.reset();
    EXPECT_EQ(video.liveSurfaces(), 0);
}

TEST(SurfaceHandle, MovingTheHandleMovesTheOwnership) {
    RecordingVideoService video;
    SurfaceHandle first = video.createSurface(2, 2);
    SurfaceHandle second = std::move(first);
    EXPECT_EQ(first, nullptr);
    EXPECT_EQ(video.liveSurfaces(), 1);
    second.reset();
    EXPECT_EQ(video.liveSurfaces(), 0);
}
