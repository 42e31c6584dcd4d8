#include "app/pictures.h"

#include <QFile>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#ifdef QUILLET_HAVE_ICONS
static void InitIconResources() {
    Q_INIT_RESOURCE(icons);
}
#else
static void InitIconResources() {}
#endif

namespace quillet {

namespace {

QIcon Picture(const QString& Path) {
    return QFile::exists(Path) ? QIcon(Path) : QIcon();
}

} // namespace

void InitPictures() {
    InitIconResources();
}

QIcon ButtonPicture(int Index) {
    return Picture(QStringLiteral(":/icons/buttons/%1.svg").arg(Index));
}

QIcon ListPicture(int Index) {
    return Picture(QStringLiteral(":/icons/pictures/%1.svg").arg(Index));
}

QIcon AppIcon() {
    // Hand-drawn pixel sizes where they exist (sharper than a scaled drawing at 16 x 16), the
    // drawing for every other size.
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString path = QStringLiteral(":/icons/app/quillet_%1.png").arg(size);
        if (QFile::exists(path))
            icon.addFile(path, QSize(size, size));
    }
    if (icon.isNull())
        icon = Picture(QStringLiteral(":/icons/app/quillet.svg"));
    return icon;
}

QIcon TrayPicture(bool NewMail) {
    const QIcon icon =
        Picture(NewMail ? QStringLiteral(":/icons/tray/new.svg") : QStringLiteral(":/icons/tray/normal.svg"));
    return icon.isNull() ? AppIcon() : icon;
}

QIcon WithWarningBadge(const QIcon& Picture) {
    // A small amber triangle with an exclamation mark in the lower right corner, drawn at every
    // size the toolbar may ask for, so that it stays sharp at any scale.
    QIcon badged;
    for (const int size : {16, 24, 32, 48, 64, 96}) {
        // Exactly size x size device pixels, so that the badge lands in the corner at any scale.
        QPixmap pixmap = Picture.pixmap(QSize(size, size), 1.0);
        if (pixmap.isNull() || pixmap.width() != size) {
            pixmap = QPixmap(size, size);
            pixmap.fill(Qt::transparent);
        }
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        const qreal side = size * 0.6;
        const QPointF corner(size - side, size - side);
        QPainterPath triangle;
        triangle.moveTo(corner + QPointF(side / 2, 0));
        triangle.lineTo(corner + QPointF(side, side));
        triangle.lineTo(corner + QPointF(0, side));
        triangle.closeSubpath();
        painter.setPen(QPen(QColor(0x5a, 0x3a, 0x00), qMax(1.0, size / 16.0)));
        painter.setBrush(QColor(0xf5, 0xa6, 0x23));
        painter.drawPath(triangle);
        painter.setPen(QPen(Qt::black, qMax(1.0, size / 12.0), Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(corner + QPointF(side / 2, side * 0.35), corner + QPointF(side / 2, side * 0.68));
        painter.drawPoint(corner + QPointF(side / 2, side * 0.84));
        painter.end();
        badged.addPixmap(pixmap);
    }
    return badged;
}

} // namespace quillet
