// The print preview of 100 ticked members: opening the frame until page 1 is on screen,
// paging through the opened preview, and switching it to the batch summary (within 100 ms
// until its first page is on screen). A page is drawn when it first comes into sight,
// so opening draws page 1 only and each step draws at most the page it reaches.
#include "core/Evaluation.h"
#include "core/GbkText.h"
#include "report/CMainFrame.h"
#include "report/CMyPreviewView.h"
#include "sheet/PageNumbering.h"
#include "tests/support/PromptScripted.h"
#include <QCoreApplication>
#include <QPainter>
#include <QPicture>
#include <QPointer>
#include <QWidget>
#include <benchmark/benchmark.h>
#include <string>

namespace {

using namespace morvik;

constexpr int kMembers = 100;

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

PreviewPages hundredPages() {
    const ProjectInfo project = benchProject();
    std::vector<ShaJiang_GouJian_Struct> members;
    for (int i = 1; i <= kMembers; ++i) {
        ShaJiang_GouJian_Struct m = newMemberRecord(i);
        for (int k = 0; k < kPointCount; ++k) {
            m.unevenness[k] = 0.25f;
            m.gaugeReading[k] = 0.25f + 4.0f + 0.1f * static_cast<float>((i * 7 + k * 3) % 20);
            updatePointDepth(m, k);
        }
        textToField("2017年6月" + std::to_string(1 + i % 28) + "日", m.testDate);
        textToField("第" + std::to_string(i) + "层墙体，东侧窗间墙", m.remark);
        evaluateMember(m, project.mortarCode);
        members.push_back(m);
    }
    PrintSettings settings = defaultPrintSettings(PrintSettings{});
    settings.pageNumberPosition = 0;
    return PreviewPages(project, std::move(members), true, BatchResults{5.2, 0.18, 5.1, 0.04, 4.7},
                        settings);
}

// Opens the preview and returns once page 1 has been painted into the frame.
CMainFrame* openPreview(QWidget& dialog, Prompt& prompt, const PreviewPages& pages) {
    CMainFrame* frame = CMainFrame::startPreview(dialog, pages, prompt);
    frame->grab(); // paints the visible page from its picture
    return frame;
}

void closeFrame(CMainFrame* frame) {
    QPointer<CMainFrame> guard(frame);
    frame->close();
    while (guard != nullptr)
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void BM_OpenPreview(benchmark::State& state) {
    const PreviewPages pages = hundredPages();
    ScriptedPrompt prompt;
    QWidget dialog;
    dialog.show();
    for (auto _ : state) {
        CMainFrame* frame = openPreview(dialog, prompt, pages);
        state.PauseTiming();
        closeFrame(frame);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenPreview)->Unit(benchmark::kMillisecond)->UseRealTime();

// One step to the next page (wrapping to page 1), painted.
void BM_NextPage(benchmark::State& state) {
    const PreviewPages pages = hundredPages();
    ScriptedPrompt prompt;
    QWidget dialog;
    dialog.show();
    CMainFrame* frame = openPreview(dialog, prompt, pages);
    QAction* next = frame->action(PreviewCommand::NextPage);
    for (auto _ : state) {
        if (frame->view().currentPage() == kMembers)
            frame->view().setCurrentPage(1);
        else
            next->trigger();
        frame->grab();
    }
    state.counters["pagesDrawn"] = frame->view().pagesDrawn();
    closeFrame(frame);
}
BENCHMARK(BM_NextPage)->Unit(benchmark::kMillisecond)->UseRealTime();

// 汇总表 checked until the summary's first page is painted; unchecked again untimed.
void BM_SwitchToSummary(benchmark::State& state) {
    const PreviewPages pages = hundredPages();
    ScriptedPrompt prompt;
    QWidget dialog;
    dialog.show();
    for (auto _ : state) {
        state.PauseTiming();
        CMainFrame* frame = openPreview(dialog, prompt, pages);
        state.ResumeTiming();
        frame->action(PreviewCommand::Summary)->trigger();
        frame->grab();
        state.PauseTiming();
        if (!frame->pages().showsSummary() || !frame->view().isPageDrawn(1))
            state.SkipWithError("the summary did not show");
        closeFrame(frame);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SwitchToSummary)->Unit(benchmark::kMillisecond)->UseRealTime();

// For comparison, what opening would cost if the preview drew every page up front (as a
// preview that records all its pages when it is built does): each page into a picture.
void BM_DrawEveryPage(benchmark::State& state) {
    const PreviewPages pages = hundredPages();
    for (auto _ : state) {
        for (int n = 1; n <= pages.pageCount(); ++n) {
            QPicture picture;
            QPainter painter(&picture);
            pages.drawPage(painter, picture.width(), picture.height(), n);
        }
    }
}
BENCHMARK(BM_DrawEveryPage)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
