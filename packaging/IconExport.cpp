// SPDX-License-Identifier: GPL-3.0-or-later
// Turns the program's own icon images into the PNG files of the desktop's icon
// theme, and compares such a file with its source, so the icons of the menu and
// the icons of the window cannot drift apart.
//   tarvin-icon-export export <source image> <size> <png file>
//   tarvin-icon-export compare <source image> <png file>
// Exit status: 0 done or equal, 1 a file is unusable or the images differ, 2 bad usage.

#include <QImage>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

constexpr int kStatusFailed = 1;
constexpr int kStatusUsage = 2;

int Fail(const char* what, const char* file) {
    std::fprintf(stderr, "tarvin-icon-export: %s: %s\n", file, what);
    return kStatusFailed;
}

// Loads an image as 32-bit ARGB, the form both comparison sides share; a null
// image when the file is missing or unreadable.
QImage LoadArgb(const char* file) {
    QImage image(QString::fromLocal8Bit(file));
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
    const QImage image = LoadArgb(source);
    if (image.isNull())
        return Fail("cannot read the image", source);
    if (image.width() != size || image.height() != size)
        return Fail("the image is not of the size asked for", source);
    if (!image.save(QString::fromLocal8Bit(target), "PNG"))
        return Fail("cannot write the PNG file", target);
    return EXIT_SUCCESS;
}

int Compare(const char* source, const char* png) {
    const QImage expected = LoadArgb(source);
    if (expected.isNull())
        return Fail("cannot read the image", source);
    const QImage actual = LoadArgb(png);
    if (actual.isNull())
        return Fail("cannot read the image", png);
    if (!SameImage(expected, actual))
        return Fail("differs from its source image", png);
    return EXIT_SUCCESS;
}

} // namespace

int main(int argc, char** argv) {
    const std::string_view command = argc > 1 ? argv[1] : "";
    if (command == "export" && argc == 5)
        return Export(argv[2], argv[3], argv[4]);
    if (command == "compare" && argc == 4)
        return Compare(argv[2], argv[3]);
    std::fprintf(stderr, "usage: tarvin-icon-export export <image> <size> <png>\n"
                         "       tarvin-icon-export compare <image> <png>\n");
    return kStatusUsage;
}
