#include "platform/browser_page.h"

#ifdef __EMSCRIPTEN__
#include <emscripten.h>

void BrowserPage::frameShown(uint32_t frame) {
    EM_ASM({ if (Module.voltaroFrameShown) Module.voltaroFrameShown($0 >>> 0); }, frame);
}

void BrowserPage::runEnded(int status) {
    EM_ASM({ if (Module.voltaroEnded) Module.voltaroEnded($0); }, status);
}

bool BrowserPage::keepScreen(const std::string& name) {
    return EM_ASM_INT({ return Module.voltaroKeepScreen ? (Module.voltaroKeepScreen(UTF8ToString($0)) ? 1 : 0) : 0; },
                      name.c_str()) != 0;
}
#else
void BrowserPage::frameShown(uint32_t) {}

void BrowserPage::runEnded(int) {}

bool BrowserPage::keepScreen(const std::string&) {
    return false;  // no page to keep it
}
#endif
