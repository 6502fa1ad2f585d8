// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "common/SkinEngine.h"

#include "common/Failure.h"

#include <QApplication>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QToolTip>

#include <optional>

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

bool isHexDigit(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= '0' && u <= '9') || (u >= 'a' && u <= 'f') || (u >= 'A' && u <= 'F');
}

// The sheet as Qt's reader sees it: before anything else, it turns each "\"
// and the one to six hex digits behind it into that character (left as they
// are beyond U+FFFF), so that "\75rl(" is a "url(".
QString withHexEscapesReplaced(QString text)
{
    qsizetype at = 0;
    while (at < text.size()) {
        if (text.at(at++) != u'\\')
            continue;
        const qsizetype first = at;
        while (at < text.size() && at - first < 6 && isHexDigit(text.at(at)))
            ++at;
        const qsizetype digits = at - first;
        at = first;
        bool ok = false;
        const ushort code = digits ? QStringView(text).mid(first, digits).toUShort(&ok, 16) : 0;
        if (ok)
            text.replace(first - 1, digits + 1, QChar(code));
    }
    return text;
}

bool isCssSpace(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\f';
}

// The name Qt opens for "url(argument)": the white space in front skipped,
// then, if a quote leads, that and the last character dropped. None when the
// text alone does not tell what Qt makes of it: escapes, brackets, comments,
// quotes that do not enclose the whole, line breaks inside them.
std::optional<QString> pictureName(QStringView argument)
{
    if (argument.contains(u"/*") || std::any_of(argument.begin(), argument.end(), [](QChar c) {
            return QStringView(u"\\(){}[]").contains(c);
        }))
        return std::nullopt;
    while (!argument.isEmpty() && isCssSpace(argument.front()))
        argument = argument.mid(1);
    if (!argument.startsWith(u'"') && !argument.startsWith(u'\''))
        return argument.contains(u'"') || argument.contains(u'\'')
                   ? std::nullopt
                   : std::optional<QString>(argument.toString());
    const qsizetype close = argument.indexOf(argument.front(), 1);
    if (close < 0 || !std::all_of(argument.begin() + close + 1, argument.end(), isCssSpace) ||
        std::any_of(argument.begin(), argument.begin() + close,
                    [](QChar c) { return c == u'\n' || c == u'\r' || c == u'\f'; }))
        return std::nullopt;
    return argument.mid(1, argument.size() - 2).toString();
}

// Why Qt must not open the picture `name`: something is there, but no plain
// file. On a screen of more than one device pixel a pixel, Qt opens
// "name@2x.png" up to "name@9x.png" instead where they are there.
QString pictureProblem(const QString &name)
{
    if (name.isEmpty()) // Qt opens nothing
        return {};
    const qsizetype dot = name.lastIndexOf(u'.');
    QStringList candidates{name};
    for (int density = 2; density <= 9; ++density)
        candidates.append(
            QString(name).insert(dot < 0 ? name.size() : dot, QStringLiteral("@%1x").arg(density)));
    for (const QString &candidate : candidates) {
        const QFileInfo info(candidate);
        if (info.exists() && !info.isFile())
            return QStringLiteral("the picture '%1' is no plain file").arg(candidate);
    }
    return {};
}

// Every place that Qt might read as a picture's name, whatever the case and
// the escapes of its letters, in comments and strings too.
void checkPictures(const QString &path, const QString &sheet)
{
    static const QRegularExpression reference(QStringLiteral(R"(\\?u\\?r\\?l\()"),
                                              QRegularExpression::CaseInsensitiveOption);
    const QString text = withHexEscapesReplaced(sheet);
    for (const QRegularExpressionMatch &match : reference.globalMatch(text)) {
        const qsizetype start = match.capturedEnd();
        const qsizetype end = text.indexOf(u')', start);
        const QStringView argument =
            QStringView(text).mid(start, (end < 0 ? text.size() : end) - start);
        const std::optional<QString> name = pictureName(argument);
        if (!name)
            throw invalidSkin(path, QStringLiteral("cannot tell which picture 'url(%1)' names")
                                        .arg(argument.left(100)));
        if (const QString problem = pictureProblem(*name); !problem.isEmpty())
            throw invalidSkin(path, problem);
    }
}
} // namespace

void SkinEngine::loadSkin(const QString &path, const QByteArray &bytes, const QString &part)
{
    if (bytes.size() > largestFile)
        throw invalidSkin(path, QStringLiteral("larger than %1 KB").arg(largestFile / 1024));
    QString sheet = namedPart(path, decodedSheet(path, bytes), part);
    checkPictures(path, sheet);
    m_sheet = std::move(sheet);
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
