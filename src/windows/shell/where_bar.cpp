#include "shell/where_bar.h"

#include "shell/edit_marks.h"
#include "shell/relcon4_window.h"

#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTime>

TWhereBar::TWhereBar(QWidget* parent) : QStatusBar(parent) {
    setObjectName(QStringLiteral("WhereBar"));
    setSizeGripEnabled(false);
    port_ = part("PortStatusLabel");
    unit_ = part("UnitStatusLabel");
    session_ = part("SessionStatusLabel");
    file_ = part("FileStatusLabel");
    // Two rows, so the parts stay whole in a narrow window: where (port and
    // unit) above, what (session and file) below.
    auto* parts = new QWidget(this);
    auto* grid = grid_ = new QGridLayout(parts);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(0);
    grid->addWidget(port_, 0, 0);
    grid->addWidget(unit_, 0, 1);
    grid->addWidget(session_, 1, 0);
    grid->addWidget(file_, 1, 1);
    grid->setColumnStretch(1, 1);
    for (QLabel* label : {port_, unit_, session_, file_})
        label->setParent(parts);
    RevertButton = new QPushButton(QStringLiteral("Вернуть считанное"), parts);
    RevertButton->setObjectName(QStringLiteral("RevertButton"));
    RevertButton->setToolTip(
        QStringLiteral("Вернуть все поля страницы к последнему чтению, загрузке или записи"));
    RevertButton->setEnabled(false);
    connect(RevertButton, &QPushButton::clicked, this, [this] {
        if (TEditMarks* marks = marksShown())
            marks->revert();
    });
    grid->addWidget(RevertButton, 0, 2);
    // Room for a button in each row from the start, so one added later
    // (addButton) does not change the window's size.
    for (int row = 0; row < 2; ++row)
        grid->setRowMinimumHeight(row, RevertButton->sizeHint().height());
    addWidget(parts, 1);

    unit_->setText(QStringLiteral("Устройство не опознано"));
}

void TWhereBar::addButton(QPushButton* button) {
    // Side by side under "Вернуть считанное", in the order they come.
    if (!buttons_) {
        buttons_ = new QHBoxLayout;
        buttons_->setContentsMargins(0, 0, 0, 0);
        grid_->addLayout(buttons_, 1, 2);
    }
    button->setParent(grid_->parentWidget());
    buttons_->addWidget(button);
}

QLabel* TWhereBar::part(const char* name) {
    auto* label = new QLabel(this);
    label->setObjectName(QLatin1String(name));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

void TWhereBar::showPort(const QString& port) {
    if (port == portText_)
        return;
    const bool another = !portText_.isEmpty();
    portText_ = port;
    port_->setText(port);
    if (another) {
        unit_->setText(QStringLiteral("Устройство не опознано"));
        showSession(QString());
    }
}

void TWhereBar::showUnit(const QString& kind, const QString& ident) {
    unit_->setText(
        QStringLiteral("%1: %2 (считано в %3)")
            .arg(kind, ident.trimmed(), QTime::currentTime().toString(QStringLiteral("HH:mm:ss"))));
}

void TWhereBar::showSession(const QString& text) {
    sessionText_ = text;
    refreshSession();
}

void TWhereBar::showWatch(bool holding) {
    watching_ = holding;
    refreshSession();
}

void TWhereBar::refreshSession() {
    QStringList parts;
    if (!sessionText_.isEmpty())
        parts << sessionText_;
    if (watching_)
        parts << QStringLiteral("порт держит ожидание посылок стенда");
    session_->setText(parts.join(QStringLiteral("; ")));
    session_->setVisible(!parts.isEmpty());
}

void TWhereBar::noteFile(const QList<QWidget*>& tabs, const QString& path) {
    for (QWidget* tab : tabs)
        files_[tab] = QDir::toNativeSeparators(path);
    showTab(tab_);
}

void TWhereBar::watch(TEditMarks* marks) {
    connect(marks, &TEditMarks::changed, this, &TWhereBar::refreshRevert);
}

TEditMarks* TWhereBar::marksShown() const {
    return EditMarksOf(window(), tab_);
}

void TWhereBar::refreshRevert() {
    const TEditMarks* marks = marksShown();
    RevertButton->setEnabled(marks && marks->edited());
}

void TWhereBar::showTab(QWidget* tab) {
    tab_ = tab;
    refreshRevert();
    const QString path = files_.value(tab);
    file_->setText(path.isEmpty() ? QString() : QStringLiteral("Файл: ") + path);
}

QString TWhereBar::summary() const {
    QStringList parts;
    for (const QLabel* label : {port_, unit_, session_, file_})
        if (!label->text().isEmpty())
            parts << label->text();
    return parts.join(QStringLiteral(" | "));
}

TWhereBar* WhereBarOf(const QWidget* w) {
    const auto* window = w ? qobject_cast<const TRelcon4*>(w->window()) : nullptr;
    return window ? window->WhereBar : nullptr;
}
