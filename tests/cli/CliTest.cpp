// morvik-cli through the real executable: the JSON contract and the exit statuses.

#include "../io/CommaLocale.h"
#include "../io/TestFiles.h"
#include "CliRunner.h"
#include "cli/Arguments.h"
#include "core/Batch.h"
#include "core/Evaluation.h"
#include "core/GbkText.h"
#include "core/ResultText.h"
#include "io/DataFile.h"
#include "tests/support/Portable.h"
#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <map>
#include <nlohmann/json.hpp>
#ifndef _WIN32
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace morvik {
namespace {

using Json = nlohmann::ordered_json;
using test::TempDir;

using CliRun = test::CliResult;

CliRun runCli(const std::vector<std::string>& args) {
    return test::runCliProgram(args);
}

Json runJson(const std::vector<std::string>& args) {
    const CliRun run = runCli(args);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    return Json::parse(run.out);
}

std::vector<std::string> keysOf(const Json& object) {
    std::vector<std::string> keys;
    for (auto it = object.begin(); it != object.end(); ++it)
        keys.push_back(it.key());
    return keys;
}

// A stored value must come back as exactly that float, or as null when it is missing.
void expectStored(const Json& value, float stored, const std::string& what) {
    if (!isPresent(stored)) {
        EXPECT_TRUE(value.is_null()) << what;
        return;
    }
    ASSERT_TRUE(value.is_number()) << what;
    EXPECT_EQ(value.get<double>(), static_cast<double>(stored)) << what;
    EXPECT_EQ(static_cast<float>(value.get<double>()), stored) << what;
}

void expectPoints(const Json& list, const float (&stored)[kPointCount], const std::string& what) {
    ASSERT_EQ(list.size(), 16u) << what;
    for (int k = 0; k < kPointCount; ++k)
        expectStored(list[static_cast<std::size_t>(k)], stored[k],
                     what + "[" + std::to_string(k) + "]");
}

class CliTest : public ::testing::Test {
protected:
    std::string save(const std::string& name, const DataSet& data) {
        const auto path = dir_ / name;
        EXPECT_EQ(writeDataFile(path, data), WriteResult::Written);
        return path.string();
    }
    DataSet reread(const std::string& path) {
        DataSet data;
        EXPECT_EQ(readDataFile(path, data), ReadResult::Loaded);
        return data;
    }
    TempDir dir_;
};

// Two members 5.0 MPa apart in depth, so that masonry refuses them as a batch.
DataSet spreadSet(std::uint8_t code) {
    DataSet data;
    data.project.mortarCode = code;
    data.members.push_back(test::memberWithDepths(1, std::vector<float>(16, 5.0f)));
    data.members.push_back(test::memberWithDepths(2, std::vector<float>(16, 9.0f)));
    data.members.push_back(test::memberWithDepths(3, std::vector<float>(16, 5.5f)));
    for (auto& m : data.members)
        evaluateMember(m, code);
    return data;
}

TEST_F(CliTest, ShowPrintsEveryFieldOfARecordFile) {
    DataSet data = test::sampleDataSet(3);
    data.members[1].unevenness[4] = kMissing; // one point without its reading
    data.members[1].depth[4] = kMissing;
    const std::string file = save("set.stl", data);
    const DataSet read = reread(file);

    const Json json = runJson({"show", file});
    EXPECT_EQ(keysOf(json), (std::vector<std::string>{"layout", "project", "members"}));
    EXPECT_EQ(json["layout"], "record");
    const Json& p = json["project"];
    EXPECT_EQ(keysOf(p),
              (std::vector<std::string>{"projectName", "instrumentNumber", "testTemperature",
                                        "basisIndex", "reviewer", "chiefInspector",
                                        "constructionDate", "mortarCode", "strengthGrade"}));
    EXPECT_EQ(p["projectName"], "南湖小区3号楼");
    EXPECT_EQ(p["instrumentNumber"], "GY-2017-018");
    EXPECT_EQ(p["testTemperature"], 18);
    EXPECT_EQ(p["basisIndex"], 0);
    EXPECT_EQ(p["reviewer"], "李工");
    EXPECT_EQ(p["chiefInspector"], "王工");
    EXPECT_EQ(p["constructionDate"], "2017年5月3日");
    EXPECT_EQ(p["mortarCode"], 1);
    EXPECT_EQ(p["strengthGrade"], "M7.5");

    ASSERT_EQ(json["members"].size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const Json& m = json["members"][i];
        const ShaJiang_GouJian_Struct& r = read.members[i];
        EXPECT_EQ(keysOf(m), (std::vector<std::string>{
                                 "memberName", "testDate", "remark", "unevenness", "gaugeReading",
                                 "depth", "meanDepth", "strength", "memberEstimate", "shown"}));
        EXPECT_EQ(m["memberName"], fieldToText(r.memberName));
        EXPECT_EQ(m["testDate"], fieldToText(r.testDate));
        EXPECT_EQ(m["remark"], "第" + std::to_string(i + 1) + "层墙体");
        expectPoints(m["unevenness"], r.unevenness, "unevenness");
        expectPoints(m["gaugeReading"], r.gaugeReading, "gaugeReading");
        expectPoints(m["depth"], r.depth, "depth");
        expectStored(m["meanDepth"], r.meanDepth, "meanDepth");
        expectStored(m["strength"], r.strength, "strength");
        expectStored(m["memberEstimate"], r.memberEstimate, "memberEstimate");
        const MemberResultTexts texts = memberResultTexts(r);
        EXPECT_EQ(m["shown"], (Json{{"meanDepth", texts.meanDepth},
                                    {"strength", texts.strength},
                                    {"memberEstimate", texts.memberEstimate}}));
    }
    EXPECT_TRUE(json["members"][1]["unevenness"][4].is_null());
    EXPECT_EQ(json["members"][0]["memberName"], "G001");
}

TEST_F(CliTest, ShowGivesTheShownTextsOfTheProgram) {
    DataSet data = spreadSet(0x01);
    // Six usable points give no result at all.
    data.members[2] = test::memberWithDepths(3, std::vector<float>(6, 5.0f));
    const Json json = runJson({"show", save("r.stl", data)});
    const Json& first = json["members"][0];
    EXPECT_EQ(first["shown"]["meanDepth"], "5.00");
    EXPECT_EQ(first["shown"]["strength"], "5.0");
    EXPECT_EQ(first["shown"]["memberEstimate"], "4.6"); // 4.55 fixed to 4.5500, half to even
    EXPECT_EQ(first["memberEstimate"].get<double>(), static_cast<double>(4.55f));
    const Json& third = json["members"][2];
    EXPECT_TRUE(third["meanDepth"].is_null());
    EXPECT_TRUE(third["strength"].is_null());
    EXPECT_EQ(third["shown"],
              (Json{{"meanDepth", "--"}, {"strength", "--"}, {"memberEstimate", "--"}}));
    EXPECT_TRUE(third["gaugeReading"][6].is_null());
}

TEST_F(CliTest, ShowKeepsTheStoredMortarCodeAndItsUncoveredResults) {
    DataSet data = spreadSet(0x01);
    data.project.mortarCode = 0x35; // a kind no table covers
    data.members[0].strength = 12.5f;
    data.members[0].memberEstimate = 11.25f;
    const Json json = runJson({"show", save("k.stl", data)});
    EXPECT_EQ(json["project"]["mortarCode"], 0x35);
    EXPECT_EQ(json["members"][0]["strength"], 12.5);
    EXPECT_EQ(json["members"][0]["memberEstimate"], 11.25);
    EXPECT_EQ(json["members"][0]["meanDepth"], 5.0);
}

TEST_F(CliTest, ShowReadsLegacyFiles) {
    std::map<int, std::string> fields = {{3, utf8ToGbk("旧工程")}, {4, "Q-1"}};
    for (int g = 0; g < 16; ++g)
        fields[11 + 3 * g] = "5.30";
    const auto path = dir_ / "old.stl";
    test::writeBytes(path, test::legacyImage(fields));
    const Json json = runJson({"show", path.string()});
    EXPECT_EQ(json["layout"], "legacy");
    EXPECT_EQ(json["project"]["projectName"], "旧工程");
    EXPECT_EQ(json["project"]["mortarCode"], 2);
    ASSERT_EQ(json["members"].size(), 1u);
    EXPECT_EQ(json["members"][0]["memberName"], "Q-1");
    EXPECT_EQ(json["members"][0]["unevenness"][0], 0.0);
    EXPECT_EQ(json["members"][0]["depth"][0].get<double>(), static_cast<double>(5.3f));
}

Json batchExpected(const DataSet& read, const std::vector<int>& rows, std::uint8_t code) {
    std::vector<const ShaJiang_GouJian_Struct*> checked;
    for (int row : rows)
        checked.push_back(&read.members[static_cast<std::size_t>(row)]);
    const BatchOutcome o = evaluateBatch(checked, code, kBatchMissing);
    auto number = [](double v) { return isPresent(v) ? Json(v) : Json(nullptr); };
    return Json{{"values",
                 {{"batchMean", number(o.values.batchMean)},
                  {"batchStdDev", number(o.values.batchStdDev)},
                  {"batchMin", number(o.values.batchMin)},
                  {"batchCv", number(o.values.batchCv)},
                  {"batchEstimate", number(o.values.batchEstimate)}}},
                {"shown",
                 {{"batchMean", o.texts.mean},
                  {"batchStdDev", o.texts.stdDev},
                  {"batchMin", o.texts.min},
                  {"batchCv", o.texts.cv},
                  {"batchEstimate", o.texts.estimate}}},
                {"message", o.message ? Json(o.message->text) : Json(nullptr)}};
}

TEST_F(CliTest, BatchEvaluatesTheTickedRowsInRowOrder) {
    const std::string file = save("b.stl", test::sampleDataSet(5));
    const DataSet read = reread(file);
    const Json json = runJson({"batch", file, "--rows", "5,2,4"});
    EXPECT_EQ(keysOf(json), (std::vector<std::string>{"values", "shown", "message"}));
    EXPECT_EQ(json, batchExpected(read, {1, 3, 4}, 0x01));
    EXPECT_TRUE(json["message"].is_null());
    EXPECT_TRUE(json["values"]["batchEstimate"].is_number());
    EXPECT_EQ(runJson({"batch", file, "--rows=2,4,5"}), json);
}

TEST_F(CliTest, BatchShowsTheMessagesOfTheProgram) {
    const std::string spread = save("spread.stl", spreadSet(0x01));
    const Json refused = runJson({"batch", spread, "--rows", "1,2"});
    EXPECT_EQ(refused["message"], "砌筑砂浆变异系数大于0.30时无法批处理。");
    EXPECT_GT(refused["values"]["batchCv"].get<double>(), 0.30);
    EXPECT_TRUE(refused["values"]["batchEstimate"].is_null());
    EXPECT_EQ(refused["shown"]["batchEstimate"], "--");
    EXPECT_NE(refused["shown"]["batchMean"], "--");

    const Json single = runJson({"batch", spread, "--rows", "2"});
    EXPECT_EQ(single["message"], "请选中两组以上的数据进行计算。");
    for (const char* name : {"batchMean", "batchStdDev", "batchMin", "batchCv", "batchEstimate"}) {
        EXPECT_TRUE(single["values"][name].is_null()) << name;
        EXPECT_EQ(single["shown"][name], "--") << name;
    }

    DataSet withGap = spreadSet(0x01);
    withGap.members[1] = test::memberWithDepths(2, std::vector<float>(5, 5.0f));
    const Json gap = runJson({"batch", save("gap.stl", withGap), "--rows", "1,2,3"});
    EXPECT_EQ(gap["message"], "构件：G002无法计算出抗压强度换算值，请检查数据。");
    EXPECT_TRUE(gap["values"]["batchMin"].is_null());
}

TEST_F(CliTest, BatchRunsUnderTheMortarCodeTheProgramWouldShow) {
    // 0x21 names no kind; opening the file brings it back to 0x01, masonry, whose
    // coefficient limit then applies. The members keep the results they were saved with.
    DataSet data = spreadSet(0x01);
    data.project.mortarCode = 0x21;
    const std::string file = save("odd.stl", data);
    const DataSet read = reread(file);
    const Json json = runJson({"batch", file, "--rows", "1,2"});
    EXPECT_EQ(json, batchExpected(read, {0, 1}, 0x01));
    EXPECT_EQ(json["message"], "砌筑砂浆变异系数大于0.30时无法批处理。");
}

TEST_F(CliTest, ExitStatusAndDiagnostics) {
    const std::string good = save("good.stl", spreadSet(0x10));
    const auto refusedPath = dir_ / "refused.stl";
    std::vector<std::uint8_t> refused = encodeDataFile(spreadSet(0x10));
    refused[6] = 9; // nine members claimed, three held
    test::writeBytes(refusedPath, refused);
    const auto otherVersionPath = dir_ / "v99.stl";
    std::vector<std::uint8_t> otherVersion = encodeDataFile(spreadSet(0x10));
    otherVersion[4] = 99;
    test::writeBytes(otherVersionPath, otherVersion);
    const std::string missing = (dir_ / "missing.stl").string();
    const auto cutPath = dir_ / "cut.stl";
    std::vector<std::uint8_t> cut = encodeDataFile(spreadSet(0x10));
    cut.pop_back(); // the last record lacks its final byte
    test::writeBytes(cutPath, cut);
    const auto emptyPath = dir_ / "empty.stl";
    test::writeBytes(emptyPath, {});
    const auto textPath = dir_ / "notes.stl";
    const std::string notes = "Site notes, wall 3: readings to follow.\n";
    test::writeBytes(textPath, std::vector<std::uint8_t>(notes.begin(), notes.end()));

    const struct {
        std::vector<std::string> args;
        int status;
    } cases[] = {
        {{}, 2},
        {{"frobnicate"}, 2},
        {{"show"}, 2},
        {{"show", good, good}, 2},
        {{"show", good, "--rows", "1"}, 2},
        {{"batch", good}, 2},
        {{"batch", good, "--rows"}, 2},
        {{"batch", "--rows", "1,2"}, 2},
        {{"batch", good, "--rows", "1,x"}, 2},
        {{"batch", good, "--rows", "0,1"}, 2},
        {{"batch", good, "--rows", "1,,2"}, 2},
        {{"batch", good, "--rows", "1,4"}, 2}, // the file has three members
        {{"batch", good, "--rows", "1", "--rows", "2"}, 2},
        {{"show", missing}, 1},
        {{"show", dir_.path().string()}, 1},
        {{"show", refusedPath.string()}, 1},
        {{"show", otherVersionPath.string()}, 1},
        {{"show", cutPath.string()}, 1},
        {{"show", emptyPath.string()}, 1},
        {{"show", textPath.string()}, 1},
        {{"batch", cutPath.string(), "--rows", "1,2"}, 1},
        {{"batch", missing, "--rows", "1,2"}, 1},
        {{"show", good}, 0},
        {{"batch", good, "--rows", "1,2"}, 0},
        {{"batch", good, "--rows", "1"}, 0}, // the batch's own message is no failure
    };
    for (const auto& c : cases) {
        std::string line;
        for (const auto& a : c.args)
            line += a + " ";
        SCOPED_TRACE(line);
        const CliRun run = runCli(c.args);
        EXPECT_EQ(run.status, c.status) << run.err;
        if (c.status == 2) {
            EXPECT_EQ(run.out, "");
            EXPECT_NE(run.err.find("usage:"), std::string::npos);
        } else if (c.status == 1) {
            EXPECT_EQ(run.out, "");
            EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1);
            EXPECT_EQ(run.err.back(), '\n');
        } else {
            EXPECT_EQ(run.err, "");
            EXPECT_TRUE(Json::accept(run.out));
        }
    }
}

// A stranger under the extension is named as such; only a damaged data file is told about
// its member count.
TEST_F(CliTest, AFileThatIsNoDataFileIsCalledSo) {
    const std::string ascii = "solid cube\n  facet normal 0 0 1\n    outer loop\n"
                              "      vertex 0 0 0\n      vertex 1 0 0\n      vertex 1 1 0\n"
                              "    endloop\n  endfacet\nendsolid cube\n";
    std::vector<std::uint8_t> binary(80, 0);
    const std::string header = "binary model exported by a CAD program";
    std::copy(header.begin(), header.end(), binary.begin());
    const std::uint32_t triangles = 2;
    const auto* count = reinterpret_cast<const std::uint8_t*>(&triangles);
    binary.insert(binary.end(), count, count + sizeof triangles);
    for (std::uint32_t t = 0; t < triangles; ++t) { // normal, three corners, attribute bytes
        const float corners[12] = {0, 0, 1, 0, 0, 0, 1.5f, 0, 0, 0, 2.25f, float(t)};
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(corners);
        binary.insert(binary.end(), bytes, bytes + sizeof corners);
        binary.insert(binary.end(), {0, 0});
    }
    ASSERT_EQ(binary.size(), 84u + 50u * triangles);
    std::vector<std::uint8_t> damaged = encodeDataFile(spreadSet(0x10));
    damaged[6] = 9; // nine members claimed, three held

    const struct {
        const char* name;
        std::vector<std::uint8_t> bytes;
        const char* said;
    } files[] = {
        {"ascii.stl", {ascii.begin(), ascii.end()}, "is not a data file"},
        {"binary.stl", binary, "is not a data file"},
        {"empty.stl", {}, "is empty, not a data file"},
        {"damaged.stl", damaged, "is refused: its member count"},
    };
    for (const auto& f : files) {
        SCOPED_TRACE(f.name);
        const auto path = dir_ / f.name;
        test::writeBytes(path, f.bytes);
        const CliRun run = runCli({"show", path.string()}); // every command reads alike
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.err.find(path.string() + " " + f.said), std::string::npos) << run.err;
    }
}

// Inspectors name their files after sites and buildings; every command takes such names
// in and out, and speaks of them as they were given.
TEST_F(CliTest, ChineseFileNamesAreReadAndWritten) {
    namespace fs = std::filesystem;
    const fs::path folder = dir_.path() / fs::u8path("南湖小区 3号楼");
    fs::create_directory(folder);
    const fs::path data = folder / fs::u8path("墙体.stl");
    ASSERT_EQ(writeDataFile(data, test::sampleDataSet(2)), WriteResult::Written);
    const std::string name = data.u8string();

    const CliRun shown = runCli({"show", name});
    ASSERT_EQ(shown.status, 0) << shown.err;
    const fs::path json = folder / fs::u8path("导出.json");
    test::writeBytes(json, test::Bytes(shown.out.begin(), shown.out.end()));
    const fs::path made = folder / fs::u8path("新建.stl");
    const CliRun make = runCli({"make", made.u8string(), "--from", json.u8string()});
    EXPECT_EQ(make.status, 0) << make.err;
    EXPECT_EQ(runCli({"show", made.u8string()}).out, shown.out);
    const fs::path csv = folder / fs::u8path("汇总.csv");
    const CliRun exported = runCli({"export", name, "--format", "csv", "-o", csv.u8string()});
    EXPECT_EQ(exported.status, 0) << exported.err;
    EXPECT_TRUE(fs::is_regular_file(csv));

    const std::string missing = (folder / fs::u8path("没有.stl")).u8string();
    const CliRun refused = runCli({"show", missing});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find(missing), std::string::npos) << refused.err;
}

TEST_F(CliTest, HelpPrintsUsageOnStandardOutput) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--help"}, {"-h"}, {"show", "--help"}, {"batch", "--help"}}) {
        const CliRun run = runCli(args);
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.err, "");
        EXPECT_NE(run.out.find("morvik-cli show FILE"), std::string::npos);
        EXPECT_NE(run.out.find("morvik-cli batch FILE --rows"), std::string::npos);
    }
}

// A member whose every depth is 3e38: its mean overflows single precision to infinity.
DataSet infiniteMeanSet() {
    DataSet data = spreadSet(0x01);
    data.members[1] = test::memberWithDepths(2, std::vector<float>(16, 3e38f));
    return data;
}

TEST_F(CliTest, ResultsThatAreNotFiniteAreNoValueInNumbersAndTexts) {
    const std::string file = save("inf.stl", infiniteMeanSet());
    const Json json = runJson({"show", file});
    const Json& m = json["members"][1];
    EXPECT_TRUE(m["meanDepth"].is_null());
    EXPECT_EQ(m["shown"],
              (Json{{"meanDepth", "--"}, {"strength", "--"}, {"memberEstimate", "--"}}));
    EXPECT_EQ(json["members"][0]["shown"]["meanDepth"], "5.00"); // its neighbours as before
    const std::string text = runCli({"show", file}).out;
    EXPECT_EQ(text.find("inf"), std::string::npos);
}

TEST_F(CliTest, ShowWritesTheDocumentAsOneIndentedJsonText) {
    // Members are written one at a time; the text must be what dumping the whole
    // document gives, for one member and for several.
    for (const int count : {1, 4}) {
        SCOPED_TRACE(count);
        const CliRun run = runCli({"show", save("s.stl", test::sampleDataSet(count))});
        ASSERT_EQ(run.status, 0) << run.err;
        const Json json = Json::parse(run.out);
        EXPECT_EQ(run.out, json.dump(2) + "\n");
        EXPECT_EQ(json["members"].size(), static_cast<std::size_t>(count));
    }
    std::map<int, std::string> fields = {{2, "a\nb\"c"}, {11, "5"}}; // a remark with a new line
    const auto legacy = dir_ / "old.stl";
    test::writeBytes(legacy, test::legacyImage(fields));
    const CliRun run = runCli({"show", legacy.string()});
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(run.out, Json::parse(run.out).dump(2) + "\n");
    EXPECT_EQ(Json::parse(run.out)["members"][0]["remark"], "a\nb\"c");
}

#ifndef _WIN32
// The most memory morvik-cli held while running `args` with its output thrown away.
long peakKilobytes(const std::vector<std::string>& args) {
    const std::string program = test::cliProgram();
    std::vector<std::string> all{program};
    all.insert(all.end(), args.begin(), args.end());
    const pid_t child = fork();
    if (child == 0) {
#if defined(__SANITIZE_ADDRESS__)
        // Freed blocks wait in the sanitizer's quarantine (256 MB) and would count as held.
        const char* options = std::getenv("ASAN_OPTIONS");
        const std::string asan = std::string(options ? options : "") + ":quarantine_size_mb=0";
        setenv("ASAN_OPTIONS", asan.c_str(), 1);
#endif
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        std::vector<char*> argv;
        for (std::string& a : all)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (child < 0 || wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0)
        return -1;
    return usage.ru_maxrss;
}
#endif

TEST_F(CliTest, ShowHoldsAtMostTwiceTheFileSizeBeyondItsOwnStart) {
#ifdef _WIN32
    MORVIK_SKIP_ON_WINDOWS("the peak memory of a child is measured with fork and wait4");
#else
    // 30,000 members are a 23 MB file; the whole document as one JSON value took about
    // seven times that.
    DataSet big;
    big.project = test::sampleDataSet(1).project;
    const DataSet few = test::sampleDataSet(50);
    for (int i = 0; i < 30000; ++i)
        big.members.push_back(few.members[static_cast<std::size_t>(i % 50)]);
    const std::string bigFile = save("big.stl", big);
    const std::string smallFile = save("small.stl", test::sampleDataSet(1));
    const long fileKilobytes = static_cast<long>(std::filesystem::file_size(bigFile) / 1024);

    const long base = peakKilobytes({"show", smallFile});
    const long peak = peakKilobytes({"show", bigFile});
    ASSERT_GT(base, 0);
    ASSERT_GT(peak, 0);
    EXPECT_LE(peak - base, 2 * fileKilobytes)
        << "peak " << peak << " kB, at start " << base << " kB, file " << fileKilobytes << " kB";
#endif
}

TEST_F(CliTest, FailingStandardOutputIsReported) {
    MORVIK_SKIP_ON_WINDOWS("Windows has no full device (/dev/full) to write standard output to");
    const std::string file = save("o.stl", test::sampleDataSet(3));
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"show", file}, {"batch", file, "--rows", "1,2"}, {"--help"}}) {
        SCOPED_TRACE(args.front());
        test::ProgramOptions toFullDevice;
        toFullDevice.output = "/dev/full";
        const CliRun run = test::runProgram(test::cliProgram(), args, toFullDevice);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, "morvik-cli: cannot write standard output\n");
    }
}

void expectRowLists() {
    const struct {
        const char* text;
        std::optional<std::vector<int>> rows;
    } cases[] = {
        {"1,3,5", std::vector<int>{0, 2, 4}},
        {"5,1,5", std::vector<int>{0, 4}},
        {"", std::vector<int>{}},
        {"12", std::vector<int>{11}},
        {"0", std::nullopt},
        {"1,,2", std::nullopt},
        {"1,", std::nullopt},
        {" 1", std::nullopt},
        {"-1", std::nullopt},
        {"+1", std::nullopt},
        {"1.0", std::nullopt},
        {"9999999999", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(cli::parseRowList(c.text), c.rows) << '"' << c.text << '"';
}

TEST(CliRowList, ParsesOneBasedRowsIntoRowOrder) {
    expectRowLists();
}

void expectWholeNumbers() {
    const struct {
        const char* text;
        std::optional<int> value;
    } cases[] = {
        {"300", 300},
        {"00600", 600},
        {"4800", 4800},
        {"", std::nullopt},
        {"1.000", std::nullopt},
        {"1,000", std::nullopt},
        {"3e2", std::nullopt},
        {" 300", std::nullopt},
        {"+300", std::nullopt},
        {"123456", std::nullopt}, // more than five digits
    };
    for (const auto& c : cases)
        EXPECT_EQ(cli::parseWholeNumber(c.text, 5), c.value) << '"' << c.text << '"';
    EXPECT_EQ(cli::parseWholeNumber("999999999", 9), 999999999);
}

TEST(CliNumbers, WholeNumbersAreDigitsAndNothingElse) {
    expectWholeNumbers();
}

TEST(CliNumbers, ReadTheSameUnderADecimalCommaLocale) {
    MORVIK_IN_COMMA_LOCALE(comma);
    expectRowLists();
    expectWholeNumbers();
}

} // namespace
} // namespace morvik

namespace morvik {
namespace {

TEST(CliArguments, SplitsFilesFromOptions) {
    const struct {
        std::vector<std::string> args;
        bool ok;
        std::vector<std::string> positional;
        std::string rows;
        bool help;
    } cases[] = {
        {{"a.stl", "--rows", "1,2"}, true, {"a.stl"}, "1,2", false},
        {{"--rows=3", "a.stl"}, true, {"a.stl"}, "3", false},
        {{"--rows=", "a.stl"}, true, {"a.stl"}, "", false},
        {{"--", "-odd.stl", "--rows"}, true, {"-odd.stl", "--rows"}, "", false},
        {{"a.stl", "-h"}, true, {"a.stl"}, "", true},
        {{"-", "a.stl"}, true, {"-", "a.stl"}, "", false},
        {{"--out", "x"}, false, {}, "", false},
        {{"--rows"}, false, {}, "", false},
        {{"--rows", "1", "--rows=2"}, false, {}, "", false},
    };
    for (const auto& c : cases) {
        cli::Arguments parsed;
        const auto problem = cli::parseArguments(c.args, {"--rows"}, parsed);
        EXPECT_EQ(!problem, c.ok) << c.args.front();
        if (!c.ok)
            continue;
        EXPECT_EQ(parsed.positional, c.positional);
        EXPECT_EQ(parsed.options.count("--rows") ? parsed.options.at("--rows") : "", c.rows);
        EXPECT_EQ(parsed.help, c.help);
    }
}

} // namespace
} // namespace morvik
