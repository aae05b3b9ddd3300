#include "platform/sound_event_log.h"

#include "platform/audio_service.h"
#include "platform/wrapping_arithmetic.h"

void SoundEventLog::add(SoundEvent event) {
    if (m_size == kCapacity) {
        m_dropped = wrappingAdd(m_dropped, 1);
        return;  // full: counted only
    }
    m_events[static_cast<size_t>(m_size++)] = event;
}

void SoundEventLog::clear() {
    m_size = 0;
    m_dropped = 0;
}

SoundEventLog& frameSoundEvents() {
    static SoundEventLog log;
    return log;
}

void raiseSoundEvent(SoundEvent event) {
    frameSoundEvents().add(event);
    getAudioService().playEffect(event);
}
