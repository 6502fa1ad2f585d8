// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

class QWidget;

// Every modal box and prompt of the program goes through here, so tests can
// answer them instead of a user.
class DialogService
{
public:
    enum class Icon { None, Information, Exclamation };

    virtual ~DialogService() = default;

    // A modal box with an OK button only; returns when it was closed.
    // An empty title means the application title.
    virtual void messageBox(const QString &text, const QString &title, Icon icon) = 0;

    // A modal text prompt; returns the typed text, or the empty text when cancelled.
    virtual QString inputBox(const QString &prompt, const QString &title,
                             const QString &defaultText) = 0;

    static DialogService &current();
    // Installs a service for the rest of the run (or until replaced); nullptr restores the real
    // one.
    static void install(DialogService *service);
    // For the rest of the run nobody is there to answer (the program was asked
    // from outside to end, as at logout): boxes go to standard error and
    // return at once, prompts are cancelled, and the boxes open now close.
    static void answerUnattended();
};

// The real boxes, on Qt's message box and input dialog.
class QtDialogService : public DialogService
{
public:
    // Closes every box and prompt of ours that is open; prompts count as cancelled.
    static void closeOpenBoxes();

    void messageBox(const QString &text, const QString &title, Icon icon) override;
    QString inputBox(const QString &prompt, const QString &title,
                     const QString &defaultText) override;
};
