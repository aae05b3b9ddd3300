#pragma once

// Sends what is written to standard error (file descriptor 2) to /dev/null
// while it lives, and restores it after. For calls into libraries that talk
// on stderr about what they try: opening the audio device without a sound
// card makes the ALSA library print a page of lines, where the game owes
// the user one. Whatever the program itself has to say it says before or
// after. If /dev/null cannot be opened nothing is silenced.
class SilencedStderr {
public:
    SilencedStderr();
    ~SilencedStderr();
    SilencedStderr(const SilencedStderr&) = delete;
    SilencedStderr& operator=(const SilencedStderr&) = delete;

private:
    int m_saved;  // a duplicate of the real stderr; -1 when nothing was silenced
};
