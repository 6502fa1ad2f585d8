#pragma once

#include <QString>

// The leading "@@" of a stored text read as "@", and a text's leading "@@"
// doubled again for storing, so that it reads back: the rule of every store.
QString withLeadingAtUndoubled(QString stored);
QString withLeadingAtDoubled(QString text);
