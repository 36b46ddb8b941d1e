// Draws the About box picture: a keyboard under a wave and the program's
// name. Usage: bankwise-draw-about-picture OUT.png (QT_QPA_PLATFORM=offscreen
// is enough, no display needed).
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <cstdio>

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: bankwise-draw-about-picture OUT.png\n", stderr);
        return 2;
    }
    constexpr int kWidth = 194;
    constexpr int kHeight = 86;
    QImage image(kWidth, kHeight, QImage::Format_RGB888);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    QLinearGradient sky(0, 0, 0, kHeight);
    sky.setColorAt(0, QColor(18, 32, 72));
    sky.setColorAt(1, QColor(40, 90, 150));
    painter.fillRect(image.rect(), sky);

    // A decaying wave across the upper half.
    QPainterPath wave;
    for (int x = 0; x <= kWidth; ++x) {
        const double y = 16 + 11 * std::exp(-x / 120.0) * std::sin(x / 7.0);
        if (x == 0)
            wave.moveTo(x, y);
        else
            wave.lineTo(x, y);
    }
    painter.setPen(QPen(QColor(120, 220, 255), 2));
    painter.drawPath(wave);

    // Keyboard: two octaves of white keys with the black ones on top.
    constexpr int kKeyTop = 58;
    constexpr int kWhite = 14;
    const int keys = kWidth / kWhite + 1;
    painter.fillRect(QRect(0, kKeyTop, kWidth, kHeight - kKeyTop), QColor(50, 50, 56));
    for (int k = 0; k < keys; ++k)
        painter.fillRect(QRect(k * kWhite, kKeyTop, kWhite - 1, kHeight - kKeyTop),
                         QColor(245, 245, 240));
    for (int k = 0; k < keys; ++k) {
        const int inOctave = k % 7;
        if (inOctave == 2 || inOctave == 6)
            continue;  // no black key between E-F and B-C
        painter.fillRect(QRect(k * kWhite + 9, kKeyTop, 9, 16), QColor(20, 20, 24));
    }

    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(22);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(255, 255, 255));
    painter.drawText(QRect(0, 28, kWidth, 30), Qt::AlignCenter, QStringLiteral("Bankwise"));
    painter.end();

    return image.save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
