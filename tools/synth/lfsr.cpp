#include "lfsr.h"

void Lfsr::step() {
    const uint32_t tap = m_shortLoop ? 6 : 1;
    const uint32_t feedback = (m_state ^ (m_state >> tap)) & 1;
    m_state = (m_state >> 1) | (feedback << 14);
}
