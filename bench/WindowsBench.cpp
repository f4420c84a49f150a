// One scoring action, and one Undo or Redo, with the windows open, on synthetic keys of
// 1,200 x 1,200 and 10,000 x 10,000 written here: from ScoreState to the end of the refresh,
// every list rebuilt or redrawn and the frame painted once; and a large photograph shown in the
// Image window, next to libjpeg decoding it alone. Runs on Qt's offscreen platform.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

// jpeglib.h needs FILE and size_t declared before it.
#include <jpeglib.h>

#include "bench/MatrixFloor.h"
#include "bench/SyntheticKeys.h"
#include "core/key/IndexFile.h"
#include "core/platform/Directory.h"
#include "core/platform/Messages.h"
#include "core/session/Modes.h"
#include "core/session/OpenKey.h"
#include "core/session/Session.h"
#include "desktop/MainWindow.h"
#include "frame/QtUserInterface.h"
#include "frame/VornListBox.h"
#include "frame/WindowRegistry.h"
#include "tests/kit/JpegWriter.h"
#include "tests/kit/TestKeys.h"
#include "windows/taxa/ImageWindow.h"
#include "windows/taxa/JpegImage.h"
#include "windows/taxa/TaxonDifferencesWindow.h"

namespace vorn {
namespace {

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

// Answers every question Yes and records nothing: a finite script would run dry over the
// benchmark's many iterations and close the windows that ask.
class AlwaysYes : public UserInterface {
public:
    void ShowMessage(MessageKind, const std::string&) override {}
    bool AskYesNo(MessageKind, const std::string&, QuestionCheckBox*) override { return true; }
    std::optional<std::string> OpenFileDialog(const FileDialogRequest&) override { return {}; }
    std::optional<std::string> SaveFileDialog(const FileDialogRequest&) override { return {}; }
    bool PrintDocument(const PrintRequest&) override { return false; }
};

void Sizes(benchmark::internal::Benchmark* b) {
    b->Arg(1200)->Arg(10000)->Unit(benchmark::kMillisecond);
}

const bench::SyntheticKey& KeyOf(const benchmark::State& state) {
    // One index entry of 300 states for the Subset window.
    return bench::SyntheticKey::Get(static_cast<int32_t>(state.range(0)), true);
}

void BM_MatrixFloor(benchmark::State& state) {
    RunMatrixFloor(state, KeyOf(state).dat, static_cast<int32_t>(state.range(0)));
}
BENCHMARK(BM_MatrixFloor)->Apply(Sizes);

// The main window on the benchmark's key with every window that a scoring action refreshes
// open at once: Score, Active, History (300 states), Differentiating, Best, taxa Mismatch,
// Subset (300 states), Mismatched States, Taxon Differences (of the first two taxa) and
// Matching Taxa; one state scored Absent and kept.
class AllWindows {
public:
    explicit AllWindows(benchmark::State& state)
        : key_(KeyOf(state)),
          previous_(SetUserInterface(&yes_)),
          main_(key_.dir.Path() + "VORNWIN.INI", "") {
        main_.resize(1280, 800);
        main_.show();
        AcceptTitlePage();
        OpenKey(CurrentSession(), key_.des);
        CurrentSession().ScoreState(3, RequestAbsent);
        Windows().ShowWindow(WindowKind::CharScore);
        Windows().ShowWindow(WindowKind::CharActive);
        if (auto* history =
                dynamic_cast<HistoryTarget*>(Windows().ShowWindow(WindowKind::CharHistory))) {
            for (int32_t s = key_.size - 300; s < key_.size; ++s)
                history->AddIndic(s);
        }
        Windows().ShowWindow(WindowKind::CharDiff);
        Windows().ShowWindow(WindowKind::CharBest);
        Windows().ShowWindow(WindowKind::TaxMismatch);
        // The key's one index entry: its first 300 states.
        IndexEntry entry;
        entry.Text = "States 1 to 300";
        entry.Ranges = {{0, 299}};
        Windows().ShowCharSubset(entry);
        Windows().ShowCharMiss(0, "Taxon 1");
        // Taxon Differences with two taxa chosen, so its lists of taxa and of their
        // differences are all redrawn after the action.
        if (auto* diff = dynamic_cast<TTaxDiff*>(Windows().ShowWindow(WindowKind::TaxDiff))) {
            diff->SetTaxonA(0);
            diff->ListB->SelectRow(1);
            if (diff->StateList->Count() == 0)
                state.SkipWithError("Taxon Differences lists no difference");
        }
        Windows().ShowWindow(WindowKind::TaxMatch);
        const WindowKind kinds[] = {WindowKind::CharScore,   WindowKind::CharActive,
                                    WindowKind::CharHistory, WindowKind::CharDiff,
                                    WindowKind::CharBest,    WindowKind::TaxMismatch,
                                    WindowKind::CharSubset,  WindowKind::CharMiss,
                                    WindowKind::TaxDiff,     WindowKind::TaxMatch};
        for (WindowKind kind : kinds) {
            if (!Windows().IsOpen(kind))
                state.SkipWithError("a window of the benchmark did not open");
        }
        main_.repaint();
    }
    ~AllWindows() {
        CloseKey(CurrentSession());
        Windows().CloseAllWindows();
        SetUserInterface(previous_);
    }

    // Lets the rebuilt lists lay themselves out, as after any user action, and paints the
    // frame.
    void Settle() {
        QCoreApplication::processEvents();
        main_.repaint();
    }
    void Check(benchmark::State& state) {
        if (!Windows().IsOpen(WindowKind::CharDiff) || !Windows().IsOpen(WindowKind::TaxMismatch))
            state.SkipWithError("a window that asks before rebuilding was closed");
        state.counters["matching"] = CurrentSession().MatchingTaxaCount();
    }

private:
    const bench::SyntheticKey& key_;
    AlwaysYes yes_;
    UserInterface* previous_;
    TMainForm main_;
};

// One scoring action with every window open: one state is scored Present and cleared in
// turn, so every iteration rebuilds lists of known length.
void BM_ScoringActionAllWindows(benchmark::State& state) {
    AllWindows windows(state);
    bool present = true;
    for (auto _ : state) {
        CurrentSession().ScoreState(600, present ? RequestPresent : RequestClear);
        windows.Settle();
        present = !present;
    }
    windows.Check(state);
}
BENCHMARK(BM_ScoringActionAllWindows)->Apply(Sizes);

// One Undo or Redo with every window open: the same state scored Present once, then the
// step taken back and done again in turn.
void BM_UndoRedoAllWindows(benchmark::State& state) {
    AllWindows windows(state);
    CurrentSession().ScoreState(600, RequestPresent);
    windows.Settle();
    bool undo = true;
    for (auto _ : state) {
        if (!(undo ? CurrentSession().Undo() : CurrentSession().Redo()))
            state.SkipWithError("no step to take");
        windows.Settle();
        undo = !undo;
    }
    windows.Check(state);
}
BENCHMARK(BM_UndoRedoAllWindows)->Apply(Sizes);

// ---- One long list ---------------------------------------------------------------------

constexpr int kLongList = 10000;

// A list of the 10,000 states of the 10,000 x 10,000 key, rebuilt after a scoring action
// and painted, with no window around it. The argument turns count mode on: then the
// counts change the lines' prefixes.
void BM_RebuildLongList(benchmark::State& state) {
    AlwaysYes yes;
    UserInterface* previous = SetUserInterface(&yes);
    OpenKey(CurrentSession(), bench::SyntheticKey::Get(kLongList).des);
    CurrentSession().CountMode = state.range(0) != 0;
    CurrentSession().ScoreState(3, RequestAbsent);
    TVornListBox list(nullptr);
    list.resize(400, 800);
    list.show();
    auto rebuild = [&list] {
        list.Clear();
        list.AddIndics([&list] {
            for (int32_t row = 0; row < kLongList; ++row)
                list.AddIndic(TIndicatorObj::IndicState, row, TIndicatorObj::CountStandard);
        });
        QCoreApplication::processEvents();
        list.viewport()->repaint();
    };
    rebuild();  // the widths of every line are measured once here
    bool present = true;
    for (auto _ : state) {
        CurrentSession().ScoreState(600, present ? RequestPresent : RequestClear);
        rebuild();
        present = !present;
    }
    if (list.Count() != kLongList) state.SkipWithError("the list is not complete");
    state.counters["lines"] = list.Count();
    CurrentSession().CountMode = false;
    CloseKey(CurrentSession());
    SetUserInterface(previous);
}
BENCHMARK(BM_RebuildLongList)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// ---- Pictures ----------------------------------------------------------------------------

// A photograph-like picture as cameras write them: smooth gradients with noise, quality 90,
// 4:2:0, baseline.
void WriteTestPhoto(const std::string& path, int width, int height) {
    std::vector<uint8_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
    uint32_t noise = 12345;
    size_t i = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            int base[3] = {x * 255 / width, y * 255 / height, (x + y) * 255 / (width + height)};
            for (int value : base) {
                noise = noise * 1664525u + 1013904223u;
                pixels[i++] =
                    static_cast<uint8_t>(std::clamp(value + int(noise >> 28) - 8, 0, 255));
            }
        }
    }
    testing::WriteFile(path, testing::EncodeJpeg(width, height, 3, pixels, 90));
}

constexpr int kPhotoWidth = 3000;
constexpr int kPhotoHeight = 2000;

// The floor: libjpeg alone decoding the file at full size with its default settings,
// reading it from disk as the window does.
void BM_JpegDecodeFloor(benchmark::State& state) {
    testing::TempDir dir;
    std::string path = dir.Path() + "PHOTO.JPG";
    WriteTestPhoto(path, kPhotoWidth, kPhotoHeight);
    std::vector<JSAMPLE> row(static_cast<size_t>(kPhotoWidth) * 3 * 4);
    for (auto _ : state) {
        std::FILE* file = std::fopen(path.c_str(), "rb");
        if (!file) {
            state.SkipWithError("the picture could not be opened");
            return;
        }
        jpeg_decompress_struct info{};
        jpeg_error_mgr errors{};
        info.err = jpeg_std_error(&errors);
        jpeg_create_decompress(&info);
        jpeg_stdio_src(&info, file);
        jpeg_read_header(&info, TRUE);
        jpeg_start_decompress(&info);
        JSAMPROW rows[4];
        for (int i = 0; i < 4; ++i)
            rows[i] = row.data() + static_cast<size_t>(i) * kPhotoWidth * 3;
        while (info.output_scanline < info.output_height)
            jpeg_read_scanlines(&info, rows, 4);
        benchmark::DoNotOptimize(row.data());
        jpeg_finish_decompress(&info);
        jpeg_destroy_decompress(&info);
        std::fclose(file);
    }
}
BENCHMARK(BM_JpegDecodeFloor)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

// The same file shown in the Image window: looked up, decoded, scaled into the picture
// area and handed to the window, offscreen.
void BM_ShowImage(benchmark::State& state) {
    testing::TempDir dir;
    WriteTestPhoto(dir.Path() + "PHOTO.JPG", kPhotoWidth, kPhotoHeight);
    std::string start = CurrentDirectory();
    TMainForm main(dir.Path() + "VORNWIN.INI", "");
    main.resize(1280, 800);
    main.show();
    ChangeToDirectory(dir.Path());
    Windows().ShowImageForm("Photograph", "photo");
    auto* form = Windows().OpenWindow<TImageForm>(WindowKind::ImageForm);
    if (!form || !form->Picture()) {
        state.SkipWithError("the picture was not shown");
        ChangeToDirectory(start);
        return;
    }
    for (auto _ : state) {
        Windows().ShowImageForm("Photograph", "photo");
    }
    state.counters["decoded_eighths"] = form->Picture()->ScaleEighths();
    state.counters["shown_width"] = form->Image1->width();
    Windows().CloseAllWindows();
    ChangeToDirectory(start);
}
BENCHMARK(BM_ShowImage)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

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
