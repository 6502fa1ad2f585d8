#pragma once

#include <QIcon>
#include <QMetaType>

// A picture object of the form runtime: its kind, and the image it holds.
struct Picture {
    enum Type : int { None = 0, Bitmap = 1, Metafile = 2, Icon = 3, EnhancedMetafile = 4 };

    Type type = None;
    QIcon image;

    bool isNone() const { return type == None; }
};

Q_DECLARE_METATYPE(Picture)
