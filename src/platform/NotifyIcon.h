#pragma once

#include <QIcon>
#include <QString>

#include "platform/WindowTypes.h"

// The notify-icon record, shaped after the shell's: which fields are valid is
// told by `flags`; texts are cut to their field sizes by the shell layer.
struct NotifyIconData {
    enum Flag : quint32 { Message = 1, Icon = 2, Tip = 4, Info = 16 };
    static constexpr int tipFieldSize = 128;
    static constexpr int infoFieldSize = 256;
    static constexpr int infoTitleFieldSize = 64;

    WindowHandle window = 0;
    quint32 id = 0;
    quint32 flags = 0;
    quint32 callbackMessage = 0;
    QIcon icon;
    QString tip;
    QString info;
    quint32 timeoutMs = 0;
    QString infoTitle;
};

class NotifyIconShell
{
public:
    enum class Request { Add = 0, Modify = 1, Delete = 2 };

    virtual ~NotifyIconShell() = default;
    virtual bool notify(Request request, const NotifyIconData &data) = 0;
};
