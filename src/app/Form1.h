// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "app/YieldRule.h"
#include "common/SkinEngine.h"
#include "proc/ProcessPass.h"
#include "proc/TaskPass.h"

#include <QCursor>
#include <QWidget>

#include <array>
#include <chrono>
#include <functional>
#include <optional>

class ListView;
class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTimer;
class StepGuard;
class TerminationBatch;
class cSysTray;
struct ListLayout;
struct PlatformServices;

// The main window: the running list, the kill list, the commands and options.
class Form1 : public QWidget
{
    Q_OBJECT

    // What may run while the window yields midway; declared first, for killBusy.
    YieldRule m_yields;

public:
    // The window's pointer setting: the system arrow, or the custom picture.
    enum MousePointer { DefaultPointer = 0, CustomPointer = 99 };

    Form1(PlatformServices &platform, QString programFolder, QWidget *parent = nullptr);
    ~Form1() override;

    // Runs once, before the window is first shown.
    void Form_Load();
    // Runs whenever the window is about to close; never cancels.
    void Form_QueryUnload();
    // Who asked for the end: the user (the window's close, the program's own
    // row in a kill pass), or someone outside with nobody left to answer boxes.
    enum class EndRequest { ByUser, Unattended };
    // Ends the program as a close does, once its YieldRule lets it.
    void requestEnd(EndRequest request);
    // When the program is ended from under it (Qt ends it when the display
    // goes), saves the kill list without a word, unless the close handler ran.
    void saveKillListAtExit() noexcept;

    // The process pass: lists the running processes, the list emptied first.
    void loadProcesses();
    // The task pass: appends the desktop's tasks to the running list.
    void loadWindows();
    // Starts monitoring with a new deadline, one interval from now.
    void StartTimer();
    // Stops monitoring.
    void StopTimer();

    // Command and option handlers, run by the controls and callable as the
    // user's actions.
    void PushButton1_Click();
    void PushButton2_Click();
    void PushButton5_Click();
    void PushButton6_Click();
    void PushButton7_Click();
    void PushButton8_Click();
    void PushButton9_Click();
    void Option3_Click();
    void Option4_Click();
    void Text1_Change();
    void Text1_GotFocus();
    void Text1_LostFocus();
    void Timer1_Timer();
    void Check1_Click();
    void Form_Resize();
    void cSysTray1_MouseUp(qint16 Button, quint32 Id);

    // The keep-on-top box's value: 0 off, 1 on, 2 the grey undecided state.
    int check1Value() const;

    // A clock that only moves forward, as time since a fixed moment. Monitoring
    // runs on it, so that setting the wall clock back never stalls it.
    using MonotonicClock = std::function<std::chrono::nanoseconds()>;
    void setMonotonicClock(MonotonicClock clock) { m_clock = std::move(clock); }
    // When the next automatic refresh is due, on that clock.
    std::chrono::nanoseconds nextRefreshTime{};

    // The tasks of the latest walk.
    TaskTable taskTable;
    // This window, recorded at start-up; the task pass leaves it out.
    WindowHandle mainWindowHandle = 0;
    // True while a kill pass, its closing refresh included, runs.
    const bool &killBusy = m_yields.killBusy();
    // True from a minimise that hid the window until the tray icon brings it back.
    bool minimizedToTray = false;

    int mousePointer() const { return m_mousePointer; }
    const std::optional<QCursor> &mouseIcon() const { return m_mouseIcon; }

    ListView *ListView1 = nullptr;
    ListView *ListView2 = nullptr;
    QPushButton *PushButton1 = nullptr;
    QPushButton *PushButton2 = nullptr;
    QPushButton *PushButton5 = nullptr;
    QPushButton *PushButton6 = nullptr;
    QPushButton *PushButton7 = nullptr;
    QPushButton *PushButton8 = nullptr;
    QPushButton *PushButton9 = nullptr;
    QGroupBox *Frame2 = nullptr;
    QRadioButton *Option3 = nullptr;
    QRadioButton *Option4 = nullptr;
    QLineEdit *Text1 = nullptr;
    QCheckBox *Check1 = nullptr;
    QTimer *Timer1 = nullptr;
    cSysTray *cSysTray1 = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::array<QPushButton *, 7> pushButtons() const;
    void createControls();
    void createTrayControl();
    void watchTrayWhileHidden();
    void placeControls();
    void applyFonts();
    void nameControlsForAccessibility();
    void makeKeyboardAndReaderFriendly();
    void orderTabStops();
    static bool pressedByEnter(QObject *watched, const QEvent *event);
    void connectPointerFeedback();
    void centreOnScreen();

    void loadSkin();
    void takeThemeIcon();
    void setUpColumns(StepGuard &guard);
    static void setUpColumns(StepGuard &guard, ListView &list, const ListLayout &layout);
    void refreshRunningList(StepGuard &guard, int firstStep);
    void runDeferredCommands();
    bool restoreKillList(StepGuard &guard);
    void restoreOptions(StepGuard &guard);
    void applyRefreshOption(StepGuard &guard, int firstStep);
    void saveKillList(StepGuard &guard);
    QString killListEntry(int position) const;
    void markAll(const char *handlerLabel, bool checked);
    void markByName(const char *handlerLabel, bool containing);
    bool killRow(StepGuard &guard, TerminationBatch &batch, int position);
    void endProgram();
    void endWhenIdle();
    void endLaterIfRequested();

    void connectCommands();
    void chooseRefreshOption(const char *handler);
    void watchText1Focus(QEvent *event);
    void setCheck1Value(int value);
    bool keptOnTop() const;
    void applyKeepOnTop(StepGuard &guard, int firstStep);
    void applyKeepOnTopOnceShown();
    WindowHandle ownWindow();

    void Form_MouseMove();
    void ListView1_MouseMove();
    void ListView2_MouseMove();
    void Frame2_MouseMove();
    void Check1_MouseMove();
    void PushButton_MouseMove();
    void setMousePointer(int pointer);

    PlatformServices &m_platform;
    ProcessRowTexts m_processRowTexts;
    QString m_programFolder;
    int m_mousePointer = DefaultPointer;
    std::optional<QCursor> m_mouseIcon;
    SkinEngine SkinFramework1;
    bool m_unloaded = false;
    bool m_killListRestored = false;
    bool m_everShown = false;
    bool m_keepOnTopWaits = false;
    MonotonicClock m_clock;
    QTimer *m_trayWatch = nullptr;
};
