// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/Form1.h"

#include "app/ListView.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

Form1::Form1(PlatformServices &platform, QString programFolder, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      m_platform(platform), m_programFolder(std::move(programFolder)),
      m_clock([] { return std::chrono::steady_clock::now().time_since_epoch(); })
{
    setMouseTracking(true);
    createControls();
    createTrayControl();
    applyFonts();
    nameControlsForAccessibility();
    placeControls();
    makeKeyboardAndReaderFriendly();
    connectPointerFeedback();
    connectCommands();
    centreOnScreen();
    // The first control has the focus when the window opens, so that the
    // interval box is not being edited and monitoring can start.
    ListView1->setFocus();
    // A session that ends the application closes the window too.
    connect(qApp, &QCoreApplication::aboutToQuit, this, &Form1::Form_QueryUnload);
}

Form1::~Form1() = default;

WindowHandle Form1::ownWindow()
{
    return static_cast<WindowHandle>(winId());
}

std::array<QPushButton *, 7> Form1::pushButtons() const
{
    return {PushButton1, PushButton2, PushButton5, PushButton6,
            PushButton7, PushButton8, PushButton9};
}

void Form1::closeEvent(QCloseEvent *event)
{
    // Never cancelled; a close midway is an end asked for.
    if (m_yields.isMidway())
        requestEnd(EndRequest::ByUser);
    else
        Form_QueryUnload();
    event->accept();
}

void Form1::connectPointerFeedback()
{
    for (QPushButton *button : pushButtons())
        button->installEventFilter(this);
    Check1->installEventFilter(this);
    Frame2->installEventFilter(this);
    connect(ListView1, &ListView::mouseMoved, this, &Form1::ListView1_MouseMove);
    connect(ListView2, &ListView::mouseMoved, this, &Form1::ListView2_MouseMove);
}

void Form1::connectCommands()
{
    ListView1->dropInputWhen([this] { return m_yields.dropsListInput(); });
    connect(PushButton1, &QPushButton::clicked, this, &Form1::PushButton1_Click);
    connect(PushButton2, &QPushButton::clicked, this, &Form1::PushButton2_Click);
    connect(PushButton5, &QPushButton::clicked, this, &Form1::PushButton5_Click);
    connect(PushButton6, &QPushButton::clicked, this, &Form1::PushButton6_Click);
    connect(PushButton7, &QPushButton::clicked, this, &Form1::PushButton7_Click);
    connect(PushButton8, &QPushButton::clicked, this, &Form1::PushButton8_Click);
    connect(PushButton9, &QPushButton::clicked, this, &Form1::PushButton9_Click);
    connect(Option3, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            Option3_Click();
    });
    connect(Option4, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            Option4_Click();
    });
    connect(Text1, &QLineEdit::textChanged, this, &Form1::Text1_Change);
    Text1->installEventFilter(this);
    connect(Timer1, &QTimer::timeout, this, &Form1::Timer1_Timer);
    connect(Check1, &QCheckBox::stateChanged, this, &Form1::Check1_Click);
}

bool Form1::eventFilter(QObject *watched, QEvent *event)
{
    if (pressedByEnter(watched, event))
        return true;
    if (watched == Text1 && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut))
        watchText1Focus(event);
    if (event->type() != QEvent::MouseMove)
        return QWidget::eventFilter(watched, event);
    if (watched == Check1) {
        Check1_MouseMove();
    } else if (watched == Frame2) {
        // Moves over the option buttons and the interval box reach the frame
        // too; they change nothing.
        const auto *move = static_cast<QMouseEvent *>(event);
        if (!Frame2->childAt(move->position().toPoint()))
            Frame2_MouseMove();
    } else if (watched->inherits("QPushButton")) {
        PushButton_MouseMove();
    }
    return QWidget::eventFilter(watched, event);
}

void Form1::mouseMoveEvent(QMouseEvent *event)
{
    // Controls pass on moves they ignore; only the bare background counts here.
    if (!childAt(event->position().toPoint()))
        Form_MouseMove();
    QWidget::mouseMoveEvent(event);
}

void Form1::Form_MouseMove()
{
    setMousePointer(DefaultPointer);
}

void Form1::ListView1_MouseMove()
{
    setMousePointer(DefaultPointer);
}

void Form1::ListView2_MouseMove()
{
    setMousePointer(DefaultPointer);
}

void Form1::Frame2_MouseMove()
{
    setMousePointer(DefaultPointer);
}

void Form1::Check1_MouseMove()
{
    setMousePointer(CustomPointer);
}

void Form1::PushButton_MouseMove()
{
    setMousePointer(CustomPointer);
}

void Form1::setMousePointer(int pointer)
{
    if (pointer == m_mousePointer)
        return;
    m_mousePointer = pointer;
    // Without a loaded picture the custom pointer shows the system's default.
    if (pointer == CustomPointer && m_mouseIcon)
        setCursor(*m_mouseIcon);
    else
        unsetCursor();
}
