// Draws the application icon, a blue "Q", into PNG files of the usual sizes:
//   trelvanix-drawicon OUTPUT_FOLDER
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

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

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 2)
        return 2;
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        if (!drawIcon(size).save(QStringLiteral("%1/trelvanix-%2.png").arg(argv[1]).arg(size)))
            return 1;
    }
    return 0;
}
