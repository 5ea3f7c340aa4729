#include "shell/app_icon.h"

QIcon AppIcon() {
    // A static library drops unreferenced resources unless they are pulled in.
    Q_INIT_RESOURCE(app_icon);
    QIcon icon;
    for (int size : {32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/relcon4-%1.png").arg(size), QSize(size, size));
    return icon;
}
