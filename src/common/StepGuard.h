// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "common/Failure.h"

#include <QString>

#include <exception>

// The error trap of a reporting handler. It records the number of each step
// before running it; a step that fails is reported in the error report box and
// the handler goes on behind it. Nothing escapes to the caller.
class StepGuard
{
public:
    explicit StepGuard(QString locationLabel) : m_label(std::move(locationLabel)) {}
    // A guard whose failures nobody sees, for the work done after the display has gone.
    enum UnseenTag { Unseen };
    explicit StepGuard(UnseenTag) : m_unseen(true) {}

    // Runs one step. Returns false when it failed (and was reported).
    template <typename Action> bool step(int number, Action &&action)
    {
        m_step = number;
        try {
            action();
            return true;
        } catch (const Failure &failure) {
            report(failure.description());
        } catch (const std::exception &failure) {
            report(QString::fromLocal8Bit(failure.what()));
        } catch (...) {
            report(QString());
        }
        return false;
    }

    // The condition of a branch. A test that fails counts as passed, so the
    // steps it guards still run.
    template <typename Condition> bool test(int number, Condition &&condition)
    {
        bool result = true;
        step(number, [&] { result = condition(); });
        return result;
    }

    // A loop: `setup` answers whether there is a first entry, `advance` whether
    // there is a next one. A failed set-up or advance ends the loop; a failure
    // inside `body` is the body's own business (it uses step() itself).
    template <typename Setup, typename Advance, typename Body>
    void loop(int setupStep, Setup &&setup, int advanceStep, Advance &&advance, Body &&body)
    {
        bool more = false;
        if (!step(setupStep, [&] { more = setup(); }))
            return;
        while (more) {
            body();
            if (!step(advanceStep, [&] { more = advance(); }))
                return;
        }
    }

    int failures() const { return m_failures; }

private:
    void report(const QString &description);

    QString m_label;
    bool m_unseen = false;
    int m_step = 0;
    int m_failures = 0;
};
