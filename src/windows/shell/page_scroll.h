// A device page inside its tab: a page taller or wider than the room it gets
// scrolls, rather than having its controls squeezed below their size.
#pragma once

class QScrollArea;
class QWidget;

// Lays page into tab through a scroll area named after the tab ("TabSheet2Scroll").
QScrollArea* PlaceScrolling(QWidget* tab, QWidget* page);
