// Showing a large opened text: its conversion from Windows-1252 alone, and the result window's
// own part (from the request's text to "Decrypted Data" shown and painted) with its peak memory
// over the idle process, as a multiple of the text.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <utility>

#include <QApplication>
#include <QDialog>

#include "app/DecryptedData.h"
#include "platform/Text1252.h"

namespace {

constexpr size_t kLines = 1 << 20;
constexpr size_t kLineBytes = 50;  // with its "\r\n": 50 MiB in all

// Mostly ASCII, with a letter or sign from the upper half of the code page in every line.
const std::string& SampleText() {
    static const std::string text = [] {
        std::string bytes;
        bytes.reserve(kLines * kLineBytes);
        char line[kLineBytes + 1];
        for (size_t i = 0; i < kLines; ++i) {
            std::snprintf(line, sizeof line, "%07zu caf\xE9 \x80%-34zu\r\n", i,
                          (i * 2654435761u) % 1000000007u);
            bytes.append(line, kLineBytes);
        }
        return bytes;
    }();
    return text;
}

QApplication& App() {
    static int argc = 1;
    static char name[] = "bench_result_view";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        return new QApplication(argc, argv);
    }();
    return *app;
}

// Kilobytes of a line of /proc/self/status ("VmRSS", "VmHWM"); -1 when it cannot be read.
int64_t StatusKilobytes(const std::string& key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.compare(0, key.size() + 1, key + ":") == 0) return std::atoll(line.c_str() + key.size() + 1);
    }
    return -1;
}

// Lets the peak resident size start again from the current one.
bool ResetPeak() {
    std::ofstream clearRefs("/proc/self/clear_refs");
    clearRefs << "5";
    clearRefs.flush();
    return clearRefs.good();
}

void ShowAndClose(std::string text) {
    DecryptedData dialog;
    dialog.m_strText = std::move(text);
    dialog.Create();
    QApplication::processEvents();
}

void BM_FromWindows1252(benchmark::State& state) {
    const std::string& text = SampleText();
    for (auto _ : state) {
        QString converted = FromWindows1252(text);
        benchmark::DoNotOptimize(converted.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_FromWindows1252)->Unit(benchmark::kMillisecond);

// The request's text is made anew (outside the timing) for each turn, as the run leaves it.
void BM_ResultWindow(benchmark::State& state) {
    App();
    ShowAndClose("warm the fonts and the platform up");
    const std::string& sample = SampleText();
    int64_t peakOverIdle = -1;
    for (auto _ : state) {
        state.PauseTiming();
        malloc_trim(0);  // freed heap counts again when the next turn takes it
        const bool peakKnown = ResetPeak();
        const int64_t idle = StatusKilobytes("VmRSS");
        std::string text = sample;
        state.ResumeTiming();

        auto dialog = std::make_unique<DecryptedData>();
        dialog->m_strText = std::move(text);
        dialog->Create();
        QApplication::processEvents();  // the show and the first paint

        state.PauseTiming();
        const int64_t peak = StatusKilobytes("VmHWM");
        if (peakKnown && idle >= 0 && peak >= 0) peakOverIdle = std::max(peakOverIdle, peak - idle);
        dialog.reset();
        state.ResumeTiming();
    }
    if (peakOverIdle >= 0) {
        state.counters["peak_over_text"] = static_cast<double>(peakOverIdle) * 1024.0 /
                                           static_cast<double>(sample.size());
    }
    state.counters["text_MiB"] = static_cast<double>(sample.size()) / (1 << 20);
}
BENCHMARK(BM_ResultWindow)->Unit(benchmark::kMillisecond);

}  // namespace
