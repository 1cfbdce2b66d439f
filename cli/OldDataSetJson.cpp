#include "OldDataSetJson.h"

#include "JsonReader.h"
#include "core/Evaluation.h"
#include "core/GbkText.h"
#include "io/LargePages.h"
#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <unordered_map>
#include <vector>

namespace morvik::cli::old {

using cli::JsonReader;
using cli::JsonSyntaxError;

namespace {

using Kind = JsonReader::Kind;

// The JSON is well-formed so far but does not describe a data set.
struct Fault {
    std::string what;
};

[[noreturn]] void fault(const std::string& place, const std::string& what) {
    throw Fault{place + ": " + what};
}

// A member's JSON is never shorter than this: six names and 48 values.
constexpr std::size_t kShortestMemberText = 150;
// The largest magnitude a stored reading (a float) holds.
constexpr double kLargestStored = std::numeric_limits<float>::max();
// How many distinct Chinese texts the reader keeps the GBK forms of.
constexpr std::size_t kMaxRememberedTexts = 4096;
// An upper bound to what a guess reserves ahead; more members still fit, by growing.
constexpr std::size_t kMaxReservedMembers = 1000000;

// The object a value belongs to, spelled out only when a fault names it: a data set of
// 100,000 members would otherwise build 100,000 names nobody reads.
struct Owner {
    const char* name; // "project" or "members"
    std::size_t index = kNotIndexed;
    static constexpr std::size_t kNotIndexed = static_cast<std::size_t>(-1);

    std::string text() const {
        return index == kNotIndexed ? std::string(name)
                                    : std::string(name) + "[" + std::to_string(index) + "]";
    }
};

// Which of the required members of an object have been seen.
class Required {
public:
    static constexpr std::size_t kMaxNames = 16;
    explicit Required(std::initializer_list<std::string_view> names)
        : count_(std::min(names.size(), kMaxNames)) {
        std::copy_n(names.begin(), count_, names_.begin());
    }
    void seen(std::string_view name) {
        for (std::size_t i = 0; i < count_; ++i)
            if (names_[i].data() == name.data())
                mask_ |= std::uint32_t{1} << i;
    }
    void check(const Owner& owner) const {
        for (std::size_t i = 0; i < count_; ++i)
            if ((mask_ & (std::uint32_t{1} << i)) == 0)
                fault(owner.text() + "." + std::string(names_[i]), "missing");
    }

private:
    // Compared by address: the names are the constants of the readers below.
    std::array<std::string_view, kMaxNames> names_{};
    std::size_t count_;
    std::uint32_t mask_ = 0;
};

class DataSetReader {
public:
    // Members read after the project go to `sink` where one is given; the rest stay in the
    // data set.
    DataSetReader(JsonReader& json, std::size_t textSize, MemberSink* sink)
        : json_(json), textSize_(textSize), sink_(sink) {}

    void read(DataSet& data) {
        if (json_.next() != Kind::Object) {
            json_.skipValue(); // a syntax error there is reported as such
            json_.expectEnd();
            throw Fault{"not a JSON object with project and members"};
        }
        bool haveProject = false;
        bool haveMembers = false;
        json_.beginObject();
        bool first = true;
        while (json_.more('}', first)) {
            // Given twice, either would leave the other's members or code behind.
            const std::string_view key = json_.name();
            if (key == "project") {
                if (haveProject)
                    fault("project", "given twice");
                readProject(data.project);
                haveProject = true;
            } else if (key == "members") {
                if (haveMembers)
                    fault("members", "given twice");
                readMembers(haveProject ? &data.project : nullptr, data.members);
                haveMembers = true;
            } else {
                json_.skipValue();
            }
        }
        json_.expectEnd();
        if (!haveProject)
            fault("project", "missing");
        if (!haveMembers)
            fault("members", "missing");
        if (handedOn_ + data.members.size() == 0)
            fault("members", "empty; a data set holds at least one member");
        evaluate(data.project, data.members);
        if (sink_ != nullptr) {
            for (const ShaJiang_GouJian_Struct& m : data.members)
                sink_->add(m);
            data.members.clear();
        }
    }

private:
    // Evaluated as opening a file evaluates them, under the code read.
    static void evaluate(const ProjectInfo& project, ShaJiang_GouJian_Struct& m) {
        m.meanDepth = m.strength = m.memberEstimate = kMissing;
        evaluateMember(m, project.mortarCode);
    }
    static void evaluate(const ProjectInfo& project,
                         std::vector<ShaJiang_GouJian_Struct>& members) {
        for (ShaJiang_GouJian_Struct& m : members)
            evaluate(project, m);
    }

    void readText(const Owner& owner, const char* key, char* field, std::size_t width) {
        const auto place = [&] { return owner.text() + "." + key; };
        if (json_.next() != Kind::String)
            fault(place(), "not a text");
        json_.string(text_);
        switch (gbkToFieldChecked(gbkForm(text_), field, width)) {
        case FieldTextResult::Stored:
            return;
        case FieldTextResult::TooLong:
            fault(place(), "longer than the " + std::to_string(width - 1) + " bytes it has in GBK");
        case FieldTextResult::NotEncodable:
            break;
        }
        fault(place(), "holds a character that cannot be stored in GBK");
    }
    // Dates and remarks repeat from member to member: each Chinese text goes through the
    // converter once. ASCII is its own GBK form and needs no memory.
    const std::optional<std::string>& gbkForm(const std::string& text) {
        if (isAscii(text)) {
            asciiForm_ = utf8ToGbkExactly(text); // refuses a NUL
            return asciiForm_;
        }
        const auto known = gbkForms_.find(text);
        if (known != gbkForms_.end())
            return known->second;
        if (gbkForms_.size() >= kMaxRememberedTexts)
            gbkForms_.clear();
        return gbkForms_.emplace(text, utf8ToGbkExactly(text)).first->second;
    }

    template <std::size_t N> void readText(const Owner& owner, const char* key, char (&field)[N]) {
        readText(owner, key, field, N);
    }

    template <typename Integer>
    void readInteger(const Owner& owner, const char* key, Integer& field) {
        const auto place = [&] { return owner.text() + "." + key; };
        if (json_.next() != Kind::Number)
            fault(place(), "not a whole number");
        // 18.0 is no whole number to JSON's types; the stored field has no fraction.
        const JsonReader::Number n = json_.number();
        std::int64_t value = 0;
        const auto [end, error] =
            std::from_chars(n.text.data(), n.text.data() + n.text.size(), value);
        const auto low = static_cast<std::int64_t>(std::numeric_limits<Integer>::min());
        const auto high = static_cast<std::int64_t>(std::numeric_limits<Integer>::max());
        if (!n.integral)
            fault(place(), "not a whole number");
        if (error != std::errc() || value < low || value > high)
            fault(place(), "beyond " + std::to_string(low) + " to " + std::to_string(high));
        field = static_cast<Integer>(value);
    }

    void readPoints(const Owner& owner, const char* key, float (&points)[kPointCount]) {
        const auto place = [&] { return owner.text() + "." + key; };
        const auto shape = [] {
            return "not an array of " + std::to_string(kPointCount) + " values";
        };
        if (json_.next() != Kind::Array)
            fault(place(), shape());
        json_.beginArray();
        std::size_t k = 0;
        bool first = true;
        const auto at = [&] { return place() + "[" + std::to_string(k) + "]"; };
        const auto store = [&](double value) {
            if (!(std::fabs(value) <= kLargestStored))
                fault(at(), "beyond the range of a stored value");
            points[k++] = static_cast<float>(value);
        };
        while (true) {
            // Runs of numbers in one pass, everything else item by item.
            double run[kPointCount];
            const std::size_t count = json_.numbers(run, kPointCount - k, first, kLargestStored);
            std::for_each(run, run + count, store);
            double value = 0.0;
            const JsonReader::Item item = json_.numberItem(first, value);
            if (item == JsonReader::Item::Closed)
                break;
            if (k == kPointCount)
                fault(place(), shape());
            if (item == JsonReader::Item::Null) {
                points[k++] = kMissing;
            } else if (item == JsonReader::Item::Number) {
                store(value);
            } else {
                json_.next(); // a syntax error there is reported as such
                fault(at(), "neither a number nor null");
            }
        }
        if (k != kPointCount)
            fault(place(), shape());
    }

    void readProject(ProjectInfo& p) {
        const Owner owner{"project"};
        if (json_.next() != Kind::Object)
            fault(owner.text(), "not an object");
        static constexpr std::string_view kProjectName = "projectName";
        static constexpr std::string_view kInstrument = "instrumentNumber";
        static constexpr std::string_view kTemperature = "testTemperature";
        static constexpr std::string_view kBasis = "basisIndex";
        static constexpr std::string_view kReviewer = "reviewer";
        static constexpr std::string_view kChief = "chiefInspector";
        static constexpr std::string_view kConstruction = "constructionDate";
        static constexpr std::string_view kCode = "mortarCode";
        static constexpr std::string_view kGrade = "strengthGrade";
        Required required{kProjectName, kInstrument,   kTemperature, kBasis, kReviewer,
                          kChief,       kConstruction, kCode,        kGrade};
        json_.beginObject();
        bool first = true;
        while (json_.more('}', first)) {
            const std::string_view key = json_.name();
            if (key == kProjectName) {
                readText(owner, kProjectName.data(), p.projectName);
                required.seen(kProjectName);
            } else if (key == kInstrument) {
                readText(owner, kInstrument.data(), p.instrumentNumber);
                required.seen(kInstrument);
            } else if (key == kTemperature) {
                readInteger(owner, kTemperature.data(), p.testTemperature);
                required.seen(kTemperature);
            } else if (key == kBasis) {
                readInteger(owner, kBasis.data(), p.basisIndex);
                required.seen(kBasis);
            } else if (key == kReviewer) {
                readText(owner, kReviewer.data(), p.reviewer);
                required.seen(kReviewer);
            } else if (key == kChief) {
                readText(owner, kChief.data(), p.chiefInspector);
                required.seen(kChief);
            } else if (key == kConstruction) {
                readText(owner, kConstruction.data(), p.constructionDate);
                required.seen(kConstruction);
            } else if (key == kCode) {
                readInteger(owner, kCode.data(), p.mortarCode);
                required.seen(kCode);
            } else if (key == kGrade) {
                readText(owner, kGrade.data(), p.strengthGrade);
                required.seen(kGrade);
            } else {
                json_.skipValue();
            }
        }
        required.check(owner);
    }

    void readMember(const Owner& owner, ShaJiang_GouJian_Struct& m) {
        if (json_.next() != Kind::Object)
            fault(owner.text(), "not an object");
        static constexpr std::string_view kName = "memberName";
        static constexpr std::string_view kDate = "testDate";
        static constexpr std::string_view kRemark = "remark";
        static constexpr std::string_view kUnevenness = "unevenness";
        static constexpr std::string_view kGauge = "gaugeReading";
        static constexpr std::string_view kDepth = "depth";
        Required required{kName, kDate, kRemark, kUnevenness, kGauge, kDepth};
        json_.beginObject();
        bool first = true;
        while (json_.more('}', first)) {
            const std::string_view key = json_.name();
            if (key == kName) {
                readText(owner, kName.data(), m.memberName);
                required.seen(kName);
            } else if (key == kDate) {
                readText(owner, kDate.data(), m.testDate);
                required.seen(kDate);
            } else if (key == kRemark) {
                readText(owner, kRemark.data(), m.remark);
                required.seen(kRemark);
            } else if (key == kUnevenness) {
                readPoints(owner, kUnevenness.data(), m.unevenness);
                required.seen(kUnevenness);
            } else if (key == kGauge) {
                readPoints(owner, kGauge.data(), m.gaugeReading);
                required.seen(kGauge);
            } else if (key == kDepth) {
                readPoints(owner, kDepth.data(), m.depth);
                required.seen(kDepth);
            } else {
                json_.skipValue(); // results and their shown texts are recomputed
            }
        }
        required.check(owner);
    }

    // `project`: the project already read, if any.
    void readMembers(const ProjectInfo* project, std::vector<ShaJiang_GouJian_Struct>& members) {
        if (json_.next() != Kind::Array)
            fault("members", "not an array");
        json_.beginArray();
        bool first = true;
        for (std::size_t index = 0; json_.more(']', first); ++index) {
            if (sink_ != nullptr && project != nullptr) {
                ShaJiang_GouJian_Struct m{};
                readMember(Owner{"members", index}, m);
                evaluate(*project, m);
                sink_->add(m);
                ++handedOn_;
                continue;
            }
            const std::size_t start = json_.offset();
            ShaJiang_GouJian_Struct& m = members.emplace_back();
            readMember(Owner{"members", index}, m);
            if (members.size() == 1)
                reserveLike(members, json_.offset() - start);
        }
    }

    // Room for as many members as the rest of the text holds if they are written about like
    // the first one (a quarter more, as numbers and texts vary in length). Growing a vector
    // of large records step by step moves and faults in twice their size; room reserved
    // and never used is only address space.
    void reserveLike(std::vector<ShaJiang_GouJian_Struct>& members, std::size_t firstLength) {
        if (textSize_ <= json_.offset())
            return; // the length of the text is not known
        const std::size_t rest = textSize_ - json_.offset();
        const std::size_t likeFirst = rest / std::max(firstLength, kShortestMemberText) + 1;
        const std::size_t guess = likeFirst + likeFirst / 4;
        members.reserve(std::min(guess, kMaxReservedMembers) + members.size());
        adviseLargePages(members.data(), members.capacity() * sizeof members[0]);
    }

    JsonReader& json_;
    std::size_t textSize_; // 0 when not known
    MemberSink* sink_;
    std::size_t handedOn_ = 0; // members handed to the sink while reading
    std::string text_;
    std::optional<std::string> asciiForm_;
    std::unordered_map<std::string, std::optional<std::string>> gbkForms_;
};

std::optional<std::string> readDataSet(JsonReader& json, std::size_t textSize, DataSet& data,
                                       MemberSink* sink = nullptr) {
    data = DataSet{};
    try {
        DataSetReader(json, textSize, sink).read(data);
    } catch (const JsonSyntaxError& e) {
        return "not JSON: " + std::string(e.what()) + " at byte " + std::to_string(e.offset);
    } catch (const Fault& f) {
        return f.what;
    }
    return std::nullopt;
}

} // namespace

std::optional<std::string> dataSetFromJson(std::string_view json, DataSet& data) {
    JsonReader reader(json);
    return readDataSet(reader, json.size(), data);
}

std::optional<std::string> dataSetFromJson(const JsonReader::Source& source,
                                           std::size_t expectedSize, DataSet& data) {
    JsonReader reader(source, expectedSize);
    return readDataSet(reader, expectedSize, data);
}

std::optional<std::string> dataSetFromJson(const JsonReader::Source& source,
                                           std::size_t expectedSize, ProjectInfo& project,
                                           MemberSink& members) {
    JsonReader reader(source, expectedSize);
    DataSet data;
    const auto problem = readDataSet(reader, expectedSize, data, &members);
    project = data.project;
    return problem;
}

} // namespace morvik::cli::old
