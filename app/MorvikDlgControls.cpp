// The main dialog's controls: created from the template table at their places in dialog
// units of the dialog font, with their limits, colours, buddies and tab order.
#include "app/CMorvikDlg.h"

#include "app/DatePicker.h"
#include "app/DialogIds.h"
#include "app/DialogTemplate.h"
#include "app/FieldUndo.h"
#include "app/KeyboardFilter.h"
#include "app/MultiLineField.h"
#include "app/ProgramIcon.h"
#include "app/ReadingGrid.h"
#include "app/SystemMenu.h"
#include "controls/CMyBtn.h"
#include "controls/CSortListCtrl.h"
#include "controls/DialogUnits.h"
#include "controls/GbkInput.h"
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
        auto* edit = new MultiLineField(editCharacterLimit(c.id), parent);
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
    case TemplateKind::GroupBox:
        return new QGroupBox(caption, parent);
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
    case TemplateKind::CheckBox:
        return new QCheckBox(caption, parent);
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
    setFixedSize(du.x(kMainDialogWidthDu), du.y(kMainDialogHeightDu));

    std::vector<std::pair<QLabel*, int>> buddies;
    for (const TemplateControl& c : mainDialogTemplate()) {
        QWidget* w = createControl(c, this);
        w->setGeometry(du.rect(c.x, c.y, c.w, c.h));
        w->setFocusPolicy(w->focusPolicy() == Qt::NoFocus ? Qt::NoFocus : Qt::ClickFocus);
        if (c.kind == TemplateKind::GroupBox)
            w->lower(); // a frame lies beneath the controls it holds
        // A unit label ("mm", "MPa") is sized for the original face; where the substituted
        // face is wider it grows to the right instead of cutting its text.
        if (c.kind == TemplateKind::Label)
            w->resize(std::max(w->width(), w->sizeHint().width()), w->height());
        // Labels are 8 units high, one line of the original face; the substituted face
        // has a taller line, which is given room downwards instead of losing its foot.
        if (c.kind == TemplateKind::Label || c.kind == TemplateKind::RightLabel)
            w->resize(w->width(), std::max(w->height(), w->sizeHint().height()));
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

    const std::vector<int>& order = mainDialogTabOrder();
    for (std::size_t i = 0; i < order.size(); ++i) {
        controls_.value(order[i])->setFocusPolicy(Qt::StrongFocus);
        if (i > 0)
            setTabOrder(controls_.value(order[i - 1]), controls_.value(order[i]));
    }

    grid_ = static_cast<CComboGridCtrl*>(controls_.value(kIdReadingGrid));
    list_ = static_cast<CSortListCtrl*>(controls_.value(kIdMemberList));
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

QWidget* CMorvikDlg::control(int id) const {
    return controls_.value(id, nullptr);
}

} // namespace morvik
