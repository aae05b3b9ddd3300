// Fuzzes font loading and drawing: a Font read from a fuzzed "font.ini",
// then drawText, drawTextTo and drawNumber with fuzzed text, positions,
// numbers and digit counts. Input: font.ini, a separator line, control bytes.

#include "fuzz/fuzz_parts.h"
#include "fuzz/fuzz_video_service.h"
#include "fuzz/fuzz_workspace.h"
#include "resources/font.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

namespace {
constexpr int kMaxCalls = 200;
constexpr int32_t kMaxDigits = 12;  // callers pass small constants; 12 covers every 32-bit magnitude and more
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<std::string> parts = splitFuzzParts(data, size, 2);
    FuzzWorkspace& workspace = FuzzWorkspace::instance();
    workspace.write("font.ini", parts[0]);
    FuzzVideoService video;
    workspace.enter();
    {
        Font font("font.ini");
        const SurfaceHandle target = video.createSurface(64, 16);
        FuzzedDataProvider control(reinterpret_cast<const uint8_t*>(parts[1].data()), parts[1].size());
        for (int call = 0; call < kMaxCalls && control.remaining_bytes() > 0; ++call) {
            const int32_t x = control.ConsumeIntegral<int32_t>();
            const int32_t y = control.ConsumeIntegral<int32_t>();
            switch (control.ConsumeIntegralInRange<int>(0, 2)) {
                case 0: font.drawText(control.ConsumeRandomLengthString(64), x, y); break;
                case 1: font.drawTextTo(control.ConsumeRandomLengthString(64), target.get(), x, y); break;
                default: {
                    const int32_t digits = control.ConsumeIntegralInRange<int32_t>(-1, kMaxDigits);
                    font.drawNumber(control.ConsumeIntegral<int32_t>(), x, y, digits);
                    break;
                }
            }
        }
        font.drawNumber(INT32_MIN, 0, 0, 3);
        font.drawNumber(INT32_MIN, 0, 0, 10);
        font.drawNumber(INT32_MAX, 0, 0, kMaxDigits);
    }
    workspace.leave();
    video.expectAllFreed();
    return 0;
}
