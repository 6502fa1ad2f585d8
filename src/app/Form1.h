#pragma once

#include "proc/TaskPass.h"

#include <QCursor>
#include <QWidget>

#include <array>
#include <optional>

class ListView;
class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTimer;
class StepGuard;
struct PlatformServices;

// The main window: the running list, the kill list, the commands and options.
class Form1 : public QWidget
{
    Q_OBJECT

public:
    // The window's pointer setting: the system arrow, or the custom picture.
    enum MousePointer { DefaultPointer = 0, CustomPointer = 99 };

    Form1(PlatformServices &platform, QString programFolder, QWidget *parent = nullptr);
    ~Form1() override;

    // Runs once, before the window is first shown.
    void Form_Load();
    // Runs whenever the window is about to close; never cancels.
    void Form_QueryUnload();

    // The task pass: appends the desktop's tasks to the running list.
    void loadWindows();
    // Stops monitoring.
    void StopTimer();

    // The tasks of the latest walk.
    TaskTable taskTable;

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

protected:
    void closeEvent(QCloseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::array<QPushButton *, 7> pushButtons() const;
    void createControls();
    void placeControls();
    void applyFonts();
    void nameControlsForAccessibility();
    void connectPointerFeedback();
    void centreOnScreen();

    void loadProcesses();
    void loadSkin();
    void setUpColumns(StepGuard &guard);
    void applyRefreshOption(StepGuard &guard);
    void endProgram();

    void Form_MouseMove();
    void ListView1_MouseMove();
    void ListView2_MouseMove();
    void Frame2_MouseMove();
    void Check1_MouseMove();
    void PushButton_MouseMove();
    void setMousePointer(int pointer);

    PlatformServices &m_platform;
    QString m_programFolder;
    int m_mousePointer = DefaultPointer;
    std::optional<QCursor> m_mouseIcon;
    bool m_unloaded = false;
};
