// Conversion speed on a generated 16 MiB numbered score (mixed/0) and on a
// worst-case mix of one- and two-byte characters (mixed/1).
//   build/native/tests/conversion_bench
#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "convert/manual_converter.h"

namespace {

constexpr std::size_t kScoreBytes = 16u << 20;

// A numbered score as players paste them: lines of sixteen notes in bars of
// four, mostly middle-octave digits with some high and low signs, rests and
// dashes, and a line of lyrics after every three lines of notes.
morvane::GbkText makeScore() {
    const char* const notes[] = {"1", "2", "3", "4", "5", "6", "7", "1", "2", "3", "5", "6", "0",
                                 "-", "!", "@", "#", "！", "￥", "……", "z", "x", "b", "N", "M"};
    const char* const lyrics[] = {"月", "亮", "代", "表", "我", "的", "心", "你", "问", "爱", "有", "多", "深"};
    std::mt19937 rng(4);
    std::uniform_int_distribution<int> note(0, static_cast<int>(std::size(notes)) - 1);
    std::uniform_int_distribution<int> word(0, static_cast<int>(std::size(lyrics)) - 1);
    std::string s;
    s.reserve(kScoreBytes + 128);
    for (int line = 0; s.size() < kScoreBytes; ++line) {
        if (line % 4 == 3) {
            for (int i = 0; i < 12; ++i) s += lyrics[word(rng)];
        } else {
            for (int i = 0; i < 16; ++i) {
                s += notes[note(rng)];
                s += (i % 4 == 3) ? " | " : " ";
            }
        }
        s += "\r\n";
    }
    s.resize(kScoreBytes);
    return morvane::GbkText(s);
}

// The worst case for the single pass: one- and two-byte characters mixed at
// random, so that almost every eight bytes hold a lead byte.
morvane::GbkText makeMixedText() {
    const char* const pieces[] = {"1", "2", "3", "4", "5", "6", "7", "0", " ", "| ", "!", "@",
                                  "！", "￥", "……", "z", "x", "b", "N", "M", "\r\n", "月亮", "代表"};
    std::mt19937 rng(4);
    std::uniform_int_distribution<int> pick(0, static_cast<int>(std::size(pieces)) - 1);
    std::string s;
    s.reserve(kScoreBytes + 8);
    while (s.size() < kScoreBytes) s += pieces[pick(rng)];
    return morvane::GbkText(s);
}

const morvane::GbkText& input(int which) {
    static const morvane::GbkText score = makeScore();
    static const morvane::GbkText mixed = makeMixedText();
    return which == 0 ? score : mixed;
}

void BM_ManualLiteralPasses(benchmark::State& state) {
    const auto& score = input(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(morvane::ManualConverter::convertLiterally(score));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * score.size());
}
BENCHMARK(BM_ManualLiteralPasses)->ArgName("mixed")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_ManualSinglePass(benchmark::State& state) {
    const auto& score = input(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(morvane::ManualConverter::convert(score));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * score.size());
}
BENCHMARK(BM_ManualSinglePass)->ArgName("mixed")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
