#include "common/BoxText.h"

#include "common/TextCut.h"

#include <QStringList>

namespace
{
constexpr qsizetype mostCharacters = 2000;
constexpr qsizetype mostLines = 30;
// Words longer than this may break anywhere, or a single one would widen the
// box past the screen.
constexpr qsizetype longestUnbrokenRun = 60;
const QString ellipsis = QStringLiteral("\u2026");
const QChar zeroWidthSpace(0x200B);

QString middleCharactersCut(const QString &text)
{
    if (text.size() <= mostCharacters)
        return text;
    const qsizetype half = mostCharacters / 2;
    return leftCharacters(text, half) + ellipsis + rightCharacters(text, half);
}

QString middleLinesCut(const QString &text)
{
    const QStringList lines = text.split(QLatin1Char('\n'));
    if (lines.size() <= mostLines)
        return text;
    const qsizetype half = mostLines / 2;
    return (lines.mid(0, half) + QStringList{ellipsis} + lines.mid(lines.size() - half + 1))
        .join(QLatin1Char('\n'));
}

QString longRunsFreeToWrap(const QString &text)
{
    QString result;
    result.reserve(text.size() + text.size() / longestUnbrokenRun);
    qsizetype run = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        run = c.isSpace() ? 0 : run + 1;
        if (run > longestUnbrokenRun && !c.isLowSurrogate()) {
            result += zeroWidthSpace;
            run = 1;
        }
        result += c;
    }
    return result;
}
} // namespace

QString boundedForBox(const QString &text)
{
    return longRunsFreeToWrap(middleLinesCut(middleCharactersCut(text)));
}
