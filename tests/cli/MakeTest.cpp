// morvik-cli make: show -> make -> show gives the same JSON and make of show the same bytes,
// but for depths, which follow from the readings; every fault of the JSON names its place
// and writes nothing.

#include "../io/TestFiles.h"
#include "CliRunner.h"
#include "cli/DataSetJson.h"
#include "core/Evaluation.h"
#include "core/GbkText.h"
#include "io/DataFile.h"
#include <fstream>
#include <functional>
#include <gtest/gtest.h>

namespace morvik {
namespace {

using Json = nlohmann::ordered_json;
using test::TempDir;

void writeText(const std::filesystem::path& file, const std::string& text) {
    std::ofstream(file, std::ios::binary) << text;
}

class MakeTest : public ::testing::Test {
protected:
    std::string save(const std::string& name, const DataSet& data) {
        const auto path = dir_ / name;
        EXPECT_EQ(writeDataFile(path, data), WriteResult::Written);
        return path.string();
    }
    std::string json(const std::string& name, const std::string& text) {
        writeText(dir_ / name, text);
        return (dir_ / name).string();
    }
    TempDir dir_;
};

// The data set as make gives it back: each depth follows from its readings as the dialog
// derives it, and the results from the depths.
DataSet withDerivedDepths(DataSet data) {
    for (ShaJiang_GouJian_Struct& m : data.members) {
        for (int k = 0; k < kPointCount; ++k)
            m.depth[k] = isPresent(m.unevenness[k]) && isPresent(m.gaugeReading[k])
                             ? m.gaugeReading[k] - m.unevenness[k]
                             : kMissing;
        evaluateMember(m, data.project.mortarCode);
    }
    return data;
}

TEST_F(MakeTest, ShowMakeShowGivesTheSameJsonAndMakeGivesTheSameBytes) {
    // A depth the file holds beside a missing reading is not kept: it follows from them.
    for (const auto& [name, data] : test::programDataSets()) {
        SCOPED_TRACE(name);
        const std::string original = save("original.stl", data);
        const std::string expected = save("expected.stl", withDerivedDepths(data));
        const test::CliResult shown = test::runCliProgram({"show", original});
        ASSERT_EQ(shown.status, 0) << shown.err;
        const std::string shownFile = json("shown.json", shown.out);

        const std::string made = (dir_ / "made.stl").string();
        const test::CliResult make = test::runCliProgram({"make", made, "--from", shownFile});
        ASSERT_EQ(make.status, 0) << make.err;
        EXPECT_EQ(make.out, "");
        EXPECT_EQ(make.err, "");
        EXPECT_EQ(test::runCliProgram({"show", made}).out,
                  test::runCliProgram({"show", expected}).out);
        EXPECT_EQ(test::readBytes(made), test::readBytes(expected));

        // The same through standard input.
        const std::string piped = (dir_ / "piped.stl").string();
        ASSERT_EQ(test::runCliProgram({"make", piped}, shownFile).status, 0);
        EXPECT_EQ(test::readBytes(piped), test::readBytes(expected));
    }
}

TEST_F(MakeTest, ChangedReadingsMoveTheDepthsAndNoDepthIsNeeded) {
    // A laboratory system changes readings and leaves the depths out, or leaves the old
    // ones in: either way they follow from the readings, and the results from them.
    DataSet data = test::programDataSets()[1].data;
    Json doc = test::showJson(save("r.stl", data));
    for (std::size_t i = 0; i < data.members.size(); ++i) {
        ShaJiang_GouJian_Struct& m = data.members[i];
        const int k = static_cast<int>(i % kPointCount);
        m.unevenness[k] = 1.3f;
        m.gaugeReading[(k + 5) % kPointCount] = kMissing;
        m.unevenness[(k + 9) % kPointCount] = 0.05f * static_cast<float>(i);
        Json& member = doc["members"][i];
        member["unevenness"][k] = 1.3;
        member["gaugeReading"][(k + 5) % kPointCount] = nullptr;
        member["unevenness"][(k + 9) % kPointCount] = 0.05f * static_cast<float>(i);
        if (i % 2 == 0)
            member.erase("depth");
    }
    const std::string made = (dir_ / "r2.stl").string();
    ASSERT_EQ(test::runCliProgram({"make", made, "--from", json("r.json", doc.dump())}).status, 0);
    const std::string expected = save("r3.stl", withDerivedDepths(data));
    EXPECT_EQ(test::readBytes(made), test::readBytes(expected));
    EXPECT_NE(
        test::showJson(made)["members"][0]["shown"],
        test::showJson(save("r4.stl", test::programDataSets()[1].data))["members"][0]["shown"]);
}

TEST_F(MakeTest, ALegacyFileBecomesARecordFileWithTheSameMembers) {
    std::map<int, std::string> fields = {{3, utf8ToGbk("旧工程")}, {4, "Q-1"}};
    for (int g = 0; g < 16; ++g)
        fields[11 + 3 * g] = "5.30";
    const auto legacy = dir_ / "old.stl";
    test::writeBytes(legacy, test::legacyImage(fields));
    Json before = test::showJson(legacy.string());
    const std::string made = (dir_ / "new.stl").string();
    ASSERT_EQ(test::runCliProgram({"make", made, "--from", json("l.json", before.dump())}).status,
              0);
    Json after = test::showJson(made);
    EXPECT_EQ(after["layout"], "record");
    before["layout"] = "record";
    EXPECT_EQ(after, before);
}

TEST_F(MakeTest, ResultsInTheJsonAreIgnoredAndRecomputed) {
    const std::string original = save("o.stl", test::programDataSets()[1].data);
    const Json truth = test::showJson(original);
    Json forged = truth;
    for (Json& m : forged["members"]) {
        m["meanDepth"] = 99.0;
        m["strength"] = nullptr;
        m["memberEstimate"] = "many";
        m["shown"] = {{"meanDepth", "x"}};
    }
    forged["layout"] = "whatever";
    const std::string made = (dir_ / "m.stl").string();
    ASSERT_EQ(test::runCliProgram({"make", made, "--from", json("f.json", forged.dump())}).status,
              0);
    EXPECT_EQ(test::showJson(made), truth);
}

TEST_F(MakeTest, TheMembersAreEvaluatedUnderTheirMortarCode) {
    // A reading changed in the JSON moves the results as an edit in the program would.
    Json doc = test::showJson(save("c.stl", test::programDataSets()[0].data));
    for (int k = 0; k < 16; ++k) {
        doc["members"][0]["unevenness"][k] = 0.0;
        doc["members"][0]["gaugeReading"][k] = 5.0;
        doc["members"][0]["depth"][k] = 5.0;
    }
    const std::string made = (dir_ / "c2.stl").string();
    ASSERT_EQ(test::runCliProgram({"make", made, "--from", json("c.json", doc.dump())}).status, 0);
    const Json m = test::showJson(made)["members"][0];
    EXPECT_EQ(m["shown"],
              (Json{{"meanDepth", "5.00"}, {"strength", "5.0"}, {"memberEstimate", "4.6"}}));
}

struct Fault {
    const char* name;
    std::function<void(Json&)> change;
    const char* place; // what the message must name
};

TEST_F(MakeTest, FaultsNameTheirPlaceAndWriteNothing) {
    const Json good = test::showJson(save("g.stl", test::programDataSets()[1].data));
    std::string twenty;
    for (int i = 0; i < 20; ++i)
        twenty += "墙";
    const Fault faults[] = {
        {"top level not an object", [](Json& j) { j = Json::array({1}); }, "project"},
        {"no project", [](Json& j) { j.erase("project"); }, "project: missing"},
        {"project not an object", [](Json& j) { j["project"] = 3; }, "project: not an object"},
        {"temperature as text", [](Json& j) { j["project"]["testTemperature"] = "18"; },
         "project.testTemperature"},
        {"temperature with a fraction", [](Json& j) { j["project"]["testTemperature"] = 18.5; },
         "project.testTemperature"},
        {"temperature beyond int16", [](Json& j) { j["project"]["testTemperature"] = 32768; },
         "project.testTemperature"},
        {"negative temperature beyond int16",
         [](Json& j) { j["project"]["testTemperature"] = -32769; }, "project.testTemperature"},
        {"negative standard", [](Json& j) { j["project"]["basisIndex"] = -1; },
         "project.basisIndex"},
        {"mortar code beyond a byte", [](Json& j) { j["project"]["mortarCode"] = 256; },
         "project.mortarCode"},
        {"missing reviewer", [](Json& j) { j["project"].erase("reviewer"); },
         "project.reviewer: missing"},
        {"project name as number", [](Json& j) { j["project"]["projectName"] = 5; },
         "project.projectName"},
        {"no members", [](Json& j) { j.erase("members"); }, "members: missing"},
        {"members not an array", [](Json& j) { j["members"] = Json::object(); }, "members:"},
        {"zero members", [](Json& j) { j["members"] = Json::array(); }, "members: empty"},
        {"member not an object", [](Json& j) { j["members"][1] = "G002"; }, "members[1]:"},
        {"fifteen readings", [](Json& j) { j["members"][1]["unevenness"].erase(15); },
         "members[1].unevenness"},
        {"seventeen readings", [](Json& j) { j["members"][2]["gaugeReading"].push_back(nullptr); },
         "members[2].gaugeReading"},
        {"readings not an array", [](Json& j) { j["members"][0]["gaugeReading"] = 5.0; },
         "members[0].gaugeReading"},
        {"reading as text", [](Json& j) { j["members"][1]["gaugeReading"][3] = "5.3"; },
         "members[1].gaugeReading[3]"},
        {"reading as boolean", [](Json& j) { j["members"][0]["unevenness"][0] = true; },
         "members[0].unevenness[0]"},
        {"reading beyond a float", [](Json& j) { j["members"][0]["gaugeReading"][15] = 1e39; },
         "members[0].gaugeReading[15]"},
        {"member number of 20 Chinese characters",
         [&twenty](Json& j) { j["members"][3]["memberName"] = twenty; }, "members[3].memberName"},
        {"remark GBK cannot hold",
         [](Json& j) { j["members"][0]["remark"] = "墙\xF0\x9F\x98\x80"; }, "members[0].remark"},
        {"date with a NUL",
         [](Json& j) { j["members"][0]["testDate"] = std::string("2017\0x", 6); },
         "members[0].testDate"},
        {"missing remark", [](Json& j) { j["members"][4].erase("remark"); },
         "members[4].remark: missing"},
    };
    const auto target = dir_ / "out.stl";
    for (const Fault& fault : faults) {
        SCOPED_TRACE(fault.name);
        Json doc = good;
        fault.change(doc);
        const test::CliResult run =
            test::runCliProgram({"make", target.string(), "--from", json("bad.json", doc.dump())});
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find(fault.place), std::string::npos) << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        EXPECT_FALSE(std::filesystem::exists(target));
    }
}

// What the dialog cannot hold is refused by name; what it can hold, its limits included,
// is made.
TEST_F(MakeTest, OnlyWhatTheDialogCanHoldIsMade) {
    const Json good = test::showJson(save("g.stl", test::programDataSets()[1].data));
    const Fault refused[] = {
        {"reading 100", [](Json& j) { j["members"][2]["unevenness"][5] = 100; },
         "members[2].unevenness[5]: out of range"},
        {"reading -100.0", [](Json& j) { j["members"][0]["gaugeReading"][15] = -100.0; },
         "members[0].gaugeReading[15]: out of range"},
        {"reading that is 100 as a float",
         [](Json& j) { j["members"][1]["gaugeReading"][0] = 99.999999999; },
         "members[1].gaugeReading[0]: out of range"},
        {"reading 1e10", [](Json& j) { j["members"][3]["unevenness"][7] = 1e10; },
         "members[3].unevenness[7]: out of range"},
        {"missing marker as a number", [](Json& j) { j["members"][4]["unevenness"][1] = -1600.0; },
         "members[4].unevenness[1]: out of range"},
        {"standard beyond the list", [](Json& j) { j["project"]["basisIndex"] = 1; },
         "project.basisIndex: out of range"},
        {"standard 255", [](Json& j) { j["project"]["basisIndex"] = 255; },
         "project.basisIndex: out of range"},
        {"temperature below zero", [](Json& j) { j["project"]["testTemperature"] = -5; },
         "project.testTemperature: out of range"},
        {"temperature beyond 16 bits", [](Json& j) { j["project"]["testTemperature"] = 40000; },
         "project.testTemperature: out of range"},
        {"construction date that is no day",
         [](Json& j) { j["project"]["constructionDate"] = "2018年2月30日"; },
         "project.constructionDate: not a date"},
        {"test date in words", [](Json& j) { j["members"][1]["testDate"] = "yesterday"; },
         "members[1].testDate: not a date"},
        {"test date with a thirteenth month",
         [](Json& j) { j["members"][5]["testDate"] = "2018-13-01"; },
         "members[5].testDate: not a date"},
    };
    const std::string old = save("old.stl", test::programDataSets()[0].data);
    const auto before = test::readBytes(old);
    const auto fresh = dir_ / "fresh.stl";
    for (const Fault& fault : refused) {
        SCOPED_TRACE(fault.name);
        Json doc = good;
        fault.change(doc);
        const std::string from = json("bad.json", doc.dump());
        for (const std::string& target : {fresh.string(), old}) {
            const test::CliResult run = test::runCliProgram({"make", target, "--from", from});
            EXPECT_EQ(run.status, 1);
            EXPECT_EQ(run.out, "");
            EXPECT_NE(run.err.find(fault.place), std::string::npos) << run.err;
        }
        EXPECT_FALSE(std::filesystem::exists(fresh));
        EXPECT_EQ(test::readBytes(old), before);
    }
    // A whole number beyond 64 bits is out of range as well, not "not a whole number".
    std::string huge = good.dump();
    const std::string temperature =
        "\"testTemperature\":" + good["project"]["testTemperature"].dump();
    huge.replace(huge.find(temperature), temperature.size(),
                 "\"testTemperature\":-99999999999999999999");
    const test::CliResult run =
        test::runCliProgram({"make", old, "--from", json("huge.json", huge)});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("project.testTemperature: out of range"), std::string::npos) << run.err;
    EXPECT_EQ(test::readBytes(old), before);

    Json limits = good;
    limits["members"][0]["unevenness"][0] = 99.99;
    limits["members"][0]["gaugeReading"][0] = -99.99;
    limits["members"][0]["unevenness"][1] = nullptr;
    limits["members"][0]["testDate"] = "";
    limits["members"][1]["testDate"] = "2024-02-29";
    limits["project"]["constructionDate"] = "2017/5/3";
    limits["project"]["basisIndex"] = 0;
    for (const int temperature : {0, 32767}) {
        limits["project"]["testTemperature"] = temperature;
        const test::CliResult run =
            test::runCliProgram({"make", fresh.string(), "--from", json("l.json", limits.dump())});
        ASSERT_EQ(run.status, 0) << run.err;
        const Json made = test::showJson(fresh.string());
        EXPECT_EQ(made["project"], limits["project"]);
        EXPECT_EQ(made["members"][0]["unevenness"][0].get<double>(), double(99.99f));
        EXPECT_TRUE(made["members"][0]["unevenness"][1].is_null());
    }
}

TEST_F(MakeTest, BadJsonLeavesAnOldFileAsItWas) {
    const std::string old = save("old.stl", test::programDataSets()[0].data);
    const auto before = test::readBytes(old);
    for (const char* text : {"", "{", "{\"project\": }", "[1, 2", "nul", "\"\xff\""}) {
        SCOPED_TRACE(text);
        const test::CliResult run =
            test::runCliProgram({"make", old, "--from", json("bad.json", text)});
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.err.find("not JSON"), std::string::npos) << run.err;
        EXPECT_EQ(test::readBytes(old), before);
    }
}

TEST_F(MakeTest, CommandLineAndFileErrors) {
    const std::string good =
        json("good.json", test::showJson(save("g.stl", test::programDataSets()[0].data)).dump());
    const struct {
        std::vector<std::string> args;
        int status;
    } cases[] = {
        {{"make"}, 2},
        {{"make", "a.stl", "b.stl"}, 2},
        {{"make", (dir_ / "x.stl").string(), "--from"}, 2},
        {{"make", (dir_ / "x.stl").string(), "--rows", "1"}, 2},
        {{"make", (dir_ / "x.stl").string(), "--from", (dir_ / "none.json").string()}, 1},
        {{"make", (dir_ / "x.stl").string(), "--from", dir_.path().string()}, 1},
        {{"make", (dir_ / "no" / "such" / "x.stl").string(), "--from", good}, 1},
        {{"make", dir_.path().string(), "--from", good}, 1}, // a folder is no data file
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.back());
        const test::CliResult run = test::runCliProgram(c.args);
        EXPECT_EQ(run.status, c.status) << run.err;
        EXPECT_EQ(run.out, "");
        if (c.status == 2) {
            EXPECT_NE(run.err.find("usage:"), std::string::npos);
        }
    }
    EXPECT_FALSE(std::filesystem::exists(dir_ / "x.stl"));
    EXPECT_TRUE(std::filesystem::is_directory(dir_.path()));
}

TEST_F(MakeTest, ATextBeyondTheLimitIsRefusedUnread) {
    // Sparse: the size is all there is to it, and make looks at nothing else.
    const auto big = dir_ / "big.json";
    std::ofstream(big, std::ios::binary) << "{";
    std::filesystem::resize_file(big, cli::kMaxJsonSize + 1);
    const std::string old = save("old.stl", test::programDataSets()[0].data);
    const auto before = test::readBytes(old);
    const test::CliResult run = test::runCliProgram({"make", old, "--from", big.string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "morvik-cli: " + big.string() + " is larger than the 256 MB make reads\n");
    EXPECT_EQ(test::readBytes(old), before);
}

} // namespace
} // namespace morvik
