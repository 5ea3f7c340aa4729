#include "port/status_com_form.h"

#include <QPlainTextEdit>
#include <QScreen>
#include <QTextDocument>
#include <QVBoxLayout>

TStatusCOMForm::TStatusCOMForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("StatusCOMForm"));
    setWindowTitle(QStringLiteral("Поиск СОМ-портов"));
    // A dialog border without a close button: the program hides it itself.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setModal(false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    SearchCOMMemo = new QPlainTextEdit(this);
    SearchCOMMemo->setObjectName(QStringLiteral("SearchCOMMemo"));
    SearchCOMMemo->setReadOnly(true);
    SearchCOMMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    SearchCOMMemo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QFont font = SearchCOMMemo->font();
    font.setPixelSize(16);
    SearchCOMMemo->setFont(font);
    SearchCOMMemo->setPlainText(QStringLiteral("Идёт поиск СОМ-портов. Пожалуйста, подождите..."));
    SearchCOMMemo->document()->setDocumentMargin(2);
    layout->addWidget(SearchCOMMemo);
    setFixedSize(428, 28);
}

void TStatusCOMForm::prShowStatus(std::uint8_t bNumStatus) {
    const QString text = StatusCOMText(bNumStatus);
    // Every command shows the same message twice; laying it out again each
    // time would cost more than the rest of the opening.
    if (!text.isEmpty() && SearchCOMMemo->toPlainText() != text)
        SearchCOMMemo->setPlainText(text);
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    show();
}
