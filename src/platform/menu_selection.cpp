#include "platform/menu_selection.h"

MenuSelection::~MenuSelection() = default;
