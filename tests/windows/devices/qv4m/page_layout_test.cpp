// The pages must fit the main window's fixed client area without squeezing
// any caption. With RELCON4_SCREENSHOT_DIR set, the test also saves pictures
// of both pages there (docs/ holds the ones in the repository).
#include "pages_fixture.h"

#include "devices/qv4m/wrap_check_box.h"
#include "shell/where_bar.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QRadioButton>
#include <QScrollArea>

namespace {

// Controls whose caption is cut because the layout gave them less than they ask for.
QStringList squeezed(const QWidget* page) {
    QStringList out;
    for (const QWidget* w : page->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(page))
            continue;
        if (qobject_cast<const TWrapCheckBox*>(w)) {
            if (w->height() < w->heightForWidth(w->width()))
                out << w->objectName();
            continue;
        }
        const auto* label = qobject_cast<const QLabel*>(w);
        const bool caption = (label && !label->wordWrap()) || qobject_cast<const QCheckBox*>(w) ||
                             qobject_cast<const QRadioButton*>(w);
        if (caption && w->width() < w->sizeHint().width())
            out << w->objectName();
        if (label && label->wordWrap() && w->height() < label->heightForWidth(w->width()))
            out << w->objectName();
    }
    return out;
}

// The whole window with the page's tab chosen, as the user sees it.
void saveShot(QWidget* window, const QString& file) {
    const QString dir = qEnvironmentVariable("RELCON4_SCREENSHOT_DIR");
    if (dir.isEmpty())
        return;
    QDir().mkpath(dir);
    EXPECT_TRUE(window->grab().save(QDir(dir).filePath(file)));
}

} // namespace

TEST_F(Qv4mPagesTest, BothPagesFitTheWindowForEveryBoard) {
    ASSERT_EQ(Relcon4->size(), QSize(672, 729 + Relcon4->WhereBar->sizeHint().height()));
    for (const std::uint8_t vers : {std::uint8_t{0}, std::uint8_t{0x21}}) {
        Relcon4->bVers = vers;
        pages->prSetBoardLayout();
        for (QWidget* tab : {modeTab, timesTab}) {
            showTab(tab);
            auto* area = tab->findChild<QScrollArea*>(QString(), Qt::FindDirectChildrenOnly);
            ASSERT_TRUE(area);
            QWidget* page = area->widget();
            ASSERT_TRUE(page);
            const QSize need = page->minimumSizeHint();
            EXPECT_LE(need.height(), tab->height()) << tab->objectName().toStdString();
            EXPECT_LE(need.width(), tab->width()) << tab->objectName().toStdString();
            EXPECT_EQ(squeezed(page).join(QStringLiteral(", ")).toStdString(), "")
                << tab->objectName().toStdString();
            if (vers == 0)
                saveShot(Relcon4, tab == modeTab ? QStringLiteral("ro4d-mode-page.png")
                                                 : QStringLiteral("ro4d-times-page.png"));
            else if (tab == timesTab)
                saveShot(Relcon4, QStringLiteral("ro4d-times-page-2x.png"));
        }
    }
}
