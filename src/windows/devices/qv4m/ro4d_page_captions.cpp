#include "devices/qv4m/ro4d_page_captions.h"

#include "devices/qv4m/ro4d_captions.h"

#include <QAbstractButton>
#include <QLabel>

namespace {

template <typename T> void setCaption(QWidget* page, const char* name, const char* text) {
    if (T* w = page->findChild<T*>(QLatin1String(name)))
        w->setText(CaptionText(text));
}

} // namespace

void ApplyRo4dCaptions(QWidget* page) {
    for (const TRo4dValueCaption& v : Ro4dValueCaptions())
        setCaption<QLabel>(page, v.label, v.caption);
    for (const TRo4dOptionCaption& o : Ro4dOptionCaptions())
        setCaption<QAbstractButton>(page, o.box, o.caption);
    for (const TRo4dLineCaption& l : Ro4dLineCaptions())
        setCaption<QAbstractButton>(page, l.box, l.caption);
}
