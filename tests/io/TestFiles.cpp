#include "TestFiles.h"

#include "core/Evaluation.h"
#include "core/GbkText.h"
#include "tests/support/Portable.h"
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <stdexcept>
#ifndef _WIN32
#include <unistd.h>
#endif

namespace morvik::test {

namespace fs = std::filesystem;

TempDir::TempDir() {
    path_ = makeScratchFolder("morvik-io-test-");
}

TempDir::~TempDir() {
    std::error_code ec;
    if (const char* seeds = std::getenv("MORVIK_FUZZ_SEEDS"); seeds && *seeds) {
        for (const auto& entry : fs::directory_iterator(path_, ec)) {
            if (!entry.is_regular_file(ec) || entry.path().filename().string()[0] == '.')
                continue;
            // A test may leave a sparse file of terabytes; reading it here would end the
            // run with an exception from a destructor. A fuzzer has no use for it anyway.
            const std::uintmax_t size = entry.file_size(ec);
            if (ec || size > kMaxSeedBytes)
                continue;
            const bool settings = entry.path().extension() == ".ini";
            exportSeed(settings ? "settings" : "data",
                       path_.filename().string() + "-" + entry.path().filename().string(),
                       readBytes(entry.path()));
        }
    }
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
}

Bytes readBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeBytes(const fs::path& file, const Bytes& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + file.string());
}

void exportSeed(const std::string& kind, const std::string& name, const Bytes& bytes) {
    const char* root = std::getenv("MORVIK_FUZZ_SEEDS");
    if (!root || !*root)
        return;
    const fs::path folder = fs::path(root) / kind;
    fs::create_directories(folder);
    writeBytes(folder / name, bytes);
}

void exportSeed(const std::string& kind, const Bytes& bytes) {
    static int counter = 0;
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    exportSeed(kind, std::string(test ? test->name() : "image") + "-" + std::to_string(++counter),
               bytes);
}

Bytes legacyImage(const std::map<int, std::string>& fields) {
    Bytes image;
    for (int k = 0; k < 59; ++k) {
        const auto it = fields.find(k);
        const std::string text = it == fields.end() ? std::string() : it->second;
        if (text.size() > 255)
            throw std::invalid_argument("a legacy field holds at most 255 bytes");
        image.push_back(static_cast<std::uint8_t>(text.size()));
        image.insert(image.end(), text.begin(), text.end());
    }
    return image;
}

ShaJiang_GouJian_Struct memberWithDepths(int position, const std::vector<float>& depths) {
    ShaJiang_GouJian_Struct m = newMemberRecord(position);
    for (std::size_t k = 0; k < depths.size() && k < kPointCount; ++k) {
        m.unevenness[k] = 0.25f;
        m.gaugeReading[k] = 0.25f + depths[k];
        m.depth[k] = m.gaugeReading[k] - m.unevenness[k];
    }
    return m;
}

DataSet sampleDataSet(int count) {
    DataSet data;
    textToField("南湖小区3号楼", data.project.projectName);
    textToField("GY-2017-018", data.project.instrumentNumber);
    data.project.testTemperature = 18;
    data.project.basisIndex = 0;
    textToField("李工", data.project.reviewer);
    textToField("王工", data.project.chiefInspector);
    textToField("2017年5月3日", data.project.constructionDate);
    data.project.mortarCode = 0x01;
    textToField("M7.5", data.project.strengthGrade);
    for (int i = 1; i <= count; ++i) {
        std::vector<float> depths;
        for (int k = 0; k < kPointCount; ++k)
            depths.push_back(4.0f + 0.1f * static_cast<float>((i * 7 + k * 3) % 20));
        ShaJiang_GouJian_Struct m = memberWithDepths(i, depths);
        textToField("2017年6月" + std::to_string(1 + i % 28) + "日", m.testDate);
        textToField("第" + std::to_string(i) + "层墙体", m.remark);
        m.reserved1[3] = static_cast<std::uint8_t>(i); // carried through untouched
        m.reserved2[200] = 0x5A;
        evaluateMember(m, data.project.mortarCode);
        data.members.push_back(m);
    }
    return data;
}

std::string unprivilegedPrefix(const fs::path& owned) {
#ifdef _WIN32
    static_cast<void>(owned); // no user switch: the tests run as the user they are
    return "";
#else
    if (geteuid() != 0)
        return "";
    if (chown(owned.c_str(), kNobodyId, kNobodyId) != 0)
        throw std::runtime_error("cannot hand " + owned.string() + " to the unprivileged user");
    const std::string id = std::to_string(kNobodyId);
    return "setpriv --reuid=" + id + " --regid=" + id + " --clear-groups ";
#endif
}

} // namespace morvik::test
