#include "platform/sound_event.h"

namespace {
const char* const kNames[kSoundEventCount] = {"jump",       "land",  "shoot", "hurt",     "ladder",      "transition",
                                              "ready",      "beam",  "menuMove", "menuConfirm", "menuBack", "pause"};
}

const char* soundEventName(SoundEvent event) {
    const int index = indexOf(event);
    return index >= 0 && index < kSoundEventCount ? kNames[index] : "unknown";
}

bool soundEventFromName(const std::string& name, SoundEvent& event) {
    for (int i = 0; i < kSoundEventCount; ++i) {
        if (name == kNames[i]) {
            event = soundEventAt(i);
            return true;
        }
    }
    return false;
}
