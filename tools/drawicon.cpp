// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Draws our pictures:
//   trelvanix-drawicon icons FOLDER SIZE...  the application icon, a blue "Q", as PNG files
//   trelvanix-drawicon ico FILE SIZE...      the same as one Windows icon file (.ico)
//   trelvanix-drawicon cursor FILE           the pointing-hand cursor, as a .CUR file
#include "app/CursorFile.h"

#include <QBuffer>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cstdlib>
#include <cstring>
#include <vector>

static QImage drawIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal margin = size / 16.0;
    const QRectF square(margin, margin, size - 2 * margin, size - 2 * margin);
    QLinearGradient fill(square.topLeft(), square.bottomRight());
    fill.setColorAt(0, QColor(0x3b, 0x82, 0xf6));
    fill.setColorAt(1, QColor(0x1e, 0x3a, 0x8a));
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawRoundedRect(square, size / 6.0, size / 6.0);

    QFont font(QStringLiteral("Liberation Sans"));
    font.setBold(true);
    font.setPixelSize(qRound(size * 0.8));
    QPainterPath letter;
    letter.addText(0, 0, font, QStringLiteral("Q"));
    const QRectF bounds = letter.boundingRect();
    letter.translate(square.center() - bounds.center());
    painter.setBrush(Qt::white);
    painter.drawPath(letter);
    return image;
}

// A white pointing hand with a black outline; the tip of the index finger is
// the hotspot.
static QImage drawHand()
{
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath hand;
    hand.addRoundedRect(QRectF(9.5, 1.5, 5, 16), 2.5, 2.5); // index finger
    hand.addRoundedRect(QRectF(14.5, 9.5, 4.5, 9), 2, 2);   // middle finger
    hand.addRoundedRect(QRectF(19, 10.5, 4.5, 8), 2, 2);    // ring finger
    hand.addRoundedRect(QRectF(23.5, 11.5, 4, 8), 2, 2);    // little finger
    hand.addRoundedRect(QRectF(9.5, 14.5, 18, 15), 4, 4);   // palm
    hand.addRoundedRect(QRectF(3.5, 15.5, 9, 5), 2.5, 2.5); // thumb
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::white);
    painter.drawPath(hand.simplified());
    return image;
}

static void appendLittleEndian(QByteArray &data, quint32 value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        data.append(static_cast<char>(value >> (8 * i)));
}

// A Windows icon file whose images are PNG, as Windows reads them since Vista:
// the directory, one 16-byte entry per image (a width of 256 is written as 0),
// then the images.
static bool saveIconFile(const std::vector<QImage> &images, const QString &path)
{
    QByteArray directory;
    QByteArray pictures;
    appendLittleEndian(directory, 0, 2);
    appendLittleEndian(directory, 1, 2); // an icon, not a cursor
    appendLittleEndian(directory, static_cast<quint32>(images.size()), 2);
    const qsizetype firstOffset = 6 + 16 * static_cast<qsizetype>(images.size());
    for (const QImage &image : images) {
        QByteArray png;
        QBuffer buffer(&png);
        if (!image.save(&buffer, "PNG"))
            return false;
        for (const int side : {image.width(), image.height()})
            appendLittleEndian(directory, side >= 256 ? 0 : static_cast<quint32>(side), 1);
        appendLittleEndian(directory, 0, 2);  // no palette, reserved
        appendLittleEndian(directory, 1, 2);  // planes
        appendLittleEndian(directory, 32, 2); // bits per pixel
        appendLittleEndian(directory, static_cast<quint32>(png.size()), 4);
        appendLittleEndian(directory, static_cast<quint32>(firstOffset + pictures.size()), 4);
        pictures += png;
    }
    QFile file(path);
    return file.open(QIODevice::WriteOnly) &&
           file.write(directory + pictures) == firstOffset + pictures.size();
}

// drawicon cursor FILE | drawicon icons FOLDER SIZE... | drawicon ico FILE SIZE...
int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const bool cursor = argc == 3 && std::strcmp(argv[1], "cursor") == 0;
    const bool icons = argc > 3 && std::strcmp(argv[1], "icons") == 0;
    const bool ico = argc > 3 && std::strcmp(argv[1], "ico") == 0;
    if (cursor)
        return saveCursorFile(drawHand(), QPoint(12, 1), QString::fromLocal8Bit(argv[2])) ? 0 : 1;
    if (!icons && !ico)
        return 2;
    std::vector<QImage> images;
    for (int i = 3; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        if (size <= 0 || size > 256)
            return 1;
        images.push_back(drawIcon(size));
        if (icons &&
            !images.back().save(QStringLiteral("%1/trelvanix-%2.png").arg(argv[2]).arg(size)))
            return 1;
    }
    return ico && !saveIconFile(images, QString::fromLocal8Bit(argv[2])) ? 1 : 0;
}
