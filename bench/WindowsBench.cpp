// One scoring action with the windows open, on a synthetic key of 1200 taxa x 1200 states
// written here: from ScoreState to the end of the refresh, every list rebuilt or redrawn
// and the frame painted once. Runs on Qt's offscreen platform.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include "app/FMain.h"
#include "app/QtUserInterface.h"
#include "app/WindowManager.h"
#include "engine/Manage.h"
#include "key/Manage.h"
#include "tools/KeyWriter.h"

namespace vorn {
namespace {

constexpr int32_t kSize = 1200;

// Accepts the title page that opening a key shows.
void AcceptTitlePage() {
    QTimer::singleShot(0, [] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            dialog->accept();
        } else {
            AcceptTitlePage();
        }
    });
}

void BM_ScoringActionWithWindows(benchmark::State& state) {
    testing::TempDir dir;
    testing::KeySpec keySpec = testing::RandomKey(kSize, kSize, 42);
    // One index entry of 300 states for the Subset window.
    keySpec.Index = "1 40 2\r\nStates\r\n1\r\nStates 1 to 300\r\n1 300\r\n";
    std::string des = testing::WriteKey(dir.Path(), keySpec);

    TMainForm main(dir.Path() + "VORNWIN.INI");
    main.resize(1280, 800);
    main.show();
    AcceptTitlePage();
    OpenKey(des);
    ShowCharScore();
    ShowCharActive();
    ShowCharSubset(0);
    ShowCharMiss(0, "Taxon 1");
    ShowTaxMatch();
    for (WindowKind kind : {WindowKind::CharScore, WindowKind::CharActive, WindowKind::CharSubset,
                            WindowKind::CharMiss, WindowKind::TaxMatch}) {
        if (!IsOpen(kind)) {
            state.SkipWithError("a window of the benchmark did not open");
            return;
        }
    }
    ScoreState(3, RequestAbsent);  // a state for the Mismatched States window to list
    main.repaint();

    bool present = true;
    for (auto _ : state) {
        ScoreState(600, present ? RequestPresent : RequestClear);
        main.repaint();
        present = !present;
    }
    state.counters["matching"] = MatchingTaxaCount;
    CloseKey();
    CloseAllWindows();
}
BENCHMARK(BM_ScoringActionWithWindows)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vorn

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    vorn::VornApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
