// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "common/AfterFirstShow.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWindow>

#include <utility>
#include <vector>

namespace
{
constexpr int longestWaitMilliseconds = 1000;

// Holds the work until the first expose; the expose is seen before the
// window handles it, and the work queued behind its painting.
class FirstShowWatch : public QObject
{
public:
    // One for each application object, as a test may make several.
    static FirstShowWatch &instance()
    {
        static QPointer<FirstShowWatch> watch;
        if (!watch)
            watch = new FirstShowWatch(qApp);
        return *watch;
    }

    void add(QObject *context, std::function<void()> act)
    {
        if (m_shown) {
            QMetaObject::invokeMethod(context, std::move(act), Qt::QueuedConnection);
            return;
        }
        m_waiting.push_back({context, std::move(act)});
        if (m_waiting.size() == 1) {
            qApp->installEventFilter(this);
            QTimer::singleShot(longestWaitMilliseconds, this, &FirstShowWatch::release);
        }
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Expose && watched->isWindowType() &&
            static_cast<QWindow *>(watched)->isExposed())
            release();
        return false;
    }

private:
    using QObject::QObject;

    struct Waiting {
        QPointer<QObject> context;
        std::function<void()> act;
    };

    void release()
    {
        if (m_shown)
            return;
        m_shown = true;
        qApp->removeEventFilter(this);
        for (Waiting &waiting : std::exchange(m_waiting, {}))
            if (waiting.context)
                QMetaObject::invokeMethod(waiting.context, std::move(waiting.act),
                                          Qt::QueuedConnection);
    }

    bool m_shown = false;
    std::vector<Waiting> m_waiting;
};
} // namespace

void afterFirstShow(QObject *context, std::function<void()> act)
{
    FirstShowWatch::instance().add(context, std::move(act));
}
