// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "common/SkinEngine.h"

#include "common/Failure.h"

#include <QApplication>
#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QToolTip>

namespace
{
Failure invalidSkin(const QString &path, const QString &why)
{
    return Failure(QStringLiteral("Invalid skin file '%1': %2").arg(path, why));
}

QString decodedSheet(const QString &path, const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString sheet = decoder(bytes);
    if (decoder.hasError() || bytes.contains('\0'))
        throw invalidSkin(path, QStringLiteral("not UTF-8 text"));
    return sheet;
}

QString namedPart(const QString &path, const QString &sheet, const QString &part)
{
    if (part.isEmpty())
        return sheet;
    static const QRegularExpression heading(QStringLiteral("^/\\*\\s*\\[(.*)\\]\\s*\\*/\\s*$"),
                                            QRegularExpression::MultilineOption);
    QString found;
    bool inside = false;
    for (const QString &line : sheet.split(QLatin1Char('\n'))) {
        const QRegularExpressionMatch match = heading.match(line);
        if (match.hasMatch())
            inside = match.captured(1) == part;
        else if (inside)
            found += line + QLatin1Char('\n');
    }
    if (found.isEmpty())
        throw invalidSkin(path, QStringLiteral("no part named '%1'").arg(part));
    return found;
}
} // namespace

void SkinEngine::loadSkinFile(const QString &path, const QString &part)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Failure(QStringLiteral("Cannot read the skin file '%1': %2").arg(path, file.errorString()));
    const QByteArray bytes = file.read(largestFile + 1);
    if (bytes.size() > largestFile)
        throw invalidSkin(path, QStringLiteral("larger than %1 KB").arg(largestFile / 1024));
    m_sheet = namedPart(path, decodedSheet(path, bytes), part);
}

void SkinEngine::applyToWindow(WId window) const
{
    QWidget *widget = QWidget::find(window);
    if (!widget || !(m_options & Enabled))
        return;
    widget->setStyleSheet(m_sheet);
    if (m_skinsDialogs)
        qApp->setStyleSheet(m_sheet);
    if (m_skinsToolTips) {
        widget->ensurePolished();
        QToolTip::setPalette(widget->palette());
        QToolTip::setFont(widget->font());
    }
}
