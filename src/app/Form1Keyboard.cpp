// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// How the window is reached without a mouse: the order of Tab, Enter on a
// push button, and what a screen reader is told of.
#include "app/Form1.h"

#include "app/ListView.h"

#include <QAccessibleWidget>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace
{
// The window's accessible children but the kill list, which lies below the
// window's edge: out of sight, so no screen reader may announce it.
class WindowWithoutKillList : public QAccessibleWidget
{
public:
    explicit WindowWithoutKillList(Form1 *form) : QAccessibleWidget(form) {}

    int childCount() const override { return static_cast<int>(shownChildren().size()); }
    QAccessibleInterface *child(int index) const override
    {
        const auto children = shownChildren();
        return index >= 0 && index < children.size() ? children[index] : nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        return static_cast<int>(shownChildren().indexOf(const_cast<QAccessibleInterface *>(child)));
    }

private:
    QList<QAccessibleInterface *> shownChildren() const
    {
        const QObject *killList = static_cast<Form1 *>(widget())->ListView2;
        QList<QAccessibleInterface *> children;
        for (int i = 0; i < QAccessibleWidget::childCount(); ++i)
            if (QAccessibleInterface *child = QAccessibleWidget::child(i);
                child && child->object() != killList)
                children.append(child);
        return children;
    }
};

QAccessibleInterface *accessibleWindow(const QString &className, QObject *object)
{
    if (className == QLatin1String(Form1::staticMetaObject.className()) && object &&
        object->isWidgetType())
        return new WindowWithoutKillList(static_cast<Form1 *>(object));
    return nullptr;
}

bool isEnter(const QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<const QKeyEvent *>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}
} // namespace

void Form1::makeKeyboardAndReaderFriendly()
{
    QAccessible::installFactory(&accessibleWindow);
    // The kill list is a stored list, not a control the user works with.
    ListView2->setFocusPolicy(Qt::NoFocus);
    orderTabStops();
    connect(Option3, &QRadioButton::toggled, this, &Form1::orderTabStops);
}

// Tab follows the controls as they stand on the screen. Of the option
// buttons only the chosen one is a stop: Tab passes over the others of its
// group once it leaves the chosen one, so that one comes first. The interval
// box is a stop while it is enabled.
void Form1::orderTabStops()
{
    QRadioButton *chosen = Option4->isChecked() ? Option4 : Option3;
    QRadioButton *other = chosen == Option3 ? Option4 : Option3;
    QWidget *const order[] = {PushButton2, ListView1,   PushButton6, PushButton9,
                              PushButton7, PushButton8, PushButton1, Check1,
                              chosen,      other,       Text1,       PushButton5};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

// Enter and the keypad's Enter press the focused push button, as Space does.
bool Form1::pressedByEnter(QObject *watched, const QEvent *event)
{
    auto *button = qobject_cast<QPushButton *>(watched);
    if (!button || !isEnter(event))
        return false;
    if (!static_cast<const QKeyEvent *>(event)->isAutoRepeat())
        button->click();
    return true;
}
