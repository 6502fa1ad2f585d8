#pragma once

#include "common/DialogService.h"

#include <QStringList>

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
    }
    QString inputBox(const QString &prompt, const QString &, const QString &) override
    {
        prompts.append(prompt);
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }

    // The step numbers of the error reports shown so far, in order.
    QList<int> reportedSteps() const
    {
        QList<int> steps;
        for (const Box &box : boxes) {
            const QString line = box.text.section(QStringLiteral("\r\n"), 1).section('\r', 0, 0);
            steps.append(line.section(QStringLiteral("at line "), 1).toInt());
        }
        return steps;
    }

    std::vector<Box> boxes;
    QStringList prompts;
    QStringList answers;
};
