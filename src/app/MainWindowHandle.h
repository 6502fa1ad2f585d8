#pragma once

#include "platform/WindowTypes.h"

// The main window's handle, recorded once at start-up; the task pass leaves
// that window out.
inline WindowHandle mainWindowHandle = 0;
