#include "DataSetJson.h"

#include "DataSetFields.h"
#include "FilePath.h"
#include "core/Evaluation.h"
#include "core/GbkText.h"
#include "core/Records.h"
#include "io/LargePages.h"
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <limits>
#include <simdjson.h>
#include <unordered_map>
#include <vector>

namespace morvik::cli {

namespace {

namespace od = simdjson::ondemand;
using simdjson::error_code;

constexpr std::size_t kPadding = simdjson::SIMDJSON_PADDING;
// Deeper values are refused: the checks of skipped values follow them into the stack.
constexpr int kMaxNesting = 512;
// A number may have at most this many characters, a limit RFC 8259 leaves to the reader.
constexpr std::size_t kMaxNumberLength = 4096;
// How many distinct Chinese texts the reader keeps the GBK forms of.
constexpr std::size_t kMaxRememberedTexts = 4096;

// The JSON is well-formed so far but does not describe a data set.
struct Fault {
    std::string what;
};

// The text is not JSON; `offset` is the byte where that became clear, where known.
struct NotJson {
    std::string what;
    std::optional<std::size_t> offset;

    std::string message() const {
        return "not JSON: " + what + (offset ? " at byte " + std::to_string(*offset) : "");
    }
};

// Characters below this stand in a JSON string only escaped.
constexpr unsigned char kFirstUnescaped = 0x20;

// Where a fault found while the text is first indexed stands: a text cut short is named at
// its end, a control character in a string where it is; the indexer names no place itself.
std::optional<std::size_t> indexFaultOffset(error_code error, std::string_view text) {
    switch (error) {
    case simdjson::EMPTY:
    case simdjson::UNCLOSED_STRING:
    case simdjson::INCOMPLETE_ARRAY_OR_OBJECT:
        return text.size();
    case simdjson::UNESCAPED_CHARS: {
        bool inString = false;
        for (std::size_t i = 0; i < text.size(); ++i) {
            const auto c = static_cast<unsigned char>(text[i]);
            if (inString && c < kFirstUnescaped)
                return i;
            if (inString && c == '\\')
                ++i; // the escaped character, a quote among them
            else if (c == '"')
                inString = !inString;
        }
        return std::nullopt;
    }
    default:
        return std::nullopt;
    }
}

[[noreturn]] void fault(const std::string& place, const std::string& what) {
    throw Fault{place + ": " + what};
}

const char* syntaxFault(error_code error) {
    switch (error) {
    case simdjson::EMPTY:
    case simdjson::T_ATOM_ERROR:
    case simdjson::F_ATOM_ERROR:
    case simdjson::N_ATOM_ERROR:
        return "no JSON value";
    case simdjson::UTF8_ERROR:
        return "invalid UTF-8";
    case simdjson::UNESCAPED_CHARS:
        return "a control character in a string";
    case simdjson::UNCLOSED_STRING:
        return "a string without its end";
    case simdjson::STRING_ERROR:
        return "a bad escape in a string";
    case simdjson::NUMBER_ERROR:
        return "a malformed number";
    case simdjson::DEPTH_ERROR:
        return "values nested too deeply";
    case simdjson::INCOMPLETE_ARRAY_OR_OBJECT:
        return "the text ends inside a value";
    case simdjson::TRAILING_CONTENT:
        return "text after the JSON value";
    case simdjson::MEMALLOC:
    case simdjson::CAPACITY:
        return "too large to read";
    default:
        return "a value, comma or bracket out of place";
    }
}

// Whether `text` is a number by the grammar of RFC 8259. The parser says only that a
// number failed; one that is well-formed failed for its size.
bool isJsonNumber(std::string_view text) {
    std::size_t i = 0;
    const auto digit = [&] { return i < text.size() && text[i] >= '0' && text[i] <= '9'; };
    const auto digits = [&] {
        if (!digit())
            return false;
        while (digit())
            ++i;
        return true;
    };
    if (i < text.size() && text[i] == '-')
        ++i;
    if (i < text.size() && text[i] == '0')
        ++i;
    else if (!digits())
        return false;
    if (i < text.size() && text[i] == '.') {
        ++i;
        if (!digits())
            return false;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            ++i;
        if (!digits())
            return false;
    }
    return i == text.size();
}

std::string_view withoutTrailingSpace(std::string_view token) {
    while (!token.empty() && (token.back() == ' ' || token.back() == '\n' || token.back() == '\r' ||
                              token.back() == '\t'))
        token.remove_suffix(1);
    return token;
}

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
    std::string place(std::string_view key) const { return text() + "." + std::string(key); }
};

template <std::size_t N>
const JsonField* fieldNamed(const std::array<JsonField, N>& fields, std::string_view key,
                            std::size_t& index) {
    for (index = 0; index < N; ++index)
        if (fields[index].name == key)
            return &fields[index];
    return nullptr;
}

class DataSetReader {
public:
    // Members read after the project go to `sink` where one is given; the rest stay in the
    // data set.
    explicit DataSetReader(MemberSink* sink) : sink_(sink) {}

    // The whole text parsed at once as `doc`.
    void read(std::string_view json, od::document& doc, DataSet& data) {
        json_ = json;
        doc_ = &doc;
        const od::json_type type = take(doc_->type());
        if (type != od::json_type::object) {
            check(*doc_, 0); // a syntax error there is reported as such
            if (type == od::json_type::array)
                expectEnd(); // the parser checks what follows a lone value itself
            throw Fault{"not a JSON object with project and members"};
        }
        bool haveProject = false;
        bool haveMembers = false;
        od::object root = take(doc_->get_object());
        for (auto member : root) {
            od::field field = take(std::move(member));
            // Given twice, either would leave the other's members or code behind.
            const std::string_view key = keyOf(field);
            if (key == "project") {
                if (haveProject)
                    fault("project", "given twice");
                readProject(field.value(), data.project);
                haveProject = true;
            } else if (key == "members") {
                if (haveMembers)
                    fault("members", "given twice");
                readMembers(field.value(), haveProject ? &data.project : nullptr, data.members);
                haveMembers = true;
            } else {
                check(field.value(), 1);
            }
        }
        expectEnd();
        if (!haveProject)
            fault("project", "missing");
        if (!haveMembers)
            fault("members", "missing");
        finish(data);
    }

    // After the last member: what no member could say alone, and the members kept
    // evaluated, or handed on where they go on.
    void finish(DataSet& data) {
        if (handedOn_ + data.members.size() == 0)
            fault("members", "empty; a data set holds at least one member");
        for (ShaJiang_GouJian_Struct& m : data.members)
            evaluate(data.project, m);
        if (sink_ != nullptr) {
            for (const ShaJiang_GouJian_Struct& m : data.members)
                sink_->add(m);
            data.members.clear();
        }
    }

private:
    [[noreturn]] void notJson(const std::string& what) {
        const char* at = nullptr;
        const std::size_t offset = doc_->current_location().get(at) == simdjson::SUCCESS
                                       ? static_cast<std::size_t>(at - json_.data())
                                       : json_.size();
        throw NotJson{what, offset};
    }

    // A fault the indexer found is named where it stands, not where the parser was.
    [[noreturn]] void notJson(error_code error) {
        if (const auto offset = indexFaultOffset(error, json_))
            throw NotJson{syntaxFault(error), offset};
        notJson(syntaxFault(error));
    }

    template <typename T> T take(simdjson::simdjson_result<T>&& result) {
        T value;
        if (const error_code error = std::move(result).get(value))
            notJson(error);
        return value;
    }

    // A key or text is copied out of the text only where it holds an escape: copying every
    // one of a large data set would fill as much fresh memory again as a third of the text,
    // and fresh memory is what reading costs most. The indexer has checked the rest.
    static std::optional<std::string_view> unescaped(const char* afterQuote) {
        for (const char* at = afterQuote;; ++at) {
            if (*at == '"')
                return std::string_view(afterQuote, static_cast<std::size_t>(at - afterQuote));
            if (*at == '\\')
                return std::nullopt;
        }
    }
    std::string_view keyOf(od::field& field) {
        if (const auto plain = unescaped(field.key().raw()))
            return *plain;
        return take(field.unescaped_key());
    }
    template <typename Value> std::string_view stringOf(Value& v) {
        const auto plain = unescaped(rawToken(v).data() + 1);
        if (!plain)
            return take(v.get_string());
        take(v.get_raw_json_string());
        return *plain;
    }

    std::string_view rawToken(od::value& v) { return v.raw_json_token(); }
    std::string_view rawToken(od::document& d) { return take(d.raw_json_token()); }

    // The number's text, refused when it is no number or too long for one.
    template <typename Value> std::string_view numberText(Value& v) {
        const std::string_view text = withoutTrailingSpace(rawToken(v));
        if (text.size() > kMaxNumberLength)
            notJson("a number of more than " + std::to_string(kMaxNumberLength) + " characters");
        if (!isJsonNumber(text))
            notJson("a malformed number");
        return text;
    }

    // The nearest double to a number, NaN beyond the range of a double either way (a value
    // too small for one, too). from_chars is exact and knows no locale; simdjson 3.0.1 may
    // miss the nearest double of a number of more than 19 digits (0.89543668647822553305
    // reads as 0.1575...), and on short ones it was the slower of the two.
    template <typename Value> double numberValue(Value& v) {
        const std::string_view text = numberText(v);
        double value = 0.0;
        if (std::from_chars(text.data(), text.data() + text.size(), value).ec != std::errc())
            return std::numeric_limits<double>::quiet_NaN();
        return value;
    }

    // Reads a value nobody needs, so that what is not JSON in it is refused all the same.
    template <typename Value> void check(Value&& v, int depth) {
        if (depth > kMaxNesting)
            notJson("values nested too deeply");
        switch (take(v.type())) {
        case od::json_type::object:
            for (auto member : take(v.get_object())) {
                od::field field = take(std::move(member));
                keyOf(field);
                check(field.value(), depth + 1);
            }
            break;
        case od::json_type::array:
            for (auto item : take(v.get_array()))
                check(take(std::move(item)), depth + 1);
            break;
        case od::json_type::string:
            stringOf(v);
            break;
        case od::json_type::number:
            numberText(v); // its value is not needed, only that it is a number
            break;
        case od::json_type::boolean:
            take(v.get_bool());
            break;
        case od::json_type::null:
            if (!take(v.is_null()))
                notJson("no JSON value");
            break;
        }
    }

    // Refuses anything but white space after the value read.
    void expectEnd() {
        const char* at = nullptr;
        if (doc_->current_location().get(at) == simdjson::SUCCESS)
            notJson("text after the JSON value");
    }

    // Evaluated as opening a file evaluates them, under the code read, after each depth
    // has been derived from its readings.
    static void evaluate(const ProjectInfo& project, ShaJiang_GouJian_Struct& m) {
        for (int k = 0; k < kPointCount; ++k)
            updatePointDepth(m, k);
        m.meanDepth = m.strength = m.memberEstimate = kMissing;
        evaluateMember(m, project.mortarCode);
    }

    void readText(od::value v, const Owner& owner, const JsonField& f, char* into) {
        if (take(v.type()) != od::json_type::string)
            fault(owner.place(f.name), "not a text");
        text_.assign(stringOf(v));
        switch (gbkToFieldChecked(gbkForm(text_), into, f.size)) {
        case FieldTextResult::Stored:
            if (const auto why = refusal(f, text_))
                fault(owner.place(f.name), *why);
            return;
        case FieldTextResult::TooLong:
            fault(owner.place(f.name),
                  "longer than the " + std::to_string(f.size - 1) + " bytes it has in GBK");
        case FieldTextResult::NotEncodable:
            break;
        }
        fault(owner.place(f.name), "holds a character that cannot be stored in GBK");
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

    void readInteger(od::value v, const Owner& owner, const JsonField& f, void* record) {
        // 18.0 is no whole number to JSON's types; the stored field has no fraction.
        if (take(v.type()) != od::json_type::number)
            fault(owner.place(f.name), "not a whole number");
        const std::string_view text = numberText(v);
        if (text.find_first_of(".eE") != std::string_view::npos)
            fault(owner.place(f.name), "not a whole number");
        std::int64_t value = 0;
        const bool fits = v.get_int64().get(value) == simdjson::SUCCESS;
        if (const auto why = refusal(f, fits ? std::optional<std::int64_t>(value) : std::nullopt))
            fault(owner.place(f.name), *why);
        setInteger(record, f, value);
    }

    void readPoints(od::value v, const Owner& owner, const JsonField& f, char* into) {
        const auto shape = [&] {
            fault(owner.place(f.name),
                  "not an array of " + std::to_string(kPointCount) + " values");
        };
        if (take(v.type()) != od::json_type::array)
            shape();
        float points[kPointCount];
        int k = 0;
        const auto at = [&] { return owner.place(f.name) + "[" + std::to_string(k) + "]"; };
        for (auto itemResult : take(v.get_array())) {
            od::value item = take(std::move(itemResult));
            if (k == kPointCount)
                shape();
            const od::json_type type = take(item.type());
            if (type == od::json_type::number) {
                const double value = numberValue(item);
                if (const auto why = readingRefusal(value))
                    fault(at(), *why);
                points[k++] = static_cast<float>(value);
            } else if (type == od::json_type::null && take(item.is_null())) {
                points[k++] = kMissing;
            } else {
                check(item, 0); // a syntax error there is reported as such
                fault(at(), "neither a number nor null");
            }
        }
        if (k != kPointCount)
            shape();
        std::memcpy(into, points, sizeof points);
    }

    // Reads the fields of `fields` into `record`; every field that is not derived is
    // required, any other member is skipped.
    template <std::size_t N>
    void readRecord(od::value v, const Owner& owner, const std::array<JsonField, N>& fields,
                    void* record) {
        if (take(v.type()) != od::json_type::object)
            fault(owner.text(), "not an object");
        std::uint32_t seen = 0;
        static_assert(N <= 32);
        for (auto member : take(v.get_object())) {
            od::field field = take(std::move(member));
            std::size_t index = 0;
            const JsonField* f = fieldNamed(fields, keyOf(field), index);
            if (f == nullptr || f->derived()) {
                check(field.value(), 2);
                continue;
            }
            char* into = fieldBytes(record, *f);
            switch (f->kind) {
            case FieldKind::Text:
                readText(field.value(), owner, *f, into);
                break;
            case FieldKind::Integer:
                readInteger(field.value(), owner, *f, record);
                break;
            case FieldKind::Readings:
                readPoints(field.value(), owner, *f, into);
                break;
            case FieldKind::Result: // results are derived: not here
                check(field.value(), 2);
                break;
            }
            seen |= std::uint32_t{1} << index;
        }
        for (std::size_t i = 0; i < N; ++i)
            if (!fields[i].derived() && (seen & (std::uint32_t{1} << i)) == 0)
                fault(owner.place(fields[i].name), "missing");
    }

    void readProject(od::value v, ProjectInfo& p) {
        readRecord(v, Owner{"project"}, kProjectFields, &p);
    }

    // `project`: the project already read, if any.
    void readMembers(od::value v, const ProjectInfo* project,
                     std::vector<ShaJiang_GouJian_Struct>& members) {
        if (take(v.type()) != od::json_type::array)
            fault("members", "not an array");
        for (auto item : take(v.get_array()))
            readMember(take(std::move(item)), project, members);
    }

    void readMember(od::value v, const ProjectInfo* project,
                    std::vector<ShaJiang_GouJian_Struct>& members) {
        const Owner owner{"members", membersRead_++};
        if (sink_ != nullptr && project != nullptr) {
            ShaJiang_GouJian_Struct m{};
            readRecord(v, owner, kMemberFields, &m);
            evaluate(*project, m);
            sink_->add(m);
            ++handedOn_;
            return;
        }
        readRecord(v, owner, kMemberFields, &members.emplace_back());
    }

    std::string_view json_; // the text parsed as doc_, for the place of a fault
    od::document* doc_ = nullptr;
    MemberSink* sink_;
    std::size_t membersRead_ = 0;
    std::size_t handedOn_ = 0; // members handed to the sink while reading
    std::string text_;
    std::optional<std::string> asciiForm_;
    std::unordered_map<std::string, std::optional<std::string>> gbkForms_;
};

// The text parsed in one pass: any JSON, with every fault named at its place.
std::optional<std::string> readDataSet(const JsonText& json, DataSet& data, MemberSink* sink) {
    data = DataSet{};
    // Kept from one read to the next, as simdjson advises: its index, four bytes for every
    // byte of the largest text read, is the largest memory a read writes, and fresh pages
    // cost more than the indexing does.
    thread_local od::parser parser;
    od::document doc;
    const error_code error = parser
                                 .iterate(simdjson::padded_string_view(
                                     json.text().data(), json.text().size(), json.capacity()))
                                 .get(doc);
    if (error != simdjson::SUCCESS)
        return NotJson{syntaxFault(error), indexFaultOffset(error, json.text())}.message();
    try {
        DataSetReader(sink).read(json.text(), doc, data);
    } catch (const NotJson& e) {
        return e.message();
    } catch (const Fault& f) {
        return f.what;
    }
    return std::nullopt;
}

// Standard input and other streams are read this much at a time.
constexpr std::size_t kReadChunk = std::size_t{1} << 16;

} // namespace

struct JsonText::Padded {
    simdjson::padded_string text;
};

JsonText::JsonText(std::unique_ptr<Padded> padded) : padded_(std::move(padded)) {}

JsonText::JsonText(std::string_view text) : padded_(sized(text.size())) {
    if (!text.empty()) // an empty view may have no data at all
        std::memcpy(padded_->text.data(), text.data(), text.size());
}

JsonText::JsonText(JsonText&&) noexcept = default;
JsonText& JsonText::operator=(JsonText&&) noexcept = default;
JsonText::~JsonText() = default;

std::unique_ptr<JsonText::Padded> JsonText::sized(std::size_t size) {
    auto padded = std::make_unique<Padded>(Padded{simdjson::padded_string(size)});
    if (padded->text.data() == nullptr)
        throw UnreadableJson("out of memory");
    // Every fresh 4 KB page costs a fault when it is first written: on a large text those
    // faults, not the parsing, were most of make's time, and in large pages the text is read
    // several times and indexed twice as fast.
    adviseLargePages(padded->text.data(), size);
    return padded;
}

std::string_view JsonText::text() const {
    return padded_->text;
}

std::size_t JsonText::capacity() const {
    return padded_->text.size() + kPadding;
}

JsonText JsonText::read(std::istream& in, std::size_t limit) {
    std::string text;
    char chunk[kReadChunk];
    try {
        while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
            text.append(chunk, static_cast<std::size_t>(in.gcount()));
            if (text.size() > limit)
                throw JsonTooLarge("larger than the limit");
        }
    } catch (const std::ios_base::failure&) {
        throw UnreadableJson("read failed");
    }
    if (in.bad())
        throw UnreadableJson("read failed");
    return JsonText(text);
}

JsonText JsonText::readStandardInput() {
    return read(std::cin);
}

JsonText JsonText::load(const std::string& path, std::size_t limit) {
    // A pipe or a device named as a file is read as a stream: its size is not known ahead.
    std::error_code ec;
    const std::filesystem::path file = filePath(path);
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw JsonUnopenable("cannot open");
    if (!std::filesystem::is_regular_file(file, ec))
        return read(in, limit);
    const auto size = std::filesystem::file_size(file, ec);
    if (ec)
        throw UnreadableJson("cannot open");
    if (size > limit)
        throw JsonTooLarge("larger than the limit");
    // Not simdjson's own loader: it takes the buffer straight from the allocator, without the
    // advice above, and opens through fopen, which on Windows cannot open a Chinese name.
    JsonText json(sized(static_cast<std::size_t>(size)));
    if (!in.read(json.padded_->text.data(), static_cast<std::streamsize>(size)))
        throw UnreadableJson("read failed"); // shortened while it was read
    return json;
}

std::optional<std::string> dataSetFromJson(const JsonText& json, DataSet& data) {
    return readDataSet(json, data, nullptr);
}

std::optional<std::string> dataSetFromJson(std::string_view json, DataSet& data) {
    return readDataSet(JsonText(json), data, nullptr);
}

std::optional<std::string> dataSetFromJson(const JsonText& json, ProjectInfo& project,
                                           MemberSink& members) {
    DataSet data;
    const auto problem = readDataSet(json, data, &members);
    project = data.project;
    return problem;
}

} // namespace morvik::cli
