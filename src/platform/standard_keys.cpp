#include "platform/standard_keys.h"

#include <utility>

void StandardKeys::add(SDLKey key, int modifiers, const std::string& purpose, Action action) {
    Entry entry{key, modifiers, purpose, std::move(action)};
    // Keys with modifiers go first, so they are matched before the bare key.
    if (modifiers != KMOD_NONE) {
        m_entries.insert(m_entries.begin(), std::move(entry));
    } else {
        m_entries.push_back(std::move(entry));
    }
}

bool StandardKeys::handle(SDLKey key, int modifiers) const {
    for (const Entry& entry : m_entries) {
        if (entry.key != key) continue;
        if (entry.modifiers != KMOD_NONE && (modifiers & entry.modifiers) == 0) continue;  // needs Alt, say
        if (entry.action) entry.action();
        return true;
    }
    return false;
}

bool StandardKeys::isReserved(SDLKey key, std::string& purpose) const {
    for (const Entry& entry : m_entries) {
        if (entry.key != key || entry.modifiers != KMOD_NONE) continue;
        purpose = entry.purpose;
        return true;
    }
    return false;
}
