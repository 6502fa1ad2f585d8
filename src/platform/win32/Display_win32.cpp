#include "platform/Display.h"

// A Windows desktop is always there for an interactive program.
QString displayProblem()
{
    return {};
}
