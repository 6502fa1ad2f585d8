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

// Where the comment that starts at `at` ends (an open one runs to the end).
qsizetype afterComment(QStringView text, qsizetype at)
{
    const qsizetype close = text.indexOf(u"*/", at + 2);
    return close < 0 ? text.size() : close + 2;
}

// Where the string that starts at `at` ends, past its closing quote; none
// where a line ends first (Qt's reader then takes the rest of the line as
// one invalid token) or the text does. A "\" takes the character after it.
std::optional<qsizetype> afterString(QStringView text, qsizetype at)
{
    const QChar quote = text.at(at);
    for (++at; at < text.size(); ++at) {
        const QChar c = text.at(at);
        if (c == quote)
            return at + 1;
        if (c == u'\n' || c == u'\r' || c == u'\f')
            return std::nullopt;
        if (c == u'\\')
            ++at;
    }
    return std::nullopt;
}

// A token's text as Qt's reader hands it on: each "\" dropped, the
// character after it kept.
QString unescaped(QStringView text)
{
    QString result;
    for (qsizetype at = 0; at < text.size(); ++at)
        result += text.at(at == text.size() - 1 || text.at(at) != u'\\' ? at : ++at);
    return result;
}

struct Reference {
    std::optional<QString> name; // none when the text alone does not tell
    qsizetype end = 0;           // where reading goes on
};

// The name Qt opens for the "url(" whose argument starts at `at`: the white
// space and comments in front skipped, the rest up to the ")" taken as it
// is, and then, if a quote leads, the first and the last character dropped.
// An argument of anything but one string, or a bare name without escapes,
// brackets, quotes and comments, tells nothing for sure.
Reference pictureAt(QStringView text, qsizetype at)
{
    while (at < text.size() && (isCssSpace(text.at(at)) || text.mid(at).startsWith(u"/*")))
        at = isCssSpace(text.at(at)) ? at + 1 : afterComment(text, at);
    const qsizetype start = at;
    const bool quoted = at < text.size() && (text.at(at) == u'"' || text.at(at) == u'\'');
    if (quoted) {
        const std::optional<qsizetype> end = afterString(text, at);
        if (!end)
            return {std::nullopt, text.size()};
        at = *end;
        while (at < text.size() && isCssSpace(text.at(at)))
            ++at;
    } else {
        while (at < text.size() && !QStringView(u"\\(){}[]\"')").contains(text.at(at)) &&
               !text.mid(at).startsWith(u"/*"))
            ++at;
    }
    if (at >= text.size() || text.at(at) != u')')
        return {std::nullopt, at};
    const QString argument = unescaped(text.mid(start, at - start));
    return {quoted ? argument.mid(1).chopped(1) : argument, at + 1};
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

// Every "url(" that Qt's reader may find, whatever the case and the escapes
// of its letters: outside comments and strings, where it reads none.
void checkPictures(const QString &path, const QString &sheet)
{
    const QString replaced = withHexEscapesReplaced(sheet);
    const QStringView text(replaced);
    qsizetype at = 0;
    while (at < text.size()) {
        if (text.mid(at).startsWith(u"/*")) {
            at = afterComment(text, at);
        } else if (text.at(at) == u'"' || text.at(at) == u'\'') {
            const std::optional<qsizetype> end = afterString(text, at);
            at = end ? *end : at + 1;
        } else if (text.mid(at).startsWith(u"url(", Qt::CaseInsensitive)) {
            const Reference picture = pictureAt(text, at + 4);
            if (!picture.name)
                throw invalidSkin(path, QStringLiteral("cannot tell which picture 'url(%1' names")
                                            .arg(text.mid(at + 4, picture.end - at - 4).left(100)));
            if (const QString problem = pictureProblem(*picture.name); !problem.isEmpty())
                throw invalidSkin(path, problem);
            at = picture.end;
        } else {
            ++at;
        }
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
