#include "common/AppIcon.h"

QIcon appIcon()
{
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/trelvanix-%1.png").arg(size), QSize(size, size));
    return icon;
}
