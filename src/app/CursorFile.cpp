#include "app/CursorFile.h"

#include "common/Failure.h"

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

QCursor loadCursorFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Failure(QStringLiteral("File not found: '%1'").arg(path));
    const QByteArray data = file.readAll();
    if (data.size() < headerSize + entrySize || readWord(data, 0) != 0 ||
        readWord(data, 2) != cursorType || readWord(data, 4) == 0)
        throw Failure(QStringLiteral("Invalid picture"));

    const QImage image = decodeAsIcon(data);
    if (image.isNull())
        throw Failure(QStringLiteral("Invalid picture"));
    const int hotX = readWord(data, headerSize + 4);
    const int hotY = readWord(data, headerSize + 6);
    return QCursor(QPixmap::fromImage(image), std::min(hotX, image.width() - 1),
                   std::min(hotY, image.height() - 1));
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
