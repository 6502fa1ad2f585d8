// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The controls of the main window, their texts, fonts and places.
#include "app/Form1.h"

#include "app/Form1Layout.h"
#include "app/ListView.h"
#include "common/Twips.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>

namespace
{
// Shows the grey undecided state when given it, but a click only ever turns
// the box on or off.
class OnOffClickCheckBox : public QCheckBox
{
public:
    using QCheckBox::QCheckBox;

protected:
    void nextCheckState() override
    {
        setCheckState(checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    }
};

QPushButton *createPushButton(const QString &caption, QWidget *parent)
{
    auto *button = new QPushButton(caption, parent);
    button->setMouseTracking(true);
    return button;
}
} // namespace

void Form1::createControls()
{
    PushButton2 = createPushButton(QStringLiteral("Help"), this);
    ListView1 = new ListView(this);
    ListView1->setCheckBoxes(true);
    ListView1->setToolTip(
        QStringLiteral("Move | line to right and out of window to reveal full names."));
    PushButton6 = createPushButton(QStringLiteral("Select All"), this);
    PushButton9 = createPushButton(QStringLiteral("Unselect All"), this);
    PushButton7 = createPushButton(QStringLiteral("Select Items Containing X Chars"), this);
    PushButton8 = createPushButton(QStringLiteral("Select Items Not Containing X Ch"), this);
    PushButton1 = createPushButton(QStringLiteral("Refresh List Above"), this);
    Check1 = new OnOffClickCheckBox(QStringLiteral("Keep This Window On Top"), this);
    Check1->setMouseTracking(true);
    Frame2 = new QGroupBox(QStringLiteral("Refresh Option"), this);
    Frame2->setMouseTracking(true);
    Option3 = new QRadioButton(QStringLiteral("Refresh list manually with a button"), Frame2);
    Option3->setChecked(true);
    Option4 = new QRadioButton(QStringLiteral("Refresh list automatically every") +
                                   QString(23, QLatin1Char(' ')) + QStringLiteral("second/s"),
                               Frame2);
    Text1 = new QLineEdit(QStringLiteral("1"), Frame2);
    PushButton5 = createPushButton(QStringLiteral("Kill Selected Processes"), this);
    ListView2 = new ListView(this);
    ListView2->setToolTip(QStringLiteral(
        "Double-click item to remove it. Move | line to right and out of window to reveal "
        "full names."));
    Timer1 = new QTimer(this);
    Timer1->setInterval(0);
}

// By the controls' names, so that the program and its tests read one table.
void Form1::placeControls()
{
    const double dpi = logicalDpiX();
    for (const auto &[name, twips] : Form1Layout::places)
        if (auto *control =
                findChild<QWidget *>(QString::fromLatin1(name.data(), qsizetype(name.size()))))
            control->setGeometry(twipsToPixels(twips, dpi));
    // Option4's caption leaves a gap for Text1; keep the box above the caption.
    Text1->raise();
    setFixedSize(twipsToPixels(Form1Layout::clientArea, dpi).size());
}

void Form1::applyFonts()
{
    QFont windowFont(QStringLiteral("Arial"));
    // Where Arial is missing (a new Wine prefix, many a Linux system), faces
    // of its metrics; else the system's fallback, even a serif, cuts captions.
    windowFont.setFamilies(
        {QStringLiteral("Arial"), QStringLiteral("Liberation Sans"), QStringLiteral("Arimo")});
    windowFont.setStyleHint(QFont::SansSerif);
    windowFont.setPointSizeF(9);
    windowFont.setBold(true);
    setFont(windowFont);

    QFont buttonFont = windowFont;
    buttonFont.setPointSizeF(11.25);
    for (QPushButton *button : pushButtons())
        button->setFont(buttonFont);
    Check1->setFont(buttonFont);
}

void Form1::nameControlsForAccessibility()
{
    const std::pair<QWidget *, const char *> names[] = {
        {ListView1, "ListView1"},
        {ListView2, "ListView2"},
        {PushButton1, "PushButton1"},
        {PushButton2, "PushButton2"},
        {PushButton5, "PushButton5"},
        {PushButton6, "PushButton6"},
        {PushButton7, "PushButton7"},
        {PushButton8, "PushButton8"},
        {PushButton9, "PushButton9"},
        {Frame2, "Frame2"},
        {Option3, "Option3"},
        {Option4, "Option4"},
        {Text1, "Text1"},
        {Check1, "Check1"},
    };
    for (const auto &[widget, name] : names)
        widget->setObjectName(QLatin1String(name));
    Timer1->setObjectName(QStringLiteral("Timer1"));

    ListView1->setAccessibleName(QStringLiteral("Running Processes/Tasks"));
    ListView2->setAccessibleName(QStringLiteral("Processes/Tasks To Kill"));
    Text1->setAccessibleName(QStringLiteral("Refresh interval in seconds"));
    for (QPushButton *button : pushButtons())
        button->setAccessibleName(button->text());
    Option3->setAccessibleName(Option3->text());
    Check1->setAccessibleName(Check1->text());
    Option4->setAccessibleName(QStringLiteral("Refresh list automatically every N second/s"));
    Frame2->setAccessibleName(Frame2->title());
}

void Form1::centreOnScreen()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    move(area.center() - rect().center());
}
