// SPDX-License-Identifier: GPL-3.0-or-later
// Turns the program's icon into the PNG files of the desktop's icon theme, and
// compares such a file with its source, so the icons of the menu cannot drift
// from the drawing they come from. An SVG source is rendered at the size asked
// for; any other image must already have that size.
//   tarvin-icon-export export <source image> <size> <png file>
//   tarvin-icon-export compare <source image> <png file>
//   tarvin-icon-export margin <png file> <pixels>
// margin succeeds when the outer band of that many pixels is fully transparent
// and something opaque is drawn inside it.
// Exit status: 0 done, equal or kept clear, 1 a file is unusable or the check
// fails, 2 bad usage.

#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

constexpr int kStatusFailed = 1;
constexpr int kStatusUsage = 2;
// The largest size rendered from an SVG; theme icons stop well below it.
constexpr int kLargestSize = 1024;

int Fail(const char* what, const char* file) {
    std::fprintf(stderr, "tarvin-icon-export: %s: %s\n", file, what);
    return kStatusFailed;
}

bool IsSvg(std::string_view file) {
    return file.ends_with(".svg");
}

// Renders an SVG on a transparent square of size pixels; a null image when the
// file is no usable SVG.
QImage RenderSvg(const char* file, int size) {
    QSvgRenderer renderer(QString::fromLocal8Bit(file));
    if (!renderer.isValid())
        return QImage();
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    return image;
}

// Loads an image as 32-bit ARGB, the form both comparison sides share, an SVG
// rendered at size; a null image when the file is missing or unreadable.
QImage LoadArgb(const char* file, int size) {
    QImage image = IsSvg(file) ? RenderSvg(file, size) : QImage(QString::fromLocal8Bit(file));
    return image.isNull() ? image : image.convertToFormat(QImage::Format_ARGB32);
}

// Two pixels look alike when both are fully transparent, whatever colour they
// carry underneath, or when they agree in every channel.
bool SamePixel(QRgb a, QRgb b) {
    return (qAlpha(a) == 0 && qAlpha(b) == 0) || a == b;
}

bool SameImage(const QImage& a, const QImage& b) {
    if (a.size() != b.size())
        return false;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (!SamePixel(a.pixel(x, y), b.pixel(x, y)))
                return false;
    return true;
}

int Export(const char* source, const char* sizeText, const char* target) {
    const int size = std::atoi(sizeText);
    if (size <= 0 || size > kLargestSize)
        return Fail("the size is out of range", sizeText);
    const QImage image = LoadArgb(source, size);
    if (image.isNull())
        return Fail("cannot read the image", source);
    if (image.width() != size || image.height() != size)
        return Fail("the image is not of the size asked for", source);
    if (!image.save(QString::fromLocal8Bit(target), "PNG"))
        return Fail("cannot write the PNG file", target);
    return EXIT_SUCCESS;
}

int Compare(const char* source, const char* png) {
    const QImage actual = LoadArgb(png, 0);
    if (actual.isNull())
        return Fail("cannot read the image", png);
    const QImage expected = LoadArgb(source, actual.width());
    if (expected.isNull())
        return Fail("cannot read the image", source);
    if (!SameImage(expected, actual))
        return Fail("differs from its source image", png);
    return EXIT_SUCCESS;
}

int Margin(const char* png, const char* pixelsText) {
    const QImage image = LoadArgb(png, 0);
    if (image.isNull())
        return Fail("cannot read the image", png);
    const int band = std::atoi(pixelsText);
    bool drawn = false;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const bool inBand =
                x < band || y < band || x >= image.width() - band || y >= image.height() - band;
            const int alpha = qAlpha(image.pixel(x, y));
            if (inBand && alpha != 0)
                return Fail("draws into its margin", png);
            drawn = drawn || alpha == 255;
        }
    }
    return drawn ? EXIT_SUCCESS : Fail("draws nothing opaque", png);
}

} // namespace

int main(int argc, char** argv) {
    const std::string_view command = argc > 1 ? argv[1] : "";
    if (command == "export" && argc == 5)
        return Export(argv[2], argv[3], argv[4]);
    if (command == "compare" && argc == 4)
        return Compare(argv[2], argv[3]);
    if (command == "margin" && argc == 4)
        return Margin(argv[2], argv[3]);
    std::fprintf(stderr, "usage: tarvin-icon-export export <image> <size> <png>\n"
                         "       tarvin-icon-export compare <image> <png>\n"
                         "       tarvin-icon-export margin <png> <pixels>\n");
    return kStatusUsage;
}
