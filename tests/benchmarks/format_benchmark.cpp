// GString::Format against the C library's snprintf and swprintf on the kinds of text the program
// formats: paths, ids, registry paths and a few floating-point values. Each pair formats the same
// values into a reused destination.

#include "text/GString.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cwchar>

namespace {

const char16_t* const kFolder = u"C:\\Program Files\\Keyboard Layouts";
const char16_t* const kFile = u"layout-x64-variant2.dll";
const wchar_t* const kFolderW = L"C:\\Program Files\\Keyboard Layouts";
const wchar_t* const kFileW = L"layout-x64-variant2.dll";

const char16_t* const kLayoutsKey = u"SYSTEM\\CurrentControlSet\\Control\\Keyboard Layouts";
const wchar_t* const kLayoutsKeyW = L"SYSTEM\\CurrentControlSet\\Control\\Keyboard Layouts";

void FormatPath(benchmark::State& state)
{
    GString s;
    for (auto _ : state) {
        s.Format(u"%s\\%s", kFolder, kFile);
        benchmark::DoNotOptimize(s.GetW());
    }
}
BENCHMARK(FormatPath);

void SwprintfPath(benchmark::State& state)
{
    wchar_t buffer[512];
    for (auto _ : state) {
        std::swprintf(buffer, 512, L"%ls\\%ls", kFolderW, kFileW);
        benchmark::DoNotOptimize(buffer);
    }
}
BENCHMARK(SwprintfPath);

void FormatIds(benchmark::State& state)
{
    GString s;
    int id = 1033;
    for (auto _ : state) {
        s.Format(u"layout %d, language %04x, flags 0x%08X, users %u", id, id, 0x12AB, 3u);
        benchmark::DoNotOptimize(s.GetW());
        ++id;
    }
}
BENCHMARK(FormatIds);

void SwprintfIds(benchmark::State& state)
{
    wchar_t buffer[512];
    int id = 1033;
    for (auto _ : state) {
        std::swprintf(buffer, 512, L"layout %d, language %04x, flags 0x%08X, users %u", id, id, 0x12AB, 3u);
        benchmark::DoNotOptimize(buffer);
        ++id;
    }
}
BENCHMARK(SwprintfIds);

void FormatRegistryPath(benchmark::State& state)
{
    GString s;
    unsigned layout = 0xA0000409;
    for (auto _ : state) {
        s.Format(u"%s\\%08x", kLayoutsKey, layout);
        benchmark::DoNotOptimize(s.GetW());
        ++layout;
    }
}
BENCHMARK(FormatRegistryPath);

void SwprintfRegistryPath(benchmark::State& state)
{
    wchar_t buffer[512];
    unsigned layout = 0xA0000409;
    for (auto _ : state) {
        std::swprintf(buffer, 512, L"%ls\\%08x", kLayoutsKeyW, layout);
        benchmark::DoNotOptimize(buffer);
        ++layout;
    }
}
BENCHMARK(SwprintfRegistryPath);

void FormatFixed(benchmark::State& state)
{
    GString s;
    double value = 1234.5678;
    for (auto _ : state) {
        s.Format(u"%.2f", value);
        benchmark::DoNotOptimize(s.GetW());
        value += 0.37;
    }
}
BENCHMARK(FormatFixed);

void SnprintfFixed(benchmark::State& state)
{
    char buffer[512];
    double value = 1234.5678;
    for (auto _ : state) {
        std::snprintf(buffer, sizeof buffer, "%.2f", value);
        benchmark::DoNotOptimize(buffer);
        value += 0.37;
    }
}
BENCHMARK(SnprintfFixed);

void FormatGeneral(benchmark::State& state)
{
    GString s;
    double value = 0.000123456789;
    for (auto _ : state) {
        s.Format(u"%.6g", value);
        benchmark::DoNotOptimize(s.GetW());
        value *= 1.7;
        if (value > 1e12)
            value = 0.000123456789;
    }
}
BENCHMARK(FormatGeneral);

void SnprintfGeneral(benchmark::State& state)
{
    char buffer[512];
    double value = 0.000123456789;
    for (auto _ : state) {
        std::snprintf(buffer, sizeof buffer, "%.6g", value);
        benchmark::DoNotOptimize(buffer);
        value *= 1.7;
        if (value > 1e12)
            value = 0.000123456789;
    }
}
BENCHMARK(SnprintfGeneral);

void FormatExponential(benchmark::State& state)
{
    GString s;
    double value = 6.02214076e23;
    for (auto _ : state) {
        s.Format(u"%e", value);
        benchmark::DoNotOptimize(s.GetW());
        value *= 0.93;
        if (value < 1e-30)
            value = 6.02214076e23;
    }
}
BENCHMARK(FormatExponential);

void SnprintfExponential(benchmark::State& state)
{
    char buffer[512];
    double value = 6.02214076e23;
    for (auto _ : state) {
        std::snprintf(buffer, sizeof buffer, "%e", value);
        benchmark::DoNotOptimize(buffer);
        value *= 0.93;
        if (value < 1e-30)
            value = 6.02214076e23;
    }
}
BENCHMARK(SnprintfExponential);

} // namespace
