// Cost of protecting one stored credential (keying included) and raw CBC throughput.
#include "crypto/blowfish.h"
#include "crypto/blowfish_cipher.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

// One 20-byte value, as a settings save does for every user name, host and password: a
// fresh cipher, its 521-block key schedule, the default IV, one CBC pass and the wipe.
void BM_EncryptString20(benchmark::State& State) {
    const std::string Value = "user.name@example.nt";
    for (auto _ : State)
        benchmark::DoNotOptimize(quillet::EncryptString(Value, "master password"));
}
BENCHMARK(BM_EncryptString20);

void BM_CbcThroughput(benchmark::State& State) {
    const auto Size = static_cast<std::int32_t>(State.range(0));
    std::vector<char> Buffer(static_cast<std::size_t>(Size), 'a');
    const std::string Key(56, 'k');
    quillet::TBlowfishCipher Cipher;
    Cipher.Init(Key.data(), 448);
    for (auto _ : State) {
        Cipher.EncryptCBC(Buffer.data(), Buffer.data(), Size);
        benchmark::ClobberMemory();
    }
    State.SetBytesProcessed(static_cast<std::int64_t>(State.iterations()) * Size);
}
BENCHMARK(BM_CbcThroughput)->Arg(1 << 16);

} // namespace

BENCHMARK_MAIN();
