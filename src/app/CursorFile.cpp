// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/CursorFile.h"

#include "common/Failure.h"
#include "platform/PlainFile.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QPixmap>
#include <QtEndian>

namespace
{
constexpr int headerSize = 6;
constexpr int entrySize = 16;
constexpr quint16 cursorType = 2;
constexpr quint16 iconType = 1;
// Far beyond any hand cursor; a bigger file is not read into memory.
constexpr qint64 largestFile = 1 << 20;

quint16 readWord(const QByteArray &data, int offset)
{
    return qFromLittleEndian<quint16>(data.constData() + offset);
}

void writeWord(QByteArray &data, int offset, quint16 value)
{
    qToLittleEndian(value, data.data() + offset);
}

// The image decoder reads icons; a cursor differs only in its type and in the
// two entry words that hold the hotspot instead of planes and bit count.
QImage decodeAsIcon(QByteArray data)
{
    writeWord(data, 2, iconType);
    writeWord(data, headerSize + 4, 1);
    writeWord(data, headerSize + 6, 0);
    return QImage::fromData(data, "ICO");
}
} // namespace

QImage decodeCursor(const QByteArray &data, QPoint &hotSpot)
{
    if (data.size() < headerSize + entrySize || data.size() > largestFile ||
        readWord(data, 0) != 0 || readWord(data, 2) != cursorType || readWord(data, 4) == 0)
        throw Failure(QStringLiteral("Invalid picture"));
    const QImage image = decodeAsIcon(data);
    if (image.isNull())
        throw Failure(QStringLiteral("Invalid picture"));
    hotSpot = QPoint(std::min<int>(readWord(data, headerSize + 4), image.width() - 1),
                     std::min<int>(readWord(data, headerSize + 6), image.height() - 1));
    return image;
}

QCursor loadCursorFile(const QString &path)
{
    const PlainFileBytes file = readPlainFile(path, largestFile + 1);
    if (!file.problem.isEmpty())
        throw Failure(
            QStringLiteral("Cannot read the cursor file '%1': %2").arg(path, file.problem));
    QPoint hotSpot;
    const QImage image = decodeCursor(file.bytes, hotSpot);
    return QCursor(QPixmap::fromImage(image), hotSpot.x(), hotSpot.y());
}

bool saveCursorFile(const QImage &image, QPoint hotSpot, const QString &path)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "ICO"))
        return false;
    QByteArray data = buffer.data();
    writeWord(data, 2, cursorType);
    writeWord(data, headerSize + 4, static_cast<quint16>(hotSpot.x()));
    writeWord(data, headerSize + 6, static_cast<quint16>(hotSpot.y()));
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}
