// Record sheets rendered to PDF at 600 dpi: a 100-member data set, every member a page,
// with batch block, header, footer and page number, reported as pages per second; and the
// batch summary of 1,000 members (table pages and chart), which should take under 1 s.
#include "core/Evaluation.h"
#include "core/GbkText.h"
#include "sheet/PageNumbering.h"
#include "sheet/SheetPdf.h"
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <string>

namespace {

using namespace morvik;

constexpr int kMembers = 100;
constexpr int kSummaryMembers = 1000;

SheetJob membersJob(const ProjectInfo& project, int count) {
    SheetJob job;
    job.project = &project;
    for (int i = 1; i <= count; ++i) {
        ShaJiang_GouJian_Struct m = newMemberRecord(i);
        for (int k = 0; k < kPointCount; ++k) {
            m.unevenness[k] = 0.25f;
            m.gaugeReading[k] = 0.25f + 4.0f + 0.1f * static_cast<float>((i * 7 + k * 3) % 20);
            updatePointDepth(m, k);
        }
        textToField("2017年6月" + std::to_string(1 + i % 28) + "日", m.testDate);
        textToField("第" + std::to_string(i) + "层墙体，东侧窗间墙", m.remark);
        evaluateMember(m, project.mortarCode);
        job.members.push_back(m);
    }
    job.batchMode = true;
    job.batch = BatchResults{5.2, 0.18, 5.1, 0.04, 4.7};
    job.settings = defaultPrintSettings(PrintSettings{});
    job.settings.printFooter = 1;
    job.settings.pageNumberPosition = 0;
    return job;
}

ProjectInfo benchProject() {
    ProjectInfo project{};
    textToField("南湖小区3号楼砌体结构砂浆强度检测", project.projectName);
    textToField("GY-2017-018", project.instrumentNumber);
    textToField("2017年5月3日", project.constructionDate);
    textToField("M7.5", project.strengthGrade);
    textToField("李工", project.reviewer);
    textToField("王工", project.chiefInspector);
    project.testTemperature = 18;
    project.mortarCode = 0x01;
    return project;
}

void BM_RecordSheetsToPdf(benchmark::State& state) {
    const ProjectInfo project = benchProject();
    const SheetJob job = membersJob(project, kMembers);
    QTemporaryDir dir;
    const QString path = dir.filePath("sheets.pdf");
    for (auto _ : state) {
        if (!writeRecordSheetsPdf(path, job, kDefaultPdfDpi)) {
            state.SkipWithError("cannot write the PDF");
            break;
        }
    }
    state.counters["pages/s"] =
        benchmark::Counter(kMembers, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_RecordSheetsToPdf)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SummaryToPdf(benchmark::State& state) {
    const ProjectInfo project = benchProject();
    SheetJob sheets = membersJob(project, kSummaryMembers);
    const SummaryJob job =
        summaryJob(project, std::move(sheets.members), sheets.settings, kBatchMissing);
    QTemporaryDir dir;
    const QString path = dir.filePath("summary.pdf");
    for (auto _ : state) {
        if (!writeSummaryPdf(path, job, kDefaultPdfDpi)) {
            state.SkipWithError("cannot write the PDF");
            break;
        }
    }
}
BENCHMARK(BM_SummaryToPdf)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
