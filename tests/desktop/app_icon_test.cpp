// The emblem is built in at every size the menu and the window list ask for,
// and the menu entry names the program and the icon that get installed.
#include "shell/app_icon.h"

#include <QFile>
#include <QSettings>
#include <gtest/gtest.h>

TEST(AppIconTest, EveryBuiltInSizeLoads) {
    const QIcon icon = AppIcon();
    ASSERT_FALSE(icon.isNull());
    for (int size : {32, 48, 64, 128, 256}) {
        SCOPED_TRACE(size);
        EXPECT_EQ(icon.pixmap(QSize(size, size)).size(), QSize(size, size));
        const QImage image(QStringLiteral(":/icons/relcon4-%1.png").arg(size));
        ASSERT_FALSE(image.isNull());
        // Transparent corners, opaque emblem in the middle.
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
        EXPECT_EQ(qAlpha(image.pixel(size / 2, size / 2)), 255);
    }
}

TEST(DesktopEntryTest, NamesTheInstalledProgramAndIcon) {
    const QString path = QStringLiteral(RELCON4_SOURCE_DIR "/data/relcon4.desktop");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text));
    const QString text = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(text.startsWith(QStringLiteral("[Desktop Entry]\n")));
    for (const char* line :
         {"Type=Application\n", "Exec=relcon4\n", "Icon=relcon4\n", "Terminal=false\n",
          "Categories=Utility;Electronics;\n", "Name=Relcon4\n", "Name[ru]=Relcon4\n",
          "GenericName[ru]=Сервис блоков реле и приводов\n"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(line))) << line;
    EXPECT_TRUE(QFile::exists(QStringLiteral(RELCON4_SOURCE_DIR "/data/icons/relcon4.svg")));
}
