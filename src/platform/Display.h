#pragma once

#include <QString>

// Why the program cannot reach the display the toolkit is about to open, in
// one line for the terminal; empty when it can.
QString displayProblem();
