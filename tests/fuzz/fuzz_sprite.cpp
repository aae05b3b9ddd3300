// Fuzzes sprite loading and animation: a Sprite built from fuzzed INI text,
// then driven by fuzzer-chosen calls (animation and sheet indices inside and
// outside the tables). Input: the INI text, a separator line, control bytes.

#include "fuzz/fuzz_parts.h"
#include "fuzz/fuzz_video_service.h"
#include "resources/ini_dictionary.h"
#include "resources/sprite.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

void check(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "sprite: %s\n", what);
    std::abort();
}

constexpr int kMaxCalls = 2000;

// An index around a table of `count` entries: mostly valid, sometimes just
// outside, sometimes anything.
int32_t pickIndex(FuzzedDataProvider& control, int32_t count) {
    switch (control.ConsumeIntegralInRange<int>(0, 3)) {
        case 0: return control.ConsumeIntegral<int32_t>();
        case 1: return control.ConsumeBool() ? -1 : count;
        default: return control.ConsumeIntegralInRange<int32_t>(0, count > 0 ? count - 1 : 0);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<std::string> parts = splitFuzzParts(data, size, 2);
    FuzzVideoService video;
    {
        Sprite sprite(IniDictionary::fromText(parts[0]), "fuzz-sprite.ini");
        check(sprite.animationCount() >= 0 && sprite.sheetCount() >= 0, "negative table size");
        FuzzedDataProvider control(reinterpret_cast<const uint8_t*>(parts[1].data()), parts[1].size());
        for (int call = 0; call < kMaxCalls && control.remaining_bytes() > 0; ++call) {
            switch (control.ConsumeIntegralInRange<int>(0, 5)) {
                case 0: sprite.setAnimation(pickIndex(control, sprite.animationCount())); break;
                case 1: sprite.setPingPong(); break;
                case 2: sprite.restartFrame(); break;
                case 3: {
                    const int steps = control.ConsumeIntegralInRange<int>(1, 300);
                    for (int i = 0; i < steps; ++i) sprite.update();
                    break;
                }
                default: {
                    const int32_t x = control.ConsumeIntegral<int32_t>();
                    const int32_t y = control.ConsumeIntegral<int32_t>();
                    sprite.draw(x, y, pickIndex(control, sprite.sheetCount()));
                    break;
                }
            }
            check(sprite.direction() == 1 || sprite.direction() == -1, "ping-pong direction is not +1 or -1");
        }
        // Every sheet of every animation, once more at the end.
        for (int32_t a = -1; a <= sprite.animationCount() && a < 64; ++a) {
            sprite.setAnimation(a);
            sprite.update();
            for (int32_t sheet = -1; sheet <= sprite.sheetCount() && sheet < 64; ++sheet) sprite.draw(0, 0, sheet);
        }
    }
    video.expectAllFreed();
    return 0;
}
