// Writes the program's icon, from its icon resource, into an icon theme's
// folders: PNG files at the usual sizes and an SVG file of the same pixels.
// Run at build time: tavo_icons THEME_FOLDER NAME
#include "platform/ui/image.h"
#include "resources/resource.h"
#include "resources/resources.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QString>

#include <cstdio>

namespace {

constexpr int SIZES[] = {16, 22, 24, 32, 48, 64, 128, 256};

// The image drawn for a size: the one made for it, else the largest scaled
// without smoothing, so the pixels stay sharp.
QImage ImageFor(const BITMAPTEMPLATE* images, int count, int size) {
    for (int i = 0; i < count; ++i) {
        if (images[i].cx == size) {
            return ImageFromTemplate(images[i]);
        }
    }
    return ImageFromTemplate(images[0]).scaled(size, size, Qt::KeepAspectRatio,
                                               Qt::FastTransformation);
}

// One square a pixel, transparent pixels left out.
QString SvgOf(const QImage& image) {
    QString svg = QString("<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 %1 %2\" "
                          "shape-rendering=\"crispEdges\">\n")
                      .arg(image.width())
                      .arg(image.height());
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor color = image.pixelColor(x, y);
            if (color.alpha() != 0) {
                svg += QString("<rect x=\"%1\" y=\"%2\" width=\"1\" height=\"1\" fill=\"%3\"/>\n")
                           .arg(x)
                           .arg(y)
                           .arg(color.name());
            }
        }
    }
    return svg + "</svg>\n";
}

bool Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return QDir().mkpath(QFileInfo(path).path()) && file.open(QIODevice::WriteOnly) &&
           file.write(bytes) == bytes.size();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: tavo_icons THEME_FOLDER NAME\n", stderr);
        return 2;
    }
    const QString theme = QString::fromLocal8Bit(argv[1]);
    const QString name = QString::fromLocal8Bit(argv[2]);
    int count = 0;
    const BITMAPTEMPLATE* images = TavoResources().FindIcon(IDR_MAINFRAME, &count);
    for (const int size : SIZES) {
        const QString path = QString("%1/%2x%2/apps/%3.png").arg(theme).arg(size).arg(name);
        if (!QDir().mkpath(QFileInfo(path).path()) || !ImageFor(images, count, size).save(path)) {
            std::fprintf(stderr, "tavo_icons: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    const QString svg = QString("%1/scalable/apps/%2.svg").arg(theme, name);
    if (!Write(svg, SvgOf(ImageFromTemplate(images[0])).toUtf8())) {
        std::fprintf(stderr, "tavo_icons: cannot write %s\n", qPrintable(svg));
        return 1;
    }
    return 0;
}
