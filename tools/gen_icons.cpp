// Renders the program's SVG icon into the PNG sizes of the hicolor icon theme, for the menus,
// docks and task bars that do not scale an SVG icon themselves:
//
//     notarium-gen-icons ICON.svg OUTDIR NAME SIZE...
//
// writes OUTDIR/SIZExSIZE/apps/NAME.png for every SIZE. Nothing but Qt's own renderer is needed,
// so the build takes no image tool.
#include <QByteArray>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>

#include <cstdio>
#include <vector>

namespace {

bool parseSize(const char* text, int* size)
{
    bool ok = false;
    *size = QByteArray(text).toInt(&ok);
    return ok && *size > 0 && *size <= 1024;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 5) {
        std::fprintf(stderr, "usage: notarium-gen-icons ICON.svg OUTDIR NAME SIZE...\n");
        return 2;
    }
    const QString svgPath = QString::fromLocal8Bit(argv[1]);
    const QString outFolder = QString::fromLocal8Bit(argv[2]);
    const QString name = QString::fromLocal8Bit(argv[3]);
    std::vector<int> sizes;
    for (int i = 4; i < argc; ++i) {
        int size = 0;
        if (!parseSize(argv[i], &size)) {
            std::fprintf(stderr, "notarium-gen-icons: %s is not a pixel size\n", argv[i]);
            return 2;
        }
        sizes.push_back(size);
    }

    QSvgRenderer renderer(svgPath);
    if (!renderer.isValid()) {
        std::fprintf(stderr, "notarium-gen-icons: %s is not a readable SVG file\n", argv[1]);
        return 1;
    }
    for (const int size : sizes) {
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            renderer.render(&painter, QRectF(0, 0, size, size));
        }
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(outFolder).arg(size);
        const QString path = QStringLiteral("%1/%2.png").arg(folder, name);
        if (!QDir().mkpath(folder) || !image.convertToFormat(QImage::Format_ARGB32).save(path, "PNG")) {
            std::fprintf(stderr, "notarium-gen-icons: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
