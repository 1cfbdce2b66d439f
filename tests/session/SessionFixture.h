#pragma once
// A started session on a recording view, with a fixed "today", and helpers that type
// readings the way the grid delivers them.

#include "RecordingView.h"
#include "core/GbkText.h"
#include "io/DataFile.h"
#include "session/Session.h"
#include "tests/support/Portable.h"
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <system_error>
#include <vector>

namespace morvik::test {

inline const CivilDate kToday{2024, 5, 6};
inline const char* const kTodayText = "2024年5月6日";

class SessionTest : public ::testing::Test {
protected:
    SessionTest() : session(view, [] { return kToday; }) {
        view.session = &session;
        session.start();
    }

    // Types unevenness and gauge reading of point p (1..16).
    void typePoint(int point, const std::string& unevenness, const std::string& gauge) {
        session.onReadingEdited(point, 1, unevenness);
        session.onReadingEdited(point, 2, gauge);
    }

    // Points 1..n with unevenness 0 and the gauge reading `depth`.
    void typeEqualDepths(int points, const std::string& depth) {
        for (int p = 1; p <= points; ++p)
            typePoint(p, "0", depth);
    }

    std::string storedName(int member) const {
        return fieldToText(session.members().at(member).memberName);
    }

    // The view's list must mirror the session's member array and ticks at all times.
    void expectListMirrorsMembers() const {
        ASSERT_EQ(view.rows.size(), session.members().size());
        for (int i = 0; i < session.memberCount(); ++i) {
            EXPECT_EQ(view.rows[i][0], std::to_string(i + 1)) << "row " << i;
            EXPECT_EQ(view.rows[i][1], storedName(i)) << "row " << i;
            EXPECT_EQ(view.rowChecks[i], session.isChecked(i)) << "row " << i;
        }
    }

    RecordingView view;
    Session session;
};

// A private folder, removed with everything in it at the end of the test.
class TempFolder {
public:
    TempFolder() : path_(test::makeScratchFolder("morvik-session-")) {}
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // UTF-8, as the session takes its paths, whatever the system's code page.
    std::string file(const std::string& name) const {
        return (path_ / std::filesystem::u8path(name)).u8string();
    }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// A data set of `count` fresh members G001.. under code 0, with an empty project.
inline DataSet freshDataSet(int count) {
    DataSet data;
    for (int i = 1; i <= count; ++i)
        data.members.push_back(newMemberRecord(i));
    return data;
}

inline std::string writeFile(const TempFolder& folder, const std::string& name,
                             const DataSet& data) {
    const std::string path = folder.file(name);
    if (writeDataFile(std::filesystem::u8path(path), data) != WriteResult::Written)
        throw std::runtime_error("cannot write " + path);
    return path;
}

} // namespace morvik::test
