#include "app/pictures.h"

#include <QFile>

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

} // namespace quillet
