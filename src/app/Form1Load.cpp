// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Start-up and shut-down of the main window.
#include "app/Form1.h"

#include "app/CursorFile.h"
#include "app/ListColumns.h"
#include "app/ListView.h"
#include "common/AfterFirstShow.h"
#include "common/AppIcon.h"
#include "common/ApplicationTitle.h"
#include "common/DialogService.h"
#include "common/ErrorReport.h"
#include "common/Failure.h"
#include "common/ProgramFiles.h"
#include "common/StepGuard.h"
#include "platform/PlainFile.h"
#include "platform/PlatformServices.h"
#include "tray/cSysTray.h"

#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>

void Form1::Form_Load()
{
    StepGuard guard(QStringLiteral(TRELVANIX_FORM1_LABEL("Form_Load")));
    guard.step(102, [&] {
        setWindowTitle(QString::fromLatin1(productName));
        setWindowIcon(appIcon());
        setApplicationTitle();
    });
    guard.step(104, [&] { loadSkin(); });
    const QString cursorPath = programFilePath(m_programFolder, QStringLiteral("\\HAND-M.CUR"));
    if (guard.test(106, [&] { return fileExists(cursorPath); }))
        guard.step(108, [&] { m_mouseIcon = loadCursorFile(cursorPath); });
    setUpColumns(guard);
    guard.step(160, [&] {
        cSysTray1->setTrayTip(QString::fromLatin1(productName));
        setWindowIcon(appIcon());
    });
    guard.step(162, [&] { cSysTray1->setInTray(true); });
    afterFirstShow(this, [this] { takeThemeIcon(); });
    guard.step(164, [&] { mainWindowHandle = ownWindow(); });
    refreshRunningList(guard, 166);
    // A session that is not asked for its windows before the window is up
    // is asked once it is.
    afterFirstShow(this, [this] {
        if (!m_platform.windowWalk->walkedAll())
            PushButton1_Click();
    });
    m_killListRestored = restoreKillList(guard);
    restoreOptions(guard);
    applyRefreshOption(guard, 206);
    m_yields.startUpEnds();
    endLaterIfRequested();
}

// The theme's picture for the window and the icon, where it has one.
void Form1::takeThemeIcon()
{
    const QIcon themed = themeAppIcon();
    if (themed.isNull())
        return;
    setWindowIcon(themed);
    cSysTray1->setTrayIcon(Picture{Picture::Icon, themed});
}

void Form1::setUpColumns(StepGuard &guard)
{
    setUpColumns(guard, *ListView1, runningLayout);
    setUpColumns(guard, *ListView2, killListLayout);
}

void Form1::setUpColumns(StepGuard &guard, ListView &list, const ListLayout &layout)
{
    for (const ListColumn &column : layout.columns)
        guard.step(column.addStep, [&] { list.addColumn(QString::fromUtf8(column.header)); });
    for (std::size_t index = 0; index < layout.columns.size(); ++index) {
        const ListColumn &column = layout.columns[index];
        guard.step(column.widthStep,
                   [&] { list.setColumnWidthTwips(int(index) + 1, column.widthTwips); });
    }
    guard.step(layout.sortedStep, [&] { list.setSorted(true); });
    guard.step(layout.sortKeyStep, [&] { list.setSortKey(layout.sortKey); });
}

void Form1::Form_QueryUnload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    StepGuard guard(QStringLiteral(TRELVANIX_FORM1_LABEL("Form_QueryUnload")));
    // A list not yet read from the store would overwrite it with nothing.
    if (m_killListRestored)
        saveKillList(guard);
    guard.step(110, [&] { cSysTray1->setInTray(false); });
    guard.step(112, [] { QCoreApplication::processEvents(); });
    guard.step(114, [&] { endProgram(); });
}

void Form1::requestEnd(EndRequest request)
{
    if (request == EndRequest::Unattended)
        DialogService::answerUnattended();
    m_yields.endAskedFor();
    endLaterIfRequested();
}

void Form1::endWhenIdle()
{
    if (m_yields.endRuns())
        Form_QueryUnload();
}

void Form1::endLaterIfRequested()
{
    // Queued, so that it runs from the event loop and not before it starts.
    if (m_yields.endWaits())
        QMetaObject::invokeMethod(this, &Form1::endWhenIdle, Qt::QueuedConnection);
}

void Form1::endProgram()
{
    Timer1->stop();
    // Leaves every event loop, nested ones of open boxes included.
    QCoreApplication::exit(0);
}

void Form1::loadSkin()
{
    const QString skinPath = programFilePath(m_programFolder, QStringLiteral("\\x\\o.cjs"));
    if (!QFileInfo(skinPath).isFile())
        return;
    // The controls that show the window's background take the face colour
    // before the skin goes on.
    const QColor face = QApplication::palette().color(QPalette::Button);
    QList<QWidget *> faced{this};
    for (QWidget *control : findChildren<QWidget *>())
        if (qobject_cast<QRadioButton *>(control) || qobject_cast<QCheckBox *>(control) ||
            qobject_cast<QGroupBox *>(control) || qobject_cast<QLabel *>(control))
            faced.append(control);
    for (QWidget *widget : faced) {
        QPalette palette = widget->palette();
        palette.setColor(QPalette::Window, face);
        widget->setPalette(palette);
        widget->setAutoFillBackground(true);
    }
    // Loaded, switched on and told what to cover before it is applied, so
    // that the window is drawn skinned once.
    const PlainFileBytes skin = readPlainFile(skinPath, SkinEngine::largestFile + 1);
    if (!skin.problem.isEmpty())
        throw Failure(
            QStringLiteral("Cannot read the skin file '%1': %2").arg(skinPath, skin.problem));
    SkinFramework1.loadSkin(skinPath, skin.bytes, QString());
    SkinFramework1.setOptions(SkinFramework1.options() | SkinEngine::Enabled);
    SkinFramework1.setSkinsDialogs(true);
    SkinFramework1.setSkinsToolTips(true);
    SkinFramework1.applyToWindow(winId());
}
