// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "common/DialogService.h"

#include "common/ApplicationTitle.h"
#include "common/BoxText.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>
#include <QWindow>

#include <cstdio>
#include <vector>

namespace
{
DialogService *installedService = nullptr;
std::vector<QPointer<QDialog>> openBoxes;

// A key held down on the button that opened a box goes on repeating into it
// and would answer it unread. Typing a space into a prompt stays possible.
class HeldKeysIgnored : public QObject
{
public:
    explicit HeldKeysIgnored(QDialog &box) : m_box(box) { qApp->installEventFilter(this); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
            return false;
        const auto *key = static_cast<const QKeyEvent *>(event);
        auto *widget = qobject_cast<QWidget *>(watched);
        if (!key->isAutoRepeat() || !widget || (widget != &m_box && !m_box.isAncestorOf(widget)))
            return false;
        return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter ||
               (key->key() == Qt::Key_Space && qobject_cast<QAbstractButton *>(widget));
    }

private:
    QDialog &m_box;
};

// Lists a box as open for as long as its own loop runs.
class OpenBox
{
public:
    explicit OpenBox(QDialog &box) : m_heldKeys(box) { openBoxes.emplace_back(&box); }
    ~OpenBox() { openBoxes.pop_back(); }
    OpenBox(const OpenBox &) = delete;
    OpenBox &operator=(const OpenBox &) = delete;

private:
    HeldKeysIgnored m_heldKeys;
};

QString titleOrApplicationTitle(const QString &title)
{
    return title.isEmpty() ? applicationTitle() : title;
}

class StandardErrorDialogs : public DialogService
{
public:
    void messageBox(const QString &text, const QString &title, Icon) override
    {
        // One line each: the box's line breaks would split a report in a log.
        std::fprintf(stderr, "trelvanix: %s: %s\n", qPrintable(titleOrApplicationTitle(title)),
                     qPrintable(boundedForBox(text).simplified()));
    }
    QString inputBox(const QString &, const QString &, const QString &) override { return {}; }
};

// A message box that lies within the screen it shows on, whatever its size:
// QMessageBox bounds only its width, by fixed limits. A text too tall for the
// screen is cut further; what still does not fit is cut off at the edge.
class ScreenFittedBox : public QMessageBox
{
public:
    ScreenFittedBox(Icon icon, const QString &title, const QString &text, QWidget *parent)
        : QMessageBox(icon, title, boundedForBox(text), Ok, parent), m_text(text)
    {
    }

protected:
    void showEvent(QShowEvent *event) override
    {
        QMessageBox::showEvent(event); // sizes and places the box for its text
        fitIntoScreen();
    }

private:
    void fitIntoScreen();
    void narrowTo(int most);

    QString m_text;
};

void ScreenFittedBox::fitIntoScreen()
{
    const QRect area = screen()->availableGeometry();
    const QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    const QRect room = area.marginsRemoved(frame);
    narrowTo(room.width());
    for (qsizetype lines = mostBoxLines / 2; height() > room.height() && lines >= 3; lines /= 2) {
        setText(boundedForBox(m_text, lines)); // sizes the box anew
        narrowTo(room.width());
    }
    setFixedSize(size().boundedTo(room.size()));
    const QSize outer = frameGeometry().size();
    move(qBound(area.left(), x(), area.right() + 1 - outer.width()),
         qBound(area.top(), y(), area.bottom() + 1 - outer.height()));
}

// A narrower box takes the height its wrapped text needs there.
void ScreenFittedBox::narrowTo(int most)
{
    if (width() <= most)
        return;
    layout()->activate();
    setFixedSize(most,
                 layout()->hasHeightForWidth() ? layout()->totalHeightForWidth(most) : height());
}

QMessageBox::Icon qtIcon(DialogService::Icon icon)
{
    switch (icon) {
    case DialogService::Icon::Information:
        return QMessageBox::Information;
    case DialogService::Icon::Exclamation:
        return QMessageBox::Warning;
    case DialogService::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}
} // namespace

DialogService &DialogService::current()
{
    static QtDialogService real;
    return installedService ? *installedService : real;
}

void DialogService::install(DialogService *service)
{
    installedService = service;
}

void DialogService::answerUnattended()
{
    static StandardErrorDialogs unattended;
    installedService = &unattended;
    QtDialogService::closeOpenBoxes();
}

void QtDialogService::closeOpenBoxes()
{
    for (const QPointer<QDialog> &box : openBoxes)
        if (box)
            box->done(QDialog::Rejected);
}

void QtDialogService::messageBox(const QString &text, const QString &title, Icon icon)
{
    ScreenFittedBox box(qtIcon(icon), titleOrApplicationTitle(title), text,
                        QApplication::activeWindow());
    // Texts carry names and titles that other programs choose: never markup.
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    const OpenBox open(box);
    box.exec();
}

QString QtDialogService::inputBox(const QString &prompt, const QString &title,
                                  const QString &defaultText)
{
    QInputDialog dialog(QApplication::activeWindow());
    dialog.setWindowTitle(titleOrApplicationTitle(title));
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setLabelText(prompt);
    dialog.setTextValue(defaultText);
    for (QLabel *label : dialog.findChildren<QLabel *>())
        label->setTextFormat(Qt::PlainText);
    const OpenBox open(dialog);
    return dialog.exec() == QDialog::Accepted ? dialog.textValue() : QString();
}
