// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "common/DialogService.h"

#include <QStringList>

#include <functional>

// Answers every box at once and remembers what was shown.
class FakeDialogs : public DialogService
{
public:
    struct Box {
        QString text;
        QString title;
        Icon icon;
    };

    FakeDialogs() { DialogService::install(this); }
    ~FakeDialogs() override { DialogService::install(nullptr); }

    void messageBox(const QString &text, const QString &title, Icon icon) override
    {
        boxes.push_back({text, title, icon});
        if (whileOpen)
            whileOpen();
    }
    QString inputBox(const QString &prompt, const QString &title, const QString &) override
    {
        prompts.append(prompt + QLatin1Char('|') + title);
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }

    // The step numbers of the error reports shown so far, in order.
    QList<int> reportedSteps() const
    {
        QList<int> steps;
        for (const Box &box : boxes) {
            if (box.title != QLatin1String("Application Error"))
                continue;
            const QString line = box.text.section(QStringLiteral("\r\n"), 1).section('\r', 0, 0);
            steps.append(line.section(QStringLiteral("at line "), 1).toInt());
        }
        return steps;
    }

    std::vector<Box> boxes;
    QStringList prompts; // "prompt|title"
    QStringList answers;
    // Runs while a box is open, as events that come meanwhile would.
    std::function<void()> whileOpen;
};
