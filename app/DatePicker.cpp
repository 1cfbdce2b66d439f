#include "app/DatePicker.h"

#include <QKeyEvent>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionComboBox>

namespace morvik {

namespace {
const QString kDisplayFormat = QStringLiteral("yyyy年MM月dd日");
// The picker's lowest date stands for "no date": it is shown as this blank text.
const QString kNoDateText = QStringLiteral(" ");
// A date of the widest digits; the text field also keeps a little margin of its own.
const QDate kWidestDate(2000, 12, 28);
constexpr int kTextFieldMargins = 6;
} // namespace

DatePicker::DatePicker(QWidget* parent) : QDateEdit(parent) {
    setDisplayFormat(kDisplayFormat);
    setCalendarPopup(true);
    setSpecialValueText(kNoDateText);
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    connect(this, &QDateEdit::dateChanged, this, [this] { emit userDateChanged(shownDate()); });
}

void DatePicker::showDate(const std::optional<CivilDate>& date) {
    const QSignalBlocker quiet(this);
    const QDate d = date ? QDate(date->year, date->month, date->day) : QDate();
    setDate(d.isValid() && d > minimumDate() ? d : minimumDate());
}

std::optional<CivilDate> DatePicker::shownDate() const {
    const QDate d = date();
    if (!d.isValid() || d == minimumDate())
        return std::nullopt;
    return CivilDate{d.year(), d.month(), d.day()};
}

void DatePicker::growToShowWholeDate() {
    // With its calendar the picker is laid out as an editable combo box.
    QStyleOptionComboBox option;
    option.initFrom(this);
    option.editable = true;
    option.rect = rect();
    const QRect field =
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    const int needed =
        fontMetrics().horizontalAdvance(kWidestDate.toString(kDisplayFormat)) + kTextFieldMargins;
    if (needed > field.width())
        resize(width() + needed - field.width(), height());
}

bool DatePicker::focusNextPrevChild(bool next) {
    return QWidget::focusNextPrevChild(next);
}

void DatePicker::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) {
        const bool back =
            event->key() == Qt::Key_Backtab || (event->modifiers() & Qt::ShiftModifier);
        QWidget::focusNextPrevChild(!back);
        event->accept();
        return;
    }
    QDateEdit::keyPressEvent(event);
}

} // namespace morvik
