#pragma once
// The date pickers of the main dialog: long date "yyyy年MM月dd日" with a drop-down calendar,
// and a state for "no valid date" (a stored date text that does not parse), shown empty.
#include "session/SessionView.h"

#include <QDateEdit>
#include <optional>

namespace morvik {

class DatePicker : public QDateEdit {
    Q_OBJECT
public:
    explicit DatePicker(QWidget* parent = nullptr);

    // Shows `date`, or an empty field for nothing; no change signal is sent.
    void showDate(const std::optional<CivilDate>& date);
    // The date shown, or nothing when the picker shows none.
    std::optional<CivilDate> shownDate() const;

    // Widens the picker, where needed, until the widest date fits beside the drop-down
    // arrow in its font.
    void growToShowWholeDate();

protected:
    // Tab leaves the picker, as in every other field; the arrows move between its parts.
    bool focusNextPrevChild(bool next) override;
    void keyPressEvent(QKeyEvent* event) override;

signals:
    // The user changed the date (never raised by showDate).
    void userDateChanged(const std::optional<morvik::CivilDate>& date);
};

} // namespace morvik
