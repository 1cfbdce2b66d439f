// A seeded random walk over the real main dialog: keys, accelerators, clicks and double
// clicks anywhere, the pointer over or away from the reading grid, message boxes and file
// dialogs answered at random. After every event the promises of the dialog are checked;
// a failure names the seed, the event number and the last events, so that
//   MORVIK_MONKEY_SEED=<seed> MORVIK_MONKEY_EVENTS=<n> app_tests --gtest_filter='Monkey*'
// replays it.
//
// Left out of the walk, because each would block or leave the offscreen dialog: the click
// on 打印设置 (a modal dialog of its own), 打印预览 (hides the dialog behind a preview
// frame), 计算器 (starts a process), F1 (the modal About box) and the right button (the
// list's context menu runs its own loop). The hidden buttons cannot be clicked anyway. A
// watchdog fails the walk instead of hanging should any other modal dialog appear.
//
// Esc and 退出 may end the dialog when the session agrees; the walk then starts a fresh
// dialog and goes on, as the user would start the program again.
#include "DialogFixture.h"

#include "core/Evaluation.h"
#include "core/GbkText.h"
#include "core/ResultText.h"
#include "grid/CInPlaceEdit.h"
#include "io/DataFile.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <limits>
#include <random>
#include <sstream>

namespace morvik::test {
namespace {

constexpr unsigned kDefaultSeed = 19;
constexpr int kDefaultEvents = 5000;
constexpr std::size_t kReplayTail = 20; // events printed with a failure
constexpr float kReadingLimit = 100.0f; // a stored reading's absolute value stays below
constexpr int kWatchdogMs = 250;
constexpr int kReachEvents = 2000; // a walk this long reaches every kind of command

const char* const kSaveDone = "保存文件成功。";
const char* const kOpenFailed = "打开文件失败！";

unsigned envNumber(const char* name, unsigned fallback) {
    const char* text = std::getenv(name);
    if (!text || !*text)
        return fallback;
    return static_cast<unsigned>(std::strtoul(text, nullptr, 10));
}

// What happened behind the prompt during one event, in order.
struct PromptStep {
    enum Kind { Message, SaveChosen, OpenChosen } kind;
    std::string text; // the message, or the chosen path
};

// Answers every question and file dialog from the walk's random source.
class RandomPrompt : public Prompt {
public:
    RandomPrompt(std::mt19937& rng, const QString& folder) : rng_(rng), folder_(folder) {}

    PromptAnswer showMessage(QWidget*, const Message& message, PromptButtons buttons) override {
        steps.push_back({PromptStep::Message, message.text});
        if (buttons == PromptButtons::Ok)
            return PromptAnswer::Ok;
        return pick(2) == 0 ? PromptAnswer::Yes : PromptAnswer::No;
    }

    std::optional<QString> openFileName(QWidget*, const FileDialogRequest&) override {
        std::optional<QString> path;
        switch (pick(4)) {
        case 0:
            break; // cancelled
        case 1:
            if (!saved.empty())
                path = saved[pick(static_cast<unsigned>(saved.size()))];
            else
                path = folder_ + "/从未保存.stl";
            break;
        case 2:
            path = folder_ + "/不存在.stl";
            break;
        default:
            path = folder_; // a folder is no data file
            break;
        }
        if (path)
            steps.push_back({PromptStep::OpenChosen, path->toStdString()});
        return path;
    }

    std::optional<QString> saveFileName(QWidget*, const FileDialogRequest&) override {
        std::optional<QString> path;
        switch (pick(5)) {
        case 0:
            break; // cancelled
        case 1:
            path = QString("%1/数据%2.stl").arg(folder_).arg(pick(4));
            break;
        case 2:
            if (!saved.empty())
                path = saved[pick(static_cast<unsigned>(saved.size()))];
            else
                path = folder_ + "/第一个.stl";
            break;
        case 3:
            path = folder_; // a folder cannot be written as a file
            break;
        default:
            path = folder_ + "/没有的文件夹/数据.stl";
            break;
        }
        if (path)
            steps.push_back({PromptStep::SaveChosen, path->toStdString()});
        return path;
    }

    bool choosePrinter(QWidget*, QPrinter&, int, int) override { return false; }

    unsigned pick(unsigned n) { return std::uniform_int_distribution<unsigned>(0, n - 1)(rng_); }

    std::vector<PromptStep> steps;
    std::vector<QString> saved; // files a save reported as written

private:
    std::mt19937& rng_;
    QString folder_;
};

// The names and readings of one member, what "unchanged" is judged on.
struct MemberImage {
    std::string name;
    float unevenness[kPointCount];
    float gauge[kPointCount];

    explicit MemberImage(const ShaJiang_GouJian_Struct& m) : name(fieldToText(m.memberName)) {
        std::memcpy(unevenness, m.unevenness, sizeof unevenness);
        std::memcpy(gauge, m.gaugeReading, sizeof gauge);
    }
    bool operator==(const MemberImage& o) const {
        return name == o.name && std::memcmp(unevenness, o.unevenness, sizeof unevenness) == 0 &&
               std::memcmp(gauge, o.gauge, sizeof gauge) == 0;
    }
};

bool hasReadings(const ShaJiang_GouJian_Struct& m) {
    for (int k = 0; k < kPointCount; ++k)
        if (m.unevenness[k] != kMissing || m.gaugeReading[k] != kMissing)
            return true;
    return false;
}

template <std::size_t N> bool terminated(const char (&field)[N]) {
    return std::memchr(field, 0, N) != nullptr;
}

// The id of the dialog control that `w` belongs to (its object name), or 0.
int controlIdOf(QWidget* w, QWidget* dialog) {
    for (; w && w != dialog; w = w->parentWidget()) {
        bool ok = false;
        const int id = w->objectName().toInt(&ok);
        if (ok)
            return id;
    }
    return 0;
}

class Monkey {
public:
    // What the walk reached, so that a walk that stopped reaching anything is noticed.
    struct Reach {
        int dialogs = 0;        // dialogs started, the first included
        int storedReadings = 0; // the most present readings the set held at once
        int saves = 0;          // saves reported as written
        int opens = 0;          // files opened
        int messages = 0;       // message boxes shown
        int undoneToStart = 0;  // times every step was undone, with steps to undo
    };

    Monkey(unsigned seed, int events) : seed_(seed), events_(events), rng_(seed) {
        prompt_ = std::make_unique<RandomPrompt>(rng_, dir_.path());
        watchdog_.setInterval(kWatchdogMs);
        QObject::connect(&watchdog_, &QTimer::timeout, [this] { closeStrayModal(); });
        watchdog_.start();
    }

    void run() {
        ASSERT_TRUE(dir_.isValid());
        startDialog();
        for (eventNumber_ = 1; eventNumber_ <= events_ && !failed_; ++eventNumber_) {
            prompt_->steps.clear();
            lastCommand_ = 0;
            step();
            QApplication::processEvents();
            afterEvent();
        }
        dialog_.reset();
        QApplication::processEvents();
    }

    // For the tests of the checks themselves: a started dialog, the checks of one event
    // run on demand, and the first failure kept instead of reported.
    void startForChecks() {
        reportFailures_ = false;
        startDialog();
    }
    CMorvikDlg& dialog() { return *dialog_; }
    QString folder() const { return dir_.path(); }
    void checkNow() { afterEvent(); }
    const std::string& failure() const { return failure_; }
    const Reach& reach() const { return reach_; }

private:
    unsigned pick(unsigned n) { return prompt_->pick(n); }
    bool chance(unsigned percent) { return pick(100) < percent; }

    void startDialog() {
        dialog_.reset();
        QApplication::processEvents();
        ended_ = false;
        ++reach_.dialogs;
        dialog_ = std::make_unique<CMorvikDlg>(*prompt_, [] { return kFixedToday; });
        dialog_->setPointerPosition([this] { return pointer_; });
        QObject::connect(dialog_.get(), &QDialog::finished, [this] { ended_ = true; });
        dialog_->start();
        dialog_->show();
        dialog_->activateWindow();
        if (!QTest::qWaitForWindowActive(dialog_.get()))
            fail("the dialog did not become active");
        QApplication::processEvents();
        takeBaseline();
        historyStart_ = setBytes(dialog_->session());
        historyStartKnown_ = true;
    }

    // --- events ---------------------------------------------------------------------------

    void step() {
        // An open drop-down (combo box, calendar) takes the keys until it closes.
        if (QWidget* popup = QApplication::activePopupWidget()) {
            static const Qt::Key keys[] = {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Down, Qt::Key_Up,
                                           Qt::Key_Right};
            const Qt::Key key = keys[pick(std::size(keys))];
            note("popup key " + QKeySequence(key).toString().toStdString());
            QTest::keyClick(popup, key);
            return;
        }
        const unsigned roll = pick(100);
        if (roll < 24)
            typeCharacter();
        else if (roll < 28)
            typeWord();
        else if (roll < 44)
            pressKey();
        else if (roll < 46)
            undoKey();
        else if (roll < 50)
            accelerator();
        else if (roll < 57)
            movePointer();
        else if (roll < 67)
            clickIn(*dialog_->readingGrid());
        else if (roll < 75)
            typeReading();
        else if (roll < 82)
            clickIn(*dialog_->memberList());
        else if (roll < 88)
            clickCheckBox();
        else
            clickIn(*dialog_);
    }

    // A click on a reading cell and a plausible reading typed into it, ended by a key that
    // ends edits (or left open): members gather enough points to be evaluated.
    void typeReading() {
        CGridCtrl* grid = dialog_->readingGrid();
        const int point = 1 + static_cast<int>(pick(kPointCount));
        const int column = 1 + static_cast<int>(pick(2));
        QRect cell;
        if (!grid->cellRect(point, column, &cell))
            return;
        QWidget* viewport = dialog_->childAt(grid->mapTo(dialog_.get(), cell.center()));
        if (!viewport)
            return;
        const QPoint at =
            viewport->mapFrom(dialog_.get(), grid->mapTo(dialog_.get(), cell.center()));
        const QString value = QString::number(pick(2000) / 100.0, 'f', pick(4));
        static const Qt::Key ends[] = {Qt::Key_Return, Qt::Key_Tab, Qt::Key_Down, Qt::Key_Up,
                                       Qt::Key_unknown};
        const Qt::Key end = ends[pick(std::size(ends))];
        note("reading " + value.toStdString() + " typed at (" + std::to_string(point) + ", " +
             std::to_string(column) + ") on " + describe(viewport) + ", ended by " +
             QKeySequence(end).toString().toStdString());
        QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, at);
        for (const QChar ch : value)
            QTest::keyClick(keyTarget(), ch.toLatin1());
        if (end != Qt::Key_unknown)
            QTest::keyClick(keyTarget(), end);
    }

    QWidget* keyTarget() {
        QWidget* focus = QApplication::focusWidget();
        if (focus && focus->window() == dialog_.get())
            return focus;
        return dialog_.get();
    }

    void typeCharacter() {
        static const char chars[] = "0123456789..--x";
        const char ch = chars[pick(sizeof chars - 1)];
        QWidget* target = keyTarget();
        note(std::string("type '") + ch + "' into " + describe(target));
        QTest::keyClick(target, ch);
    }

    // Whole texts, Chinese and too long ones among them, as one key click per character.
    void typeWord() {
        static const char* const words[] = {"构件编号甲乙丙丁戊己庚辛壬癸子丑寅卯辰巳午未",
                                            "12.5",
                                            "-3.125",
                                            "99.999",
                                            "100",
                                            "0.-5",
                                            "1.2.3",
                                            "12abc",
                                            "1e10",
                                            "-",
                                            ".",
                                            "3.135",
                                            "25"};
        const QString word = QString::fromUtf8(words[pick(std::size(words))]);
        QWidget* target = keyTarget();
        note("type \"" + word.toStdString() + "\" into " + describe(target));
        for (const QChar ch : word) {
            if (ch.unicode() < 0x80)
                QTest::keyClick(target, ch.toLatin1());
            else // no key of its own: the text alone, as an input method delivers it
                QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, QString(ch),
                                    Qt::NoModifier);
            // A character may end an edit or move the focus; the next goes where the user's
            // would.
            target = keyTarget();
        }
    }

    void pressKey() {
        struct Key {
            Qt::Key key;
            Qt::KeyboardModifiers mods;
            unsigned weight;
        };
        static const Key keys[] = {
            {Qt::Key_Tab, Qt::NoModifier, 6},       {Qt::Key_Backtab, Qt::ShiftModifier, 3},
            {Qt::Key_Return, Qt::NoModifier, 6},    {Qt::Key_Escape, Qt::NoModifier, 1},
            {Qt::Key_Delete, Qt::NoModifier, 1},    {Qt::Key_Insert, Qt::NoModifier, 2},
            {Qt::Key_Backspace, Qt::NoModifier, 3}, {Qt::Key_Left, Qt::NoModifier, 2},
            {Qt::Key_Right, Qt::NoModifier, 2},     {Qt::Key_Up, Qt::NoModifier, 3},
            {Qt::Key_Down, Qt::NoModifier, 3},
        };
        unsigned total = 0;
        for (const Key& k : keys)
            total += k.weight;
        unsigned roll = pick(total);
        const Key* chosen = &keys[0];
        for (const Key& k : keys) {
            if (roll < k.weight) {
                chosen = &k;
                break;
            }
            roll -= k.weight;
        }
        QWidget* target = keyTarget();
        note("key " + QKeySequence(chosen->key | chosen->mods).toString().toStdString() + " into " +
             describe(target));
        QTest::keyClick(target, chosen->key, chosen->mods);
    }

    void accelerator() {
        struct Accel {
            Qt::Key key;
            int command;
        };
        static const Accel accels[] = {
            {Qt::Key_D, kCmdDeleteMembers},
            {Qt::Key_I, kCmdAddMember},
            {Qt::Key_A, kCmdToggleAllChecks},
            {Qt::Key_N, kIdNewFile},
            {Qt::Key_O, kIdOpen},
            {Qt::Key_S, kIdSave},
        };
        const Accel& a = accels[pick(std::size(accels))];
        QWidget* target = keyTarget();
        note("key " + QKeySequence(a.key | Qt::ControlModifier).toString().toStdString() +
             " into " + describe(target));
        lastCommand_ = a.command;
        QTest::keyClick(target, a.key, Qt::ControlModifier);
    }

    // Ctrl+Z, Ctrl+Y or Ctrl+Shift+Z wherever the focus is; now and then every step is
    // undone and redone again.
    void undoKey() {
        if (chance(10))
            return undoEverything();
        static const std::pair<Qt::Key, Qt::KeyboardModifiers> keys[] = {
            {Qt::Key_Z, Qt::ControlModifier},
            {Qt::Key_Z, Qt::ControlModifier},
            {Qt::Key_Z, Qt::ControlModifier},
            {Qt::Key_Y, Qt::ControlModifier},
            {Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier}};
        const auto& [key, mods] = keys[pick(std::size(keys))];
        QWidget* target = keyTarget();
        note("key " + QKeySequence(key | mods).toString().toStdString() + " into " +
             describe(target));
        QTest::keyClick(target, key, mods);
    }

    void undoEverything() {
        // The list takes the focus first, so no typing stays open in a field or a cell.
        dialog_->memberList()->setFocus(Qt::OtherFocusReason);
        QApplication::processEvents();
        Session& s = dialog_->session();
        const std::vector<std::uint8_t> before = setBytes(s);
        const std::size_t position = s.history().position();
        note("Ctrl+Z until nothing is left, then Ctrl+Y as often");
        for (std::size_t n = s.history().size(); n > 0 && s.canUndo(); --n)
            QTest::keyClick(keyTarget(), Qt::Key_Z, Qt::ControlModifier);
        if (s.canUndo())
            return fail("Ctrl+Z did not reach the start of the history");
        reach_.undoneToStart += s.canRedo();
        checkHistoryStart(s); // also when the next checks come after a redo
        for (std::size_t n = s.history().size(); n > 0 && s.history().position() < position; --n)
            QTest::keyClick(keyTarget(), Qt::Key_Y, Qt::ControlModifier);
        if (setBytes(s) != before)
            fail("redoing every step undone did not give the data set back");
    }

    static std::vector<std::uint8_t> setBytes(const Session& s) {
        DataSet data;
        data.project = s.project();
        data.members = s.members();
        return encodeDataFile(data);
    }

    // With nothing left to undo, the data set is the one its history started from (known
    // until the history grows past its depth and forgets its start).
    void checkHistoryStart(const Session& s) {
        if (s.history().size() == 0) {
            historyStart_ = setBytes(s);
            historyStartKnown_ = true;
        } else if (s.history().size() >= kUndoDepth) {
            historyStartKnown_ = false;
        }
        if (!s.canUndo() && historyStartKnown_ && setBytes(s) != historyStart_)
            fail("after undoing every step the data set is not the one the history started "
                 "from");
    }

    void movePointer() {
        if (chance(50)) {
            QWidget* grid = dialog_->readingGrid();
            const QPoint local(pick(grid->width()), pick(grid->height()));
            pointer_ = grid->mapToGlobal(local);
            note("pointer over the grid at " + pointText(local));
        } else if (chance(50)) {
            pointer_ =
                dialog_->mapToGlobal(QPoint(pick(dialog_->width()), pick(dialog_->height())));
            note("pointer at " + pointText(dialog_->mapFromGlobal(pointer_)) + " of the dialog");
        } else {
            pointer_ = kPointerAway;
            note("pointer away");
        }
    }

    // A left click or double click at a random point of `area` (the dialog or one of its
    // controls), on whatever widget lies there.
    void clickIn(QWidget& area) {
        const QPoint local(pick(area.width()), pick(area.height()));
        clickAt(area.mapTo(dialog_.get(), local));
    }

    void clickCheckBox() {
        CSortListCtrl* list = dialog_->memberList();
        if (list->rowCount() == 0)
            return;
        const QRect box = list->checkBoxRect(pick(list->rowCount()));
        if (!box.isValid() || !list->viewport()->rect().intersects(box))
            return clickIn(*list);
        clickAt(list->viewport()->mapTo(dialog_.get(), box.center()));
    }

    void clickAt(QPoint inDialog) {
        QWidget* target = dialog_->childAt(inDialog);
        if (!target)
            target = dialog_.get();
        const int id = controlIdOf(target, dialog_.get());
        if (id == kIdPrintSettings || id == kIdPrintPreview || id == kIdCalculator) {
            note("click on " + std::to_string(id) + " left out");
            return;
        }
        if (qobject_cast<QAbstractButton*>(target))
            lastCommand_ = id;
        const QPoint at = target->mapFrom(dialog_.get(), inDialog);
        const bool twice = chance(25);
        note(std::string(twice ? "double click" : "click") + " at " + pointText(at) + " of " +
             describe(target));
        if (twice)
            QTest::mouseDClick(target, Qt::LeftButton, Qt::NoModifier, at);
        else
            QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, at);
    }

    // Fails the walk and closes a modal dialog that is not behind the prompt.
    void closeStrayModal() {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal == dialog_.get())
            return;
        fail(std::string("a modal window appeared: ") + modal->metaObject()->className());
        if (auto* d = qobject_cast<QDialog*>(modal))
            d->reject();
        else
            modal->close();
    }

    // --- invariants -----------------------------------------------------------------------

    void afterEvent() {
        if (ended_) {
            note("the dialog ended; a fresh one starts");
            startDialog();
            return;
        }
        Session& s = dialog_->session();
        countReach(s);
        checkList(s);
        checkGrid(s);
        checkStoredValues(s);
        checkResults(s);
        checkChangeFlag(s);
        checkHistoryStart(s);
    }

    void countReach(const Session& s) {
        int present = 0;
        for (const ShaJiang_GouJian_Struct& m : s.members())
            for (int k = 0; k < kPointCount; ++k)
                present += isPresent(m.unevenness[k]) + isPresent(m.gaugeReading[k]);
        reach_.storedReadings = std::max(reach_.storedReadings, present);
        for (std::size_t i = 0; i < prompt_->steps.size(); ++i) {
            const PromptStep& step = prompt_->steps[i];
            if (step.kind != PromptStep::Message)
                continue;
            ++reach_.messages;
            reach_.saves += step.text == kSaveDone;
            if (i > 0 && prompt_->steps[i - 1].kind == PromptStep::OpenChosen)
                reach_.opens -= step.text == kOpenFailed;
        }
        for (const PromptStep& step : prompt_->steps)
            reach_.opens += step.kind == PromptStep::OpenChosen;
    }

    void checkList(const Session& s) {
        const CSortListCtrl* list = dialog_->memberList();
        if (list->rowCount() != s.memberCount())
            return fail("the list holds " + std::to_string(list->rowCount()) + " rows for " +
                        std::to_string(s.memberCount()) + " members");
        int selected = 0;
        for (int row = 0; row < list->rowCount(); ++row) {
            if (list->rowState(row) & kListSelected)
                ++selected;
            const std::string name = fieldToText(s.members()[row].memberName);
            if (list->cellText(row, 1).toStdString() != name)
                return fail("row " + std::to_string(row) + " shows " +
                            list->cellText(row, 1).toStdString() + " for member " + name);
            if (list->cellText(row, 0) != QString::number(row + 1))
                return fail("row " + std::to_string(row) + " is numbered " +
                            list->cellText(row, 0).toStdString());
            if (list->isRowChecked(row) != s.isChecked(row))
                return fail("the check mark of row " + std::to_string(row) +
                            " differs from the session");
        }
        if (selected != 1 || list->selectedRow() != s.currentMember())
            return fail(std::to_string(selected) + " rows selected, row " +
                        std::to_string(list->selectedRow()) + " highlighted, current member " +
                        std::to_string(s.currentMember()));
    }

    // The cell whose in-place editor is open, or (-1, -1).
    std::pair<int, int> editedCell() const {
        for (auto* edit : dialog_->readingGrid()->findChildren<CInPlaceEdit*>())
            if (edit->isVisible())
                return {edit->row(), edit->column()};
        return {-1, -1};
    }

    bool showsValue(const QString& text, float value) const {
        if (!isPresent(value))
            return text.isEmpty();
        const std::string shown = text.toStdString();
        return shown == depthText(value) || shown == fixedText(value, 2);
    }

    void checkGrid(const Session& s) {
        if (s.currentMember() < 0)
            return fail("no current member");
        const ShaJiang_GouJian_Struct& r = s.currentRecord();
        if (!(MemberImage(r) == MemberImage(s.members()[s.currentMember()])))
            return fail("the working copy differs from its member in the array");
        const CGridCtrl* grid = dialog_->readingGrid();
        const auto [editRow, editColumn] = editedCell();
        for (int point = 1; point <= kPointCount; ++point) {
            const int k = point - 1;
            const float values[] = {
                r.unevenness[k], r.gaugeReading[k],
                isPresent(r.unevenness[k]) && isPresent(r.gaugeReading[k]) ? r.depth[k] : kMissing};
            for (int column = 1; column <= 3; ++column) {
                if (point == editRow && column == editColumn)
                    continue;
                const QString text = grid->itemText(point, column);
                if (!showsValue(text, values[column - 1]))
                    return fail("cell (" + std::to_string(point) + ", " + std::to_string(column) +
                                ") shows '" + text.toStdString() + "' for the stored " +
                                fixedText(values[column - 1], 4));
            }
        }
    }

    // Every member holds the results of its readings under the set's mortar code; the
    // current one shows them in its fields, every row in its list columns (as the row was
    // last written: rounded by a result update, as stored by a refill of the list).
    void checkResults(const Session& s) {
        if (failed_)
            return;
        const CSortListCtrl* list = dialog_->memberList();
        for (int i = 0; i < s.memberCount(); ++i) {
            const ShaJiang_GouJian_Struct& m = s.members()[i];
            ShaJiang_GouJian_Struct fresh = m;
            evaluateMember(fresh, s.mortarCode());
            if (std::memcmp(&fresh.meanDepth, &m.meanDepth, 3 * sizeof(float)) != 0)
                return fail("member " + std::to_string(i + 1) +
                            " holds results that are not those of its readings");
            const MemberResultTexts texts = memberResultTexts(m);
            const std::string depth = list->cellText(i, 2).toStdString();
            const std::string estimate = list->cellText(i, 3).toStdString();
            if ((depth != texts.listMeanDepth && depth != listMeanDepthText(m)) ||
                (estimate != texts.listEstimate && estimate != listEstimateText(m)))
                return fail("row " + std::to_string(i) + " shows " + depth + " / " + estimate +
                            " for the results of its member");
        }
        const MemberResultTexts texts = memberResultTexts(s.currentRecord());
        const std::pair<int, std::string> fields[] = {{kIdMeanDepth, texts.meanDepth},
                                                      {kIdStrength, texts.strength},
                                                      {kIdMemberEstimate, texts.memberEstimate}};
        for (const auto& [id, expected] : fields) {
            const std::string shown =
                dialog_->control(id)->property("text").toString().toStdString();
            if (shown != expected)
                return fail("field " + std::to_string(id) + " shows " + shown + " instead of " +
                            expected);
        }
    }

    void checkMember(const ShaJiang_GouJian_Struct& m, const std::string& which) {
        if (!terminated(m.memberName) || !terminated(m.testDate) || !terminated(m.remark))
            return fail(which + ": a text field without its terminating zero");
        for (int k = 0; k < kPointCount; ++k) {
            for (const float v : {m.unevenness[k], m.gaugeReading[k]})
                if (v != kMissing && !(std::fabs(v) < kReadingLimit))
                    return fail(which + ": reading " + fixedText(v, 4) + " stored at point " +
                                std::to_string(k + 1));
            const bool both = isPresent(m.unevenness[k]) && isPresent(m.gaugeReading[k]);
            const float depth = both ? m.gaugeReading[k] - m.unevenness[k] : kMissing;
            if (std::memcmp(&depth, &m.depth[k], sizeof depth) != 0)
                return fail(which + ": depth " + fixedText(m.depth[k], 4) + " at point " +
                            std::to_string(k + 1) + " is not the difference of its readings");
        }
    }

    void checkStoredValues(const Session& s) {
        for (int i = 0; i < s.memberCount() && !failed_; ++i)
            checkMember(s.members()[i], "member " + std::to_string(i + 1));
        checkMember(s.currentRecord(), "the working copy");
        const ProjectInfo& p = s.project();
        if (!terminated(p.projectName) || !terminated(p.instrumentNumber) ||
            !terminated(p.reviewer) || !terminated(p.chiefInspector) ||
            !terminated(p.constructionDate) || !terminated(p.strengthGrade))
            return fail("a project text field without its terminating zero");
        // A whole number in 检测温度 is what is stored (0, not set, is shown as 25).
        bool ok = false;
        const int shown = dialog_->control(kIdTemperature)->property("text").toString().toInt(&ok);
        if (ok && shown >= std::numeric_limits<std::int16_t>::min() &&
            shown <= std::numeric_limits<std::int16_t>::max() && shown != p.testTemperature &&
            !(p.testTemperature == 0 && shown == kDefaultTemperature))
            return fail("检测温度 shows " + std::to_string(shown) + ", the set holds " +
                        std::to_string(p.testTemperature));
    }

    // The file a successful save or open of this event left the set equal to, if any.
    std::optional<std::string> fileOfThisEvent() const {
        std::optional<std::string> file;
        const auto& steps = prompt_->steps;
        for (std::size_t i = 0; i < steps.size(); ++i) {
            const bool nextSays = i + 1 < steps.size() && steps[i + 1].kind == PromptStep::Message;
            if (steps[i].kind == PromptStep::SaveChosen && nextSays &&
                steps[i + 1].text == kSaveDone)
                file = steps[i].text;
            if (steps[i].kind == PromptStep::OpenChosen &&
                !(nextSays && steps[i + 1].text == kOpenFailed))
                file = steps[i].text;
        }
        return file;
    }

    void checkChangeFlag(const Session& s) {
        const auto& steps = prompt_->steps;
        for (std::size_t i = 0; i + 1 < steps.size(); ++i)
            if (steps[i].kind == PromptStep::SaveChosen && steps[i + 1].text == kSaveDone)
                prompt_->saved.push_back(QString::fromStdString(steps[i].text));
        if (s.dataModified())
            return;
        const bool fileCommand =
            lastCommand_ == kIdNewFile || lastCommand_ == kIdOpen || lastCommand_ == kIdSave;
        if (fileCommand) {
            // 新文件 replaces whatever its save question may have written.
            if (lastCommand_ != kIdNewFile)
                if (const std::optional<std::string> file = fileOfThisEvent())
                    checkEqualsFile(s, *file);
            takeBaseline();
            return;
        }
        for (std::size_t i = 0; i < baseline_.size(); ++i)
            if (i >= static_cast<std::size_t>(s.memberCount()) ||
                !(MemberImage(s.members()[i]) == baseline_[i]))
                return fail("member " + std::to_string(i + 1) +
                            " changed while the set is marked unchanged");
        for (int i = static_cast<int>(baseline_.size()); i < s.memberCount(); ++i)
            if (hasReadings(s.members()[i]))
                return fail("added member " + std::to_string(i + 1) +
                            " holds readings while the set is marked unchanged");
    }

    void checkEqualsFile(const Session& s, const std::string& file) {
        DataSet data;
        if (readDataFile(std::filesystem::u8path(file), data) != ReadResult::Loaded)
            return fail("the file just saved or opened cannot be read back: " + file);
        bool same = data.members.size() == static_cast<std::size_t>(s.memberCount());
        for (std::size_t i = 0; same && i < data.members.size(); ++i)
            same = MemberImage(data.members[i]) == MemberImage(s.members()[i]);
        if (!same)
            fail("the set marked unchanged differs from the file " + file);
    }

    void takeBaseline() {
        baseline_.clear();
        for (const ShaJiang_GouJian_Struct& m : dialog_->session().members())
            baseline_.emplace_back(m);
    }

    // --- reporting ------------------------------------------------------------------------

    static std::string pointText(QPoint p) {
        return "(" + std::to_string(p.x()) + ", " + std::to_string(p.y()) + ")";
    }

    std::string describe(QWidget* w) const {
        const int id = controlIdOf(w, dialog_.get());
        std::string text = w->metaObject()->className();
        if (id)
            text += " of " + std::to_string(id);
        return text;
    }

    void note(const std::string& event) {
        tail_.push_back(std::to_string(eventNumber_) + ": " + event);
        if (tail_.size() > kReplayTail)
            tail_.pop_front();
    }

    void fail(const std::string& what) {
        if (failed_)
            return;
        failed_ = true;
        failure_ = what;
        if (!reportFailures_)
            return;
        std::ostringstream out;
        out << what << "\nseed " << seed_ << ", event " << eventNumber_ << " of " << events_
            << " (MORVIK_MONKEY_SEED=" << seed_ << " MORVIK_MONKEY_EVENTS=" << eventNumber_
            << " replays it); the last events:\n";
        for (const std::string& line : tail_)
            out << "  " << line << "\n";
        ADD_FAILURE() << out.str();
    }

    unsigned seed_;
    int events_;
    std::mt19937 rng_;
    QTemporaryDir dir_;
    std::unique_ptr<RandomPrompt> prompt_;
    std::unique_ptr<CMorvikDlg> dialog_;
    QPoint pointer_ = kPointerAway;
    QTimer watchdog_;
    bool ended_ = false;
    bool failed_ = false;
    bool reportFailures_ = true;
    std::string failure_;
    Reach reach_;
    int eventNumber_ = 0;
    int lastCommand_ = 0;
    std::vector<MemberImage> baseline_;
    std::vector<std::uint8_t> historyStart_;
    bool historyStartKnown_ = false;
    std::deque<std::string> tail_;
};

TEST(Monkey, RandomWalkKeepsTheDialogsPromises) {
    const unsigned seed = envNumber("MORVIK_MONKEY_SEED", kDefaultSeed);
    const int events = static_cast<int>(envNumber("MORVIK_MONKEY_EVENTS", kDefaultEvents));
    Monkey monkey(seed, events);
    monkey.run();
    const Monkey::Reach& reach = monkey.reach();
    std::printf("monkey: seed %u, %d events, %d dialogs, %d messages, %d saves, %d opens, up to "
                "%d readings stored, %d times undone to the start\n",
                seed, events, reach.dialogs, reach.messages, reach.saves, reach.opens,
                reach.storedReadings, reach.undoneToStart);
    // A walk of this length that reaches none of these has stopped exercising the dialog.
    if (events >= kReachEvents) {
        EXPECT_GT(reach.dialogs, 1);
        EXPECT_GT(reach.saves, 0);
        EXPECT_GT(reach.opens, 0);
        EXPECT_GT(reach.storedReadings, 0);
        EXPECT_GT(reach.undoneToStart, 0);
    }
}

// The checks themselves notice a dialog that breaks its promises.
class MonkeyChecks : public ::testing::Test {
protected:
    MonkeyChecks() : monkey(kDefaultSeed, 0) { monkey.startForChecks(); }

    std::string failureAfterCheck() {
        monkey.checkNow();
        return monkey.failure();
    }

    // A data file of one member M1 with `reading` as its first unevenness reading.
    QString writeFile(const QString& name, float reading) {
        DataSet data;
        ShaJiang_GouJian_Struct m = newMemberRecord(1);
        std::strcpy(m.memberName, "M1");
        m.unevenness[0] = reading;
        data.members.push_back(m);
        const QString path = monkey.folder() + "/" + name;
        EXPECT_EQ(writeDataFile(std::filesystem::u8path(path.toStdString()), data),
                  WriteResult::Written);
        return path;
    }

    Monkey monkey;
};

TEST_F(MonkeyChecks, AFreshDialogPasses) {
    EXPECT_EQ(failureAfterCheck(), "");
}

TEST_F(MonkeyChecks, GridCellThatDisagreesWithTheSet) {
    monkey.dialog().readingGrid()->setItemText(3, 2, "12.00");
    EXPECT_NE(failureAfterCheck().find("cell (3, 2)"), std::string::npos) << monkey.failure();
}

TEST_F(MonkeyChecks, ListRowThatDisagreesWithTheSet) {
    monkey.dialog().memberList()->setCellText(0, 1, "G999");
    EXPECT_NE(failureAfterCheck().find("row 0 shows G999"), std::string::npos) << monkey.failure();
}

TEST_F(MonkeyChecks, NoRowHighlighted) {
    monkey.dialog().memberList()->setRowSelected(0, false, ListNotify::Quiet);
    EXPECT_NE(failureAfterCheck().find("0 rows selected"), std::string::npos) << monkey.failure();
}

TEST_F(MonkeyChecks, ResultFieldThatDisagreesWithTheMember) {
    monkey.dialog().control(kIdMeanDepth)->setProperty("text", "9.99");
    EXPECT_NE(failureAfterCheck().find("field 1021 shows 9.99"), std::string::npos)
        << monkey.failure();
}

TEST_F(MonkeyChecks, SetChangedBehindAClearFlag) {
    // Opening outside a file command stands for any change that forgets to set the flag.
    monkey.dialog().session().openPath(writeFile("eins.stl", 2.5f).toStdString());
    ASSERT_FALSE(monkey.dialog().session().dataModified());
    EXPECT_NE(failureAfterCheck().find("marked unchanged"), std::string::npos) << monkey.failure();
}

TEST_F(MonkeyChecks, SetThatUndoDoesNotBringBack) {
    Session& s = monkey.dialog().session();
    s.onReadingEdited(1, 1, "5");
    s.undo();
    ASSERT_FALSE(s.canUndo());
    // A change behind the history's back, where no other check looks.
    std::strcpy(const_cast<ShaJiang_GouJian_Struct&>(s.members()[0]).remark, "x");
    std::strcpy(const_cast<ShaJiang_GouJian_Struct&>(s.currentRecord()).remark, "x");
    EXPECT_NE(failureAfterCheck().find("undoing every step"), std::string::npos)
        << monkey.failure();
}

TEST_F(MonkeyChecks, ReadingOutOfItsRange) {
    monkey.dialog().session().openPath(writeFile("weit.stl", 150.0f).toStdString());
    EXPECT_NE(failureAfterCheck().find("reading 150.0000"), std::string::npos) << monkey.failure();
}

} // namespace
} // namespace morvik::test
