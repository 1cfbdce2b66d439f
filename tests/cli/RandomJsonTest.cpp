// make hands each member to the file as soon as it is read. Whatever the text, handed on
// so it must give what it gives kept whole: the same data set, or the same fault named at
// the same place. Texts here are data sets with random layout, spacing and awkward
// strings, then damaged a few bytes at a time.

#include "cli/DataSetJson.h"
#include <cstring>
#include <gtest/gtest.h>
#include <random>
#include <thread>

namespace morvik {
namespace {

class TextMaker {
public:
    explicit TextMaker(std::uint32_t seed) : random_(seed) {}

    std::string dataSet() {
        std::vector<std::string> keys = {"\"project\":" + project(), "\"members\":" + members()};
        if (chance(3))
            keys.insert(keys.begin(), "\"layout\":\"record\"");
        if (chance(3)) // a value nobody needs, sometimes damaged: still checked
            keys.insert(keys.begin() + pick(keys.size() + 1),
                        "\"extra\":" + (chance(2) ? damaged(oddValue()) : oddValue()));
        if (chance(4)) // a key with an escape: read whole, from wherever it stands on
            keys.insert(keys.begin() + pick(keys.size() + 1), "\"\\u0065xtra\":1");
        if (chance(8))
            std::swap(keys[keys.size() - 2], keys.back()); // members before the project
        std::string text = space() + "{";
        for (std::size_t i = 0; i < keys.size(); ++i)
            text += (i != 0 ? "," : "") + space() + keys[i] + space();
        return text + "}" + space();
    }

    // A few bytes changed, removed or added anywhere, most of them JSON's own marks.
    std::string damaged(std::string text) {
        static const std::string marks = "{}[]\",:\\ 0.-e\n";
        for (std::size_t edits = 1 + pick(3); edits > 0 && !text.empty(); --edits) {
            const std::size_t at = pick(text.size());
            const char mark = marks[pick(marks.size())];
            switch (pick(3)) {
            case 0:
                text.erase(at, 1);
                break;
            case 1:
                text.insert(at, 1, mark);
                break;
            default:
                text[at] = mark;
                break;
            }
        }
        return text;
    }

    std::size_t pick(std::size_t n) {
        return std::uniform_int_distribution<std::size_t>(0, n - 1)(random_);
    }
    bool chance(std::size_t oneIn) { return pick(oneIn) == 0; }

private:
    std::string space() {
        static const char* const spaces[] = {"", "", " ", "\n  ", "\r\n\t"};
        return spaces[pick(5)];
    }

    std::string text() {
        static const char* const texts[] = {"",           "G001",        "墙体}",
                                            "]\\\"{",     "\\u5899\\\\", "南湖\\/小区",
                                            "a\\\"b\\\\", "2017年6月3日"};
        return std::string("\"") + texts[pick(8)] + "\"";
    }

    std::string date() {
        static const char* const dates[] = {"", "2017年6月3日", "2018-03-05", "2018/3/5"};
        return std::string("\"") + dates[pick(4)] + "\"";
    }

    std::string number() {
        static const char* const numbers[] = {"4.25", "0",    "-0.0", "5.099999904632568",
                                              "1e1",  "12",   "null", "0.89543668647822553305",
                                              "3E-1", "7.750"};
        return numbers[pick(10)];
    }

    std::string oddValue() {
        static const char* const values[] = {
            "[1,{\"a\":\"}\"}]", "\"]\"", "true", "-2.5e3", "{}", "null", "[[],[{}]]"};
        return values[pick(7)];
    }

    std::string field(const std::string& name, const std::string& value) {
        return "\"" + name + "\"" + space() + ":" + space() + value;
    }

    std::string object(std::vector<std::string> fields) {
        std::shuffle(fields.begin(), fields.end(), random_);
        std::string text = "{";
        for (std::size_t i = 0; i < fields.size(); ++i)
            text += (i != 0 ? "," : "") + space() + fields[i];
        return text + space() + "}";
    }

    std::string project() {
        return object({field("projectName", text()), field("instrumentNumber", text()),
                       field("testTemperature", std::to_string(pick(60))), field("basisIndex", "0"),
                       field("reviewer", text()), field("chiefInspector", text()),
                       field("constructionDate", date()),
                       field("mortarCode", std::to_string(pick(4) * 16 + pick(2))),
                       field("strengthGrade", text())});
    }

    std::string points() {
        std::string list = "[";
        for (int k = 0; k < 16; ++k)
            list += (k != 0 ? "," : "") + space() + number();
        return list + "]";
    }

    std::string members() {
        std::string list = "[";
        for (std::size_t i = 0, n = 1 + pick(12); i < n; ++i) {
            std::vector<std::string> fields = {
                field("memberName", text()), field("testDate", date()), field("remark", text()),
                field("unevenness", points()), field("gaugeReading", points())};
            if (chance(2))
                fields.push_back(field("shown", object({field("strength", text())})));
            if (chance(4))
                fields.push_back(field("depth", oddValue()));
            list += (i != 0 ? "," : "") + space() + object(fields);
        }
        return list + space() + "]";
    }

    std::mt19937 random_;
};

struct Collected : MemberSink {
    std::vector<ShaJiang_GouJian_Struct> members;
    void add(const ShaJiang_GouJian_Struct& member) override { members.push_back(member); }
};

// A random data set, damaged unless `seed` is a multiple of `soundEvery`.
std::string randomText(std::uint32_t seed, std::uint32_t soundEvery) {
    TextMaker make(seed);
    const std::string sound = make.dataSet();
    return seed % soundEvery == 0 ? sound : make.damaged(sound);
}

bool sameData(const ProjectInfo& project, const std::vector<ShaJiang_GouJian_Struct>& members,
              const DataSet& data) {
    return std::memcmp(&project, &data.project, sizeof project) == 0 &&
           members.size() == data.members.size() &&
           std::memcmp(members.data(), data.members.data(), members.size() * sizeof members[0]) ==
               0;
}

TEST(RandomJson, HandedOnOneByOneATextGivesWhatItGivesKeptWhole) {
    int accepted = 0;
    for (std::uint32_t seed = 1; seed <= 3000; ++seed) {
        const std::string text = randomText(seed, 4);
        SCOPED_TRACE(text);
        DataSet whole;
        const auto fault = cli::dataSetFromJson(text, whole);
        accepted += !fault;
        ProjectInfo project{};
        Collected handed;
        ASSERT_EQ(cli::dataSetFromJson(cli::JsonText(text), project, handed), fault);
        if (!fault) {
            ASSERT_TRUE(sameData(project, handed.members, whole));
        }
    }
    // The cases meant: many texts are data sets even when damaged.
    EXPECT_GT(accepted, 700);
}

TEST(RandomJson, ATextGivesWhatItGivesAsTheFirstRead) {
    // The reader keeps its parser from one text to the next, large or small, sound or not; a
    // new thread reads with a parser of its own.
    for (std::uint32_t seed = 1; seed <= 400; ++seed) {
        const std::string text = randomText(seed, 3);
        SCOPED_TRACE(text);
        DataSet afterOthers;
        const auto fault = cli::dataSetFromJson(text, afterOthers);
        DataSet first;
        std::optional<std::string> firstFault;
        std::thread([&] { firstFault = cli::dataSetFromJson(text, first); }).join();
        ASSERT_EQ(fault, firstFault);
        if (!fault) {
            ASSERT_TRUE(sameData(first.project, first.members, afterOthers));
        }
    }
}

} // namespace
} // namespace morvik
