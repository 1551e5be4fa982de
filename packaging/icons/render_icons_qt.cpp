// render_icons SVG FOLDER SIZE...: draws the icon SVG as FOLDER/SIZExSIZE/apps/NAME.png for
// each size, NAME being the SVG's base name (the hicolor theme's layout).
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

namespace {

bool RenderSize(QSvgRenderer& svg, const QString& folder, const QString& name, int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    svg.render(&painter);
    painter.end();
    const QString sized = QStringLiteral("%1/%2x%2/apps").arg(folder).arg(size);
    return QDir().mkpath(sized) && image.save(sized + "/" + name + ".png");
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QStringList args = QGuiApplication::arguments().mid(1);
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: render_icons SVG FOLDER SIZE...\n");
        return 2;
    }
    QSvgRenderer svg(args[0]);
    if (!svg.isValid()) {
        std::fprintf(stderr, "render_icons: cannot read %s\n", qPrintable(args[0]));
        return 1;
    }
    const QString name = QFileInfo(args[0]).completeBaseName();
    for (const QString& size : args.mid(2)) {
        if (!RenderSize(svg, args[1], name, size.toInt())) {
            std::fprintf(stderr, "render_icons: cannot write the %s icon\n", qPrintable(size));
            return 1;
        }
    }
    return 0;
}
