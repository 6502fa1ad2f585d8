// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Window titles as bytes from the server: decoded, kept to their first
// characters, never half a character.
#include "platform/linux/WindowTitle.h"

#include <QTest>

Q_DECLARE_METATYPE(TitleEncoding)

class TitlesTest : public QObject
{
    Q_OBJECT

private slots:
    void decodesAndKeepsTheFirstCharacters_data();
    void decodesAndKeepsTheFirstCharacters();
};

namespace
{
// Stands in for Xlib: shows what the decoder was given.
QString bracketed(const QByteArray &bytes)
{
    return QLatin1Char('[') + QString::fromLatin1(bytes) + QLatin1Char(']');
}
} // namespace

void TitlesTest::decodesAndKeepsTheFirstCharacters_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<TitleEncoding>("encoding");
    QTest::addColumn<QString>("title");
    const QByteArray a = QByteArray(titleCharacterLimit - 1, 'a');
    const QString as = QString::fromLatin1(a);
    const QByteArray check = "\xe2\x9c\x93";
    const QByteArray grin = "\xf0\x9f\x98\x80";
    QTest::newRow("UTF-8 up to NUL") << QByteArray("Gr\xc3\xbc\xc3\x9f"
                                                   "e\0rest",
                                                   11)
                                     << TitleEncoding::Utf8 << QStringLiteral("Grüße");
    QTest::newRow("UTF-8 at the limit") << a + "b" << TitleEncoding::Utf8 << as + "b";
    QTest::newRow("UTF-8 past the limit") << a + "bc" << TitleEncoding::Utf8 << as + "b";
    QTest::newRow("pair across the limit") << a + grin << TitleEncoding::Utf8 << as;
    QTest::newRow("pair before the limit")
        << a.left(a.size() - 1) + grin + "z" << TitleEncoding::Utf8
        << as.left(as.size() - 1) + QString::fromUtf8(grin);
    // The byte bound falls inside the last character of a reply cut short.
    QTest::newRow("reply cut inside a character")
        << check.repeated(titleByteLimit / 3) + check.left(2) << TitleEncoding::Utf8
        << QString::fromUtf8(check).repeated(titleCharacterLimit);
    QTest::newRow("4-byte characters cut at the byte bound")
        << grin.repeated(titleByteLimit / 4 + 1) << TitleEncoding::Utf8
        << QString::fromUtf8(grin).repeated(titleCharacterLimit / 2);
    QTest::newRow("malformed UTF-8")
        << QByteArray("a\xff\xc3") << TitleEncoding::Utf8 << QStringLiteral("a\ufffd\ufffd");
    QTest::newRow("Latin-1") << QByteArray("caf\xe9") << TitleEncoding::Latin1
                             << QStringLiteral("café");
    QTest::newRow("Latin-1 past the limit")
        << a + "\xe9\xe9" << TitleEncoding::Latin1 << as + QStringLiteral("é");
    QTest::newRow("compound") << QByteArray("x\x1b-Ly") << TitleEncoding::CompoundText
                              << QStringLiteral("[x\x1b-Ly]");
    QTest::newRow("compound cut in an escape")
        << QByteArray("xy\x1b$(") << TitleEncoding::CompoundText << QStringLiteral("[xy]");
    QTest::newRow("compound ending in spaces")
        << QByteArray("x  ") << TitleEncoding::CompoundText << QStringLiteral("[x  ]");
    QTest::newRow("compound decoded past the limit")
        << a + "bc" << TitleEncoding::CompoundText << QLatin1Char('[') + as;
}

void TitlesTest::decodesAndKeepsTheFirstCharacters()
{
    QFETCH(QByteArray, bytes);
    QFETCH(TitleEncoding, encoding);
    QFETCH(QString, title);
    QCOMPARE(decodeTitle(bytes, encoding, bracketed), title);
}

QTEST_MAIN(TitlesTest)
#include "tst_windowtitle.moc"
