#include "resources/font.h"
void f() { video->freeSurface(s); }
