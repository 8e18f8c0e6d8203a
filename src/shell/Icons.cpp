// Rendering the SVG images into icons and pixmaps.
#include "shell/Icons.h"

#include <QCoreApplication>
#include <QPainter>
#include <map>
#include <string>
#include <QSvgRenderer>

#include "shell/QtText.h"

namespace {

QString resourcePath(std::string_view name) {
    return QStringLiteral(":/icons/") + ToQString(name) + QStringLiteral(".svg");
}

QPixmap render(QSvgRenderer& renderer, QSize size) {
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    return pixmap;
}

}  // namespace

// Drawn once per name, kept while the application lives.
QIcon KestrelIcon(std::string_view name) {
    static std::map<std::string, QIcon, std::less<>> drawn;
    if (drawn.empty() && QCoreApplication::instance())
        QObject::connect(QCoreApplication::instance(), &QObject::destroyed, [] { drawn.clear(); });
    if (const auto it = drawn.find(name); it != drawn.end()) return it->second;
    QSvgRenderer renderer(resourcePath(name));
    QIcon icon;
    if (renderer.isValid())
        for (const int side : {16, 24, 32, 48}) icon.addPixmap(render(renderer, QSize(side, side)));
    drawn.emplace(std::string(name), icon);
    return icon;
}

QPixmap KestrelPixmap(std::string_view name, QSize size) {
    QSvgRenderer renderer(resourcePath(name));
    if (!renderer.isValid()) return {};
    return render(renderer, size.isEmpty() ? renderer.defaultSize() : size);
}
