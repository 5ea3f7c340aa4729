#include "shell/page_scroll.h"

#include <QScrollArea>
#include <QVBoxLayout>

QScrollArea* PlaceScrolling(QWidget* tab, QWidget* page) {
    auto* layout = new QVBoxLayout(tab);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* area = new QScrollArea(tab);
    area->setObjectName(tab->objectName() + QStringLiteral("Scroll"));
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    area->setWidget(page);
    layout->addWidget(area);
    return area;
}
