// Encoded-word decoding of header values of 1 KiB and 1 MiB: plain words in several character
// sets, and words nested inside words.
#include "mail/encoded_words.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

// Adjacent words in B and Q encodings, UTF-8 and Latin-1, cut to Size bytes at a word boundary.
std::string FlatWords(std::size_t Size) {
    const std::string words[] = {"=?utf-8?B?SGVsbG8gd29ybGQ=?= ", "=?iso-8859-1?Q?Caf=E9_au_lait?= ",
                                 "=?windows-1252?Q?=93quoted=94?= ", "plain text "};
    std::string text;
    for (std::size_t i = 0; text.size() + words[i % 4].size() <= Size; ++i)
        text += words[i % 4];
    return text;
}

std::string QEscaped(const std::string& text) {
    std::string out;
    for (const char c : text)
        out += c == '=' ? std::string("=3D") : c == '?' ? std::string("=3F") : std::string(1, c);
    return out;
}

// One word holding a word holding a word ... (Q escaping), up to Size bytes.
std::string NestedWords(std::size_t Size) {
    std::string text = "=?utf-8?Q?core?=";
    for (;;) {
        std::string next = "=?utf-8?Q?" + QEscaped(text) + "?=";
        if (next.size() > Size)
            return text;
        text = std::move(next);
    }
}

// Many small nested words side by side: base64 of a word, repeated.
std::string NestedBase64Words(std::size_t Size) {
    const std::string unit = "=?utf-8?B?PT91dGYtOD9RP0NhZj1DMz1BOT89?= "; // "=?utf-8?Q?Caf=C3=A9?="
    std::string text;
    while (text.size() + unit.size() <= Size)
        text += unit;
    return text;
}

void Run(benchmark::State& state, const std::string& text) {
    for (auto _ : state)
        benchmark::DoNotOptimize(quillet::DecodeEncodedWords(text));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}

void BM_FlatWords(benchmark::State& state) {
    Run(state, FlatWords(static_cast<std::size_t>(state.range(0))));
}
void BM_NestedBase64Words(benchmark::State& state) {
    Run(state, NestedBase64Words(static_cast<std::size_t>(state.range(0))));
}
void BM_DeeplyNestedWord(benchmark::State& state) {
    Run(state, NestedWords(static_cast<std::size_t>(state.range(0))));
}

} // namespace

BENCHMARK(BM_FlatWords)->Arg(1 << 10)->Arg(1 << 20)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_NestedBase64Words)->Arg(1 << 10)->Arg(1 << 20)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DeeplyNestedWord)->Arg(1 << 10)->Arg(1 << 20)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
