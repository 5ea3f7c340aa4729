#include "shell/message_box_title.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>
#include <QStyle>

namespace {

// The icon and the three buttons a frame draws beside the title, with their gaps.
constexpr int kTitleBarButtons = 5;

} // namespace

int TitleWidth(const QMessageBox& box) {
    // Frames draw their titles in bold as a rule: measure the wider face.
    QFont font = box.font();
    font.setBold(true);
    const int bar = box.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &box);
    return QFontMetrics(font).horizontalAdvance(box.windowTitle()) + kTitleBarButtons * bar;
}

void KeepTitleWhole(QMessageBox& box) {
    // QMessageBox sizes itself to its contents on every show; a spacer in its
    // own grid is what that sizing keeps.
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid)
        return;
    grid->addItem(new QSpacerItem(TitleWidth(box), 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
                  grid->rowCount(), 0, 1, grid->columnCount());
}
