// The main dialog's controls: created from the template table at their places in dialog
// units of the dialog font, with their limits, colours, buddies and tab order.
#include "app/CMorvikDlg.h"

#include "app/DatePicker.h"
#include "app/DialogIds.h"
#include "app/DialogTemplate.h"
#include "app/FieldUndo.h"
#include "app/KeyboardFilter.h"
#include "app/ProgramIcon.h"
#include "app/ReadingGrid.h"
#include "app/ScreenFit.h"
#include "app/SystemMenu.h"
#include "controls/CMyBtn.h"
#include "controls/CSortListCtrl.h"
#include "controls/DialogUnits.h"
#include "controls/GbkInput.h"
#include "controls/GbkTextBox.h"
#include "controls/ListCellPainter.h"
#include "controls/SongFont.h"
#include "core/Vocabulary.h"
#include "grid/CComboGridCtrl.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

namespace morvik {

namespace {

const char* const kMemberListHeadings = "序号,40;构件编号,90;平均值,60;抗压强度,60";

QWidget* createControl(const TemplateControl& c, QWidget* parent) {
    const QString caption = QString::fromUtf8(c.caption);
    switch (c.kind) {
    case TemplateKind::Edit: {
        auto* edit = new QLineEdit(parent);
        edit->setMaxLength(editCharacterLimit(c.id));
        edit->setValidator(new GbkTextValidator(edit));
        edit->setAcceptDrops(false); // a dropped file belongs to the dialog
        return edit;
    }
    case TemplateKind::MultiLineEdit: {
        auto* edit = new GbkTextBox(GbkTextLimits{editCharacterLimit(c.id)}, parent);
        edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        edit->setAcceptDrops(false);
        edit->viewport()->setAcceptDrops(false);
        return edit;
    }
    case TemplateKind::NumberEdit: {
        auto* edit = new QLineEdit(parent);
        edit->setAlignment(Qt::AlignCenter);
        edit->setValidator(
            new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
        edit->setAcceptDrops(false);
        return edit;
    }
    case TemplateKind::ResultEdit: {
        auto* edit = new QLineEdit(parent);
        edit->setAlignment(Qt::AlignCenter);
        edit->setReadOnly(true);
        edit->setAcceptDrops(false);
        return edit;
    }
    case TemplateKind::DatePicker:
        return new DatePicker(parent);
    case TemplateKind::DropDownList:
        return new QComboBox(parent);
    case TemplateKind::GroupBox: {
        auto* box = new QGroupBox(caption, parent);
        // The frame's top line runs through the middle of the caption, on the face colour,
        // as the template's places assume; a style that sets the caption above the frame
        // would push the line down through the first row of the controls inside.
        box->setStyleSheet(
            QStringLiteral("QGroupBox { border: 1px solid palette(mid); margin-top: 0.5em;"
                           " background-color: %1; }"
                           "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: "
                           "top left; left: 6px; padding: 0 2px; background-color: %1; }")
                .arg(colorFromRef(kDialogFaceColour).name()));
        return box;
    }
    case TemplateKind::ReadingGrid: {
        auto* grid = new CComboGridCtrl(parent);
        grid->setControlId(c.id);
        grid->setAccessibleName(QStringLiteral("测点读数"));
        return grid;
    }
    case TemplateKind::Button:
    case TemplateKind::HiddenButton: {
        auto* button = new CMyBtn(caption, parent);
        button->setAutoDefault(false); // Enter clicks no button
        button->setDefault(false);
        if (c.kind == TemplateKind::HiddenButton)
            button->hide();
        return button;
    }
    case TemplateKind::CheckBox: {
        // Filled with the face colour, so a frame line it sits on does not run through
        // its caption.
        auto* box = new QCheckBox(caption, parent);
        box->setAutoFillBackground(true);
        return box;
    }
    case TemplateKind::MemberList: {
        auto* list = new CSortListCtrl(parent);
        list->setHeadings(QString::fromUtf8(kMemberListHeadings));
        list->setSortOnHeadingClick(false);
        list->setAccessibleName(QStringLiteral("构件列表"));
        return list;
    }
    case TemplateKind::Label:
    case TemplateKind::RightLabel: {
        auto* label = new QLabel(caption, parent);
        label->setAlignment((c.kind == TemplateKind::RightLabel ? Qt::AlignRight : Qt::AlignLeft) |
                            Qt::AlignTop);
        return label;
    }
    }
    return nullptr;
}

// Row numbers of up to four digits are shown whole beside their check box: the number
// column grows as far as that needs, and the name column, which has room to spare, gives
// the width back.
void showRowNumbersWhole(CSortListCtrl& list) {
    constexpr int kNumberColumn = 0;
    constexpr int kNameColumn = 1;
    const int width = list.columnWidth(kNumberColumn);
    const int textRoom = listTextRect(QRect(0, 0, width, 1), true).width();
    const int needed = QFontMetrics(list.font()).horizontalAdvance(QStringLiteral("9999"));
    if (needed <= textRoom)
        return;
    const int grow = needed - textRoom;
    list.setColumnWidth(kNumberColumn, width + grow);
    list.setColumnWidth(kNameColumn, std::max(1, list.columnWidth(kNameColumn) - grow));
}

void fillCombo(QComboBox* combo, const std::vector<std::string>& items) {
    for (const std::string& item : items)
        combo->addItem(QString::fromStdString(item));
}

} // namespace

CMorvikDlg::CMorvikDlg(Prompt& prompt, std::function<CivilDate()> today, QWidget* parent)
    : QDialog(parent), prompt_(prompt), session_(*this, std::move(today)) {
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setWindowIcon(programIcon());
    setFont(songFont(kMainDialogFontPoints));
    QPalette face = palette();
    face.setColor(QPalette::Window, colorFromRef(kDialogFaceColour));
    face.setColor(QPalette::WindowText, Qt::black);
    face.setColor(QPalette::Button, colorFromRef(kDialogFaceColour));
    face.setColor(QPalette::ButtonText, Qt::black);
    setPalette(face);
    setAutoFillBackground(true);
    setAcceptDrops(true);

    createControls();
    createListMenu();
    connectHandlers();
    keyFilter_ = std::make_unique<MainDialogKeyFilter>(*this, *grid_, *list_,
                                                       [this](int id) { runCommand(id); });
    qApp->installEventFilter(keyFilter_.get());
    // A visit to a field ends when the focus leaves it: typing there again is a new step,
    // and the field's own undo no longer reaches back into the visit before. The filter
    // holds the connection: it goes before the session, while the controls still stand.
    connect(qApp, &QApplication::focusChanged, keyFilter_.get(), [this](QWidget* old, QWidget*) {
        if (!old || old->window() != this)
            return;
        forgetTypingInField(old);
        session_.endTyping();
    });
    appendAboutToSystemMenu(*this);
}

CMorvikDlg::~CMorvikDlg() = default;

bool CMorvikDlg::nativeEvent(const QByteArray& eventType, void* message, qintptr* result) {
    if (isAboutCommand(eventType, message)) {
        showAboutBox();
        *result = 0;
        return true;
    }
    return QDialog::nativeEvent(eventType, message, result);
}

void CMorvikDlg::createControls() {
    const DialogUnits du(font());
    // The controls lie on a page of the template's size, shown whole where the screen has
    // room and scrolled where it has not (fitToScreen).
    page_ = new QWidget;
    page_->setFixedSize(du.x(kMainDialogWidthDu), du.y(kMainDialogHeightDu));
    scroll_ = new QScrollArea(this);
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setFocusPolicy(Qt::NoFocus);
    scroll_->setWidget(page_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroll_);
    setFixedSize(page_->size());

    std::vector<std::pair<QLabel*, int>> buddies;
    for (const TemplateControl& c : mainDialogTemplate()) {
        QWidget* w = createControl(c, page_);
        w->setGeometry(du.rect(c.x, c.y, c.w, c.h));
        w->setFocusPolicy(w->focusPolicy() == Qt::NoFocus ? Qt::NoFocus : Qt::ClickFocus);
        if (c.kind == TemplateKind::GroupBox)
            w->lower(); // a frame lies beneath the controls it holds
        // A unit label ("mm", "MPa") is sized for the original face; where the substituted
        // face is wider it grows to the right instead of cutting its text.
        if (c.kind == TemplateKind::Label || c.kind == TemplateKind::CheckBox)
            w->resize(std::max(w->width(), w->sizeHint().width()), w->height());
        // Labels are 8 units high, one line of the original face; the substituted face
        // has a taller line, which is given room downwards instead of losing its foot.
        if (c.kind == TemplateKind::Label || c.kind == TemplateKind::RightLabel)
            w->resize(w->width(), std::max(w->height(), w->sizeHint().height()));
        // A date picker holds its whole date beside the drop-down arrow; where the
        // substituted face is wider it grows into the gap before the next label's text.
        if (c.kind == TemplateKind::DatePicker)
            static_cast<DatePicker*>(w)->growToShowWholeDate();
        if (c.buddy != 0)
            buddies.emplace_back(static_cast<QLabel*>(w), c.buddy);
        if (c.id != 0) {
            w->setObjectName(QString::number(c.id));
            controls_.insert(c.id, w);
        }
    }
    // Labels name their fields once every field exists.
    for (const auto& [label, id] : buddies)
        label->setBuddy(controls_.value(id));

    std::vector<int> order = mainDialogTabOrder();
    for (int id : order)
        controls_.value(id)->setFocusPolicy(Qt::StrongFocus);
    for (int id : mainDialogKeyboardStops()) {
        // The grid takes a click's focus through its own press handling.
        controls_.value(id)->setFocusPolicy(id == kIdReadingGrid ? Qt::TabFocus : Qt::StrongFocus);
        order.push_back(id);
    }
    for (std::size_t i = 1; i < order.size(); ++i)
        setTabOrder(controls_.value(order[i - 1]), controls_.value(order[i]));

    grid_ = static_cast<CComboGridCtrl*>(controls_.value(kIdReadingGrid));
    list_ = static_cast<CSortListCtrl*>(controls_.value(kIdMemberList));
    showRowNumbersWhole(*list_);
    setupReadingGrid(*grid_);

    fillCombo(static_cast<QComboBox*>(controls_.value(kIdBasis)), standardsList());
    fillCombo(static_cast<QComboBox*>(controls_.value(kIdMortarKind)), kindList());
    fillCombo(static_cast<QComboBox*>(controls_.value(kIdMortarVariety)),
              varietyLists()[kKindMasonry]);
}

void CMorvikDlg::createListMenu() {
    listMenu_ = new QMenu(this);
    const std::pair<const char*, int> items[] = {{"增加构件 &I", kCmdAddMember},
                                                 {"删除构件 &D", kCmdDeleteMembers},
                                                 {nullptr, 0},
                                                 {"全选 &A", kCmdToggleAllChecks}};
    for (const auto& [text, command] : items) {
        if (!text) {
            listMenu_->addSeparator();
            continue;
        }
        QAction* action = listMenu_->addAction(QString::fromUtf8(text));
        action->setData(command);
        const int id = command;
        connect(action, &QAction::triggered, this, [this, id] { runCommand(id); });
    }
}

void CMorvikDlg::fitToScreen(const QRect& available) {
    const QRect outer = frameGeometry();
    const QRect inner = geometry();
    QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(),
                   outer.right() - inner.right(), outer.bottom() - inner.bottom());
    if (!fittedToFrame_ && frame.isNull()) {
        // Not framed yet: leave room for a title bar, which is what must stay in reach.
        const int border = style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, this);
        const int title = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
        frame = QMargins(border, title + border, border, border);
    }
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, scroll_);
    const QRect placed = fitClientArea(page_->size(), frame, available, geometry(), scrollBar);
    if (placed.size() != size())
        setFixedSize(placed.size());
    // Placed by its client area: before the window is framed, where the frame will go is
    // only a guess, and the window manager puts the frame around the client area.
    if (placed.topLeft() != geometry().topLeft())
        setGeometry(placed);
}

void CMorvikDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (QScreen* s = screen())
        fitToScreen(s->availableGeometry());
}

void CMorvikDlg::moveEvent(QMoveEvent* event) {
    QDialog::moveEvent(event);
    // The frame the window manager adds is known only once it has framed the window.
    if (!fittedToFrame_ && isVisible() && frameGeometry() != geometry()) {
        fittedToFrame_ = true;
        if (QScreen* s = screen())
            fitToScreen(s->availableGeometry());
    }
}

QWidget* CMorvikDlg::control(int id) const {
    return controls_.value(id, nullptr);
}

} // namespace morvik
