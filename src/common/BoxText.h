#pragma once

#include <QString>

// What a message box shows of a text that may be huge: at most 2,000
// characters and 30 lines, cut out of the middle, with long runs free to wrap,
// so that the box always fits the screen.
QString boundedForBox(const QString &text);
