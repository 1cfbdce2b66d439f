// What the recovery journal costs the typing thread. With 10,000 members, an edit of a
// reading followed by bringing the journal up to date must leave the next key waiting
// less than 16 ms (one frame); the writing itself happens on the journal's own thread.
#include "io/DataFile.h"
#include "session/RecoveryJournal.h"
#include "session/Session.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <string>

namespace {

using namespace morvik;

// A view that shows nothing: the benchmark measures the session and the journal alone.
class NullView : public SessionView {
public:
    void setTitle(const std::string&) override {}
    void showProjectFields(const ProjectFields&) override {}
    void showMemberFields(const MemberFields&) override {}
    void setResultText(ResultField, const std::string&) override {}
    void setBatchModeChecked(bool) override {}
    void clearListRows() override {}
    void appendListRow(const ListRowTexts&) override {}
    void insertListRows(const std::vector<int>&, const std::vector<ListRowTexts>&,
                        const std::vector<bool>&) override {}
    void removeListRows(const std::vector<int>&) override {}
    void setListCellText(int, int, const std::string&) override {}
    void setListRowChecked(int, bool) override {}
    void selectListRow(int) override {}
    void ensureListRowVisible(int) override {}
    void focusList() override {}
    void focusTemperature() override {}
    void setReadingCellText(int, int, const std::string&) override {}
    void repaintReadingGrid() override {}
    void commitReadingEdit() override {}
    Answer showMessage(const Message&, AskButtons) override { return Answer::No; }
    std::optional<std::string> chooseOpenFile() override { return path; }
    std::optional<std::string> chooseSaveFile(const std::string&) override { return {}; }
    std::string path;
};

constexpr int kMembers = 10000;

std::filesystem::path scratch(const char* name) {
    const auto dir = std::filesystem::temp_directory_path() / name;
    std::filesystem::create_directories(dir);
    return dir;
}

void EditThenJournal(benchmark::State& state) {
    const bool journalOn = state.range(0) != 0;
    const auto dir = scratch("morvik-journal-bench");
    DataSet data;
    for (int i = 1; i <= kMembers; ++i)
        data.members.push_back(newMemberRecord(i));
    NullView view;
    view.path = (dir / "large.stl").string();
    writeDataFile(view.path, data);

    Session session(view, [] { return CivilDate{2026, 12, 7}; });
    RecoveryJournal journal(dir / "state", "2.01");
    if (journalOn)
        session.setJournal(&journal);
    session.start();
    session.openPath(view.path);

    int n = 0;
    for (auto _ : state) {
        const int point = 1 + n % kPointCount;
        session.onReadingEdited(point, 1, std::to_string(1 + n % 50) + ".25");
        session.syncJournal(); // what the program's timer does after the edit
        ++n;
    }
    journal.flush();
    std::filesystem::remove_all(dir);
}
BENCHMARK(EditThenJournal)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
