// The DELTA converter on a dataset of 1000 items x 200 characters written here: the
// whole run of vorn-import-delta, from reading the directives files to the key (with
// its 1000 notes files) renamed into place.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <sstream>

#include "importers/delta/DeltaImport.h"
#include "tests/kit/TestKeys.h"

namespace vorn {
namespace {

constexpr int kItems = 1000;
constexpr int kCharacters = 200;

// Characters: every tenth a text character, every fifth a numeric one (half with key
// states), the rest multistate with 2 to 6 states. Items give about 90% of them, with
// comments, alternatives and ranges as real descriptions do.
class SyntheticDataset {
public:
    static SyntheticDataset& Get() {
        static SyntheticDataset dataset;
        return dataset;
    }
    const std::string& Folder() const { return folder_; }
    const std::string& Out() const { return out_; }

private:
    SyntheticDataset() {
        folder_ = dir_.Path() + "dataset";
        out_ = dir_.Path() + "key";
        std::filesystem::create_directory(folder_);
        std::mt19937 rng(7);
        auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
        std::vector<int> states(kCharacters + 1, 0);  // 0 text, -1 numeric
        std::string types = "*CHARACTER TYPES", keyStates = "*KEY STATES";
        std::string chars = "*SHOW ~ Synthetic - specifications\n*CHARACTER LIST\n";
        for (int c = 1; c <= kCharacters; ++c) {
            chars += "#" + std::to_string(c) + ". <organ " + std::to_string(c) + "> character " +
                     std::to_string(c) + " <whether this or that>/\n";
            if (c % 10 == 0) {
                types += " " + std::to_string(c) + ",TE";
            } else if (c % 5 == 0) {
                states[c] = -1;
                types += " " + std::to_string(c) + ",RN";
                chars += "       mm long/\n";
                if (c % 20 == 5) keyStates += " " + std::to_string(c) + ",~2/2-10/10-50/50~";
            } else {
                states[c] = 2 + pick(5);
                for (int s = 1; s <= states[c]; ++s) {
                    chars += "       " + std::to_string(s) + ". state " + std::to_string(s) +
                             " <of character " + std::to_string(c) + ">/\n";
                }
            }
        }
        std::string items = "*ITEM DESCRIPTIONS\n";
        for (int i = 1; i <= kItems; ++i) {
            items += "# \\i{}Genus" + std::to_string(i) + "\\i0{} <Author>/\n";
            for (int c = 1; c <= kCharacters; ++c) {
                if (pick(10) == 0) continue;
                std::string a = std::to_string(c);
                if (states[c] == 0) {
                    a += "<some words of description for item " + std::to_string(i) + ">";
                } else if (states[c] < 0) {
                    int low = 1 + pick(60);
                    a += ",(" + std::to_string(low) + "-)" + std::to_string(low + 2) + "-" +
                         std::to_string(low + 5 + pick(20));
                } else {
                    int s = 1 + pick(states[c]);
                    a += "," + std::to_string(s);
                    if (pick(4) == 0) a += "/" + std::to_string(1 + pick(states[c]));
                    if (pick(8) == 0) a += "<rarely>";
                }
                items += a + (c % 8 == 0 ? "\n" : " ");
            }
            items += "\n\n";
        }
        testing::WriteFile(folder_ + "/specs",
                           "*SHOW ~ Synthetic - specifications\n" + types + "\n");
        testing::WriteFile(folder_ + "/chars", chars);
        testing::WriteFile(folder_ + "/items", items);
        testing::WriteFile(folder_ + "/tokey", keyStates + "\n");
    }

    testing::TempDir dir_;
    std::string folder_, out_;
};

void BM_ImportDelta(benchmark::State& state) {
    SyntheticDataset& dataset = SyntheticDataset::Get();
    for (auto _ : state) {
        // Each run writes a new key, as a user converting a dataset does.
        state.PauseTiming();
        std::error_code ignored;
        std::filesystem::remove_all(dataset.Out(), ignored);
        state.ResumeTiming();
        std::ostringstream out, err;
        int status = delta::RunImportDelta({dataset.Folder(), dataset.Out(), "SYNTH"}, out, err);
        if (status != 0) state.SkipWithError(err.str().c_str());
        benchmark::DoNotOptimize(status);
    }
}
BENCHMARK(BM_ImportDelta)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vorn

BENCHMARK_MAIN();
