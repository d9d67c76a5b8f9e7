#include "actions/WindowTargeting.h"

// Placeholder until targeting lands.
void ClearTargetWindow() {}
