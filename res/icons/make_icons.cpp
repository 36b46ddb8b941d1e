// Draws the program icon and the tool-bar images and writes them as PNG
// files into the folder given as argument, and the same images as the
// Windows program wants them: tool-bar strips as 32-bit BMP (straight
// alpha, bottom-up rows), the icon as an ICO of PNG images, the About
// picture as a 24-bit BMP. The files in this folder were made with it:
//   cmake --build build-release --target bankwise-make-icons
//   QT_QPA_PLATFORM=offscreen build-release/shell/bankwise-make-icons res/icons
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

using Painter = std::function<void(QPainter&)>;

// Every image is drawn on a 32 by 32 grid and scaled to the size wanted.
QImage Render(int size, const Painter& paint)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    paint(p);
    return image;
}

QPen Outline(const QColor& color, double width = 1.5)
{
    return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void Page(QPainter& p, const QRectF& r, bool lines)
{
    const double fold = r.width() * 0.3;
    QPainterPath path;
    path.moveTo(r.left(), r.top());
    path.lineTo(r.right() - fold, r.top());
    path.lineTo(r.right(), r.top() + fold);
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    p.setPen(Outline(QColor(0x55, 0x5b, 0x66)));
    p.setBrush(Qt::white);
    p.drawPath(path);
    p.drawLine(QPointF(r.right() - fold, r.top()), QPointF(r.right() - fold, r.top() + fold));
    p.drawLine(QPointF(r.right() - fold, r.top() + fold), QPointF(r.right(), r.top() + fold));
    if (lines) {
        p.setPen(Outline(QColor(0x3a, 0x6e, 0xc8), 1.6));
        for (double y = r.top() + fold + 3; y < r.bottom() - 2; y += 4)
            p.drawLine(QPointF(r.left() + 3, y), QPointF(r.right() - 3, y));
    }
}

void ProgramIcon(QPainter& p)
{
    QLinearGradient sky(0, 0, 0, 32);
    sky.setColorAt(0, QColor(0x2f, 0x6f, 0xc4));
    sky.setColorAt(1, QColor(0x1a, 0x3a, 0x7a));
    p.setPen(Qt::NoPen);
    p.setBrush(sky);
    p.drawRoundedRect(QRectF(1, 1, 30, 30), 6, 6);
    Page(p, QRectF(7, 3.5, 18, 15), true);
    // A keyboard: the synthesizer the names come from.
    const QRectF keys(3.5, 20, 25, 9);
    p.setPen(Outline(QColor(0x20, 0x20, 0x28), 1.0));
    p.setBrush(Qt::white);
    p.drawRect(keys);
    const double w = keys.width() / 7;
    for (int i = 1; i < 7; ++i)
        p.drawLine(QPointF(keys.left() + i * w, keys.top()),
                   QPointF(keys.left() + i * w, keys.bottom()));
    p.setBrush(QColor(0x20, 0x20, 0x28));
    for (const int i : {1, 2, 4, 5, 6})
        p.drawRect(QRectF(keys.left() + i * w - w * 0.3, keys.top(), w * 0.6, keys.height() * 0.6));
}

void Open(QPainter& p)
{
    p.setPen(Outline(QColor(0x8a, 0x62, 0x10)));
    p.setBrush(QColor(0xe8, 0xb9, 0x3c));
    QPainterPath back;
    back.moveTo(3, 8);
    back.lineTo(12, 8);
    back.lineTo(14, 11);
    back.lineTo(26, 11);
    back.lineTo(26, 27);
    back.lineTo(3, 27);
    back.closeSubpath();
    p.drawPath(back);
    p.setBrush(QColor(0xf7, 0xd6, 0x6b));
    QPainterPath front;
    front.moveTo(3, 27);
    front.lineTo(8, 15);
    front.lineTo(30, 15);
    front.lineTo(26, 27);
    front.closeSubpath();
    p.drawPath(front);
}

void Save(QPainter& p)
{
    p.setPen(Outline(QColor(0x1d, 0x2f, 0x5a)));
    p.setBrush(QColor(0x3a, 0x62, 0xb8));
    QPainterPath body;
    body.moveTo(4, 4);
    body.lineTo(25, 4);
    body.lineTo(28, 7);
    body.lineTo(28, 28);
    body.lineTo(4, 28);
    body.closeSubpath();
    p.drawPath(body);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(8, 4, 15, 9));
    p.setBrush(QColor(0xc8, 0xcf, 0xdb));
    p.drawRect(QRectF(8, 18, 16, 10));
    p.setBrush(QColor(0x1d, 0x2f, 0x5a));
    p.drawRect(QRectF(18, 6, 3, 5));
}

void Cut(QPainter& p)
{
    p.setPen(Outline(QColor(0x50, 0x50, 0x58), 2.2));
    p.drawLine(QPointF(9, 3), QPointF(21, 20));
    p.drawLine(QPointF(23, 3), QPointF(11, 20));
    p.setPen(Outline(QColor(0xb0, 0x20, 0x20), 2.2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(5, 19, 8, 8));
    p.drawEllipse(QRectF(19, 19, 8, 8));
}

void Copy(QPainter& p)
{
    Page(p, QRectF(4, 3, 15, 19), true);
    Page(p, QRectF(13, 10, 15, 19), true);
}

void Paste(QPainter& p)
{
    p.setPen(Outline(QColor(0x5e, 0x3c, 0x14)));
    p.setBrush(QColor(0xb5, 0x83, 0x45));
    p.drawRoundedRect(QRectF(4, 5, 19, 24), 2, 2);
    p.setBrush(QColor(0x9a, 0x9a, 0xa4));
    p.drawRoundedRect(QRectF(9, 2.5, 9, 5), 1.5, 1.5);
    Page(p, QRectF(13, 12, 15, 18), true);
}

void Print(QPainter& p)
{
    Page(p, QRectF(9, 2.5, 14, 12), false);
    p.setPen(Outline(QColor(0x40, 0x40, 0x48)));
    p.setBrush(QColor(0xb8, 0xbc, 0xc6));
    p.drawRoundedRect(QRectF(3, 12, 26, 12), 2, 2);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(8, 20, 16, 9));
    p.setPen(Outline(QColor(0x3a, 0x6e, 0xc8), 1.4));
    p.drawLine(QPointF(11, 24), QPointF(21, 24));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2c, 0xa0, 0x3c));
    p.drawEllipse(QRectF(24, 15, 2.5, 2.5));
}

void About(QPainter& p)
{
    p.setPen(Outline(QColor(0x1d, 0x2f, 0x5a)));
    p.setBrush(QColor(0x2f, 0x6f, 0xc4));
    p.drawEllipse(QRectF(3, 3, 26, 26));
    // The question mark as strokes, so the image does not depend on a font.
    p.setPen(Outline(Qt::white, 3.2));
    p.setBrush(Qt::NoBrush);
    QPainterPath mark;
    mark.moveTo(11.5, 12.5);
    mark.cubicTo(11.5, 6.5, 21, 6.5, 21, 12);
    mark.cubicTo(21, 15.5, 16, 15.5, 16, 20);
    p.drawPath(mark);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(14.2, 22.3, 3.6, 3.6));
}

bool Write(const QDir& dir, const QString& name, const QImage& image)
{
    const QString path = dir.filePath(name);
    if (image.save(path, "PNG"))
        return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

void Put16(QByteArray& out, unsigned v)
{
    out.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF));
}

void Put32(QByteArray& out, std::uint32_t v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

bool WriteBytes(const QDir& dir, const QString& name, const QByteArray& bytes)
{
    QFile file(dir.filePath(name));
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size())
        return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
    return false;
}

// A 32 bits per pixel BMP with straight alpha, which a version 6 image list
// draws with its soft edges.
QByteArray Bmp32(const QImage& source)
{
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    const auto pixels = static_cast<std::uint32_t>(image.width() * image.height() * 4);
    QByteArray out;
    out.append("BM");
    Put32(out, 14 + 40 + pixels);
    Put32(out, 0);
    Put32(out, 14 + 40);
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(image.width()));
    Put32(out, static_cast<std::uint32_t>(image.height()));  // positive: bottom-up
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, 0);  // BI_RGB
    Put32(out, pixels);
    Put32(out, 2835);
    Put32(out, 2835);
    Put32(out, 0);
    Put32(out, 0);
    for (int y = image.height() - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            Put32(out, row[x]);  // 0xAARRGGBB is B, G, R, A in memory order
    }
    return out;
}

// An ICO whose images are PNGs, as Windows has read them since Vista.
QByteArray Ico(const std::vector<QImage>& images)
{
    std::vector<QByteArray> pngs;
    for (const QImage& image : images) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        pngs.push_back(png);
    }
    QByteArray out;
    Put16(out, 0);
    Put16(out, 1);
    Put16(out, static_cast<unsigned>(images.size()));
    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        out.append(char(images[i].width() & 0xFF));  // 256 is written as 0
        out.append(char(images[i].height() & 0xFF));
        out.append(char(0)).append(char(0));
        Put16(out, 1);
        Put16(out, 32);
        Put32(out, static_cast<std::uint32_t>(pngs[i].size()));
        Put32(out, offset);
        offset += static_cast<std::uint32_t>(pngs[i].size());
    }
    for (const QByteArray& png : pngs)
        out.append(png);
    return out;
}

}  // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: bankwise-make-icons DIR\n");
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    bool ok = true;
    for (const int size : {16, 32, 48, 64, 128, 256})
        ok &= Write(dir, QStringLiteral("bankwise-%1.png").arg(size), Render(size, ProgramIcon));
    const std::pair<const char*, Painter> tools[] = {
        {"open", Open},   {"save", Save},   {"cut", Cut},     {"copy", Copy},
        {"paste", Paste}, {"print", Print}, {"about", About},
    };
    for (const auto& [name, paint] : tools) {
        ok &= Write(dir, QString::fromLatin1(name) + QStringLiteral(".png"), Render(16, paint));
        ok &= Write(dir, QString::fromLatin1(name) + QStringLiteral("@2x.png"), Render(32, paint));
    }

    // The Windows tool bar: one strip of the seven images in button order.
    for (const int size : {16, 32}) {
        QImage strip(size * 7, size, QImage::Format_ARGB32);
        strip.fill(Qt::transparent);
        QPainter p(&strip);
        int x = 0;
        for (const auto& [name, paint] : tools) {
            p.drawImage(x, 0, Render(size, paint));
            x += size;
        }
        p.end();
        ok &= WriteBytes(
            dir, size == 16 ? QStringLiteral("toolbar.bmp") : QStringLiteral("toolbar@2x.bmp"),
            Bmp32(strip));
    }
    std::vector<QImage> icons;
    for (const int size : {16, 24, 32, 48, 64, 256})
        icons.push_back(Render(size, ProgramIcon));
    ok &= WriteBytes(dir, QStringLiteral("bankwise.ico"), Ico(icons));
    const QImage picture(dir.filePath(QStringLiteral("../about.png")));
    if (!picture.isNull())
        ok &= picture.convertToFormat(QImage::Format_RGB888)
                  .save(dir.filePath(QStringLiteral("../about.bmp")), "BMP");
    return ok ? 0 : 1;
}
