#include "platform/silenced_stderr.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>

TEST(SilencedStderr, HidesWhatIsWrittenWhileItLivesAndNothingAfter) {
    testing::internal::CaptureStderr();
    std::fputs("before\n", stderr);
    {
        SilencedStderr quiet;
        std::fputs("buffered chatter\n", stderr);
        const char raw[] = "raw chatter\n";
        EXPECT_EQ(write(STDERR_FILENO, raw, sizeof raw - 1), static_cast<ssize_t>(sizeof raw - 1));
    }
    std::fputs("after\n", stderr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "before\nafter\n");
}
