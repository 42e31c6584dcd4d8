#include "crypto/blowfish_cipher.h"

#include "crypto/blowfish_tables.h"
#include "crypto/secure_wipe.h"

#include <cstring>
#include <stdexcept>
#include <string>

namespace quillet {

namespace {

constexpr int Rounds = 16;
constexpr std::int32_t BlowfishMaxKeyBits = 448;

std::uint32_t LoadBigEndian(const std::uint8_t* B) {
    return (std::uint32_t(B[0]) << 24) | (std::uint32_t(B[1]) << 16) | (std::uint32_t(B[2]) << 8) |
           std::uint32_t(B[3]);
}

void StoreBigEndian(std::uint32_t W, std::uint8_t* B) {
    B[0] = std::uint8_t(W >> 24);
    B[1] = std::uint8_t(W >> 16);
    B[2] = std::uint8_t(W >> 8);
    B[3] = std::uint8_t(W);
}

} // namespace

TBlowfishCipher::TBlowfishCipher() : TBlockCipher("Blowfish", 64, BlowfishMaxKeyBits) {
    Wipe();
}

TBlowfishCipher::~TBlowfishCipher() {
    if (Initialized())
        Wipe();
}

void TBlowfishCipher::Wipe() {
    SecureFill(FS, sizeof FS, 0xFF);
    SecureFill(FP, sizeof FP, 0xFF);
    SecureFill(FIV, sizeof FIV, 0xFF);
    SecureFill(FChainVector, sizeof FChainVector, 0xFF);
    FInitialized = false;
}

void TBlowfishCipher::Init(const void* Key, std::int32_t SizeBits, const void* IVector) {
    if (Initialized())
        Wipe();
    if (SizeBits > MaxKeySize() || SizeBits <= 0 || SizeBits % 8 != 0)
        throw ECipherError("Blowfish: Invalid key size - " + std::to_string(SizeBits));
    if (Key == nullptr)
        throw std::invalid_argument("Blowfish: no key bytes given");

    const auto* K = static_cast<const std::uint8_t*>(Key);
    const int N = SizeBits / 8;
    std::memcpy(FP, BlowfishInitialTables.P, sizeof FP);
    std::memcpy(FS, BlowfishInitialTables.S, sizeof FS);

    int J = 0;
    for (std::uint32_t& Word : FP) {
        std::uint32_t Mix = 0;
        for (int B = 0; B < 4; ++B)
            Mix = (Mix << 8) | K[(J + B) % N];
        Word ^= Mix;
        J = (J + 4) % N;
    }

    std::uint8_t Block[8] = {};
    for (int I = 0; I < 18; I += 2) {
        EncryptRaw(Block, Block);
        FP[I] = LoadBigEndian(Block);
        FP[I + 1] = LoadBigEndian(Block + 4);
    }
    for (auto& Box : FS) {
        for (int M = 0; M < 256; M += 2) {
            EncryptRaw(Block, Block);
            Box[M] = LoadBigEndian(Block);
            Box[M + 1] = LoadBigEndian(Block + 4);
        }
    }
    SecureFill(Block, sizeof Block, 0xFF);

    if (IVector != nullptr) {
        std::memcpy(FIV, IVector, sizeof FIV);
    } else {
        std::memset(FIV, 0xFF, sizeof FIV);
        EncryptRaw(FIV, FIV);
    }
    std::memcpy(FChainVector, FIV, sizeof FChainVector);
    FInitialized = true;
}

void TBlowfishCipher::ResetChain() {
    std::memcpy(FChainVector, FIV, sizeof FChainVector);
}

std::uint32_t TBlowfishCipher::F(std::uint32_t X) const {
    return ((FS[0][X >> 24] + FS[1][(X >> 16) & 255]) ^ FS[2][(X >> 8) & 255]) + FS[3][X & 255];
}

void TBlowfishCipher::EncryptRaw(const std::uint8_t* In, std::uint8_t* Out) const {
    std::uint32_t L = LoadBigEndian(In);
    std::uint32_t R = LoadBigEndian(In + 4);
    L ^= FP[0];
    for (int I = 1; I < Rounds; I += 2) {
        R ^= F(L) ^ FP[I];
        L ^= F(R) ^ FP[I + 1];
    }
    R ^= FP[17];
    StoreBigEndian(R, Out);
    StoreBigEndian(L, Out + 4);
}

void TBlowfishCipher::DecryptRaw(const std::uint8_t* In, std::uint8_t* Out) const {
    std::uint32_t L = LoadBigEndian(In);
    std::uint32_t R = LoadBigEndian(In + 4);
    L ^= FP[17];
    for (int I = Rounds; I > 0; I -= 2) {
        R ^= F(L) ^ FP[I];
        L ^= F(R) ^ FP[I - 1];
    }
    R ^= FP[0];
    StoreBigEndian(R, Out);
    StoreBigEndian(L, Out + 4);
}

void TBlowfishCipher::CheckReady(const void* InData, const void* OutData, std::int32_t Size) const {
    if (!Initialized())
        throw ECipherError("Blowfish: Not initialized");
    // A negative size or a missing buffer is a caller's mistake; refuse it rather than read
    // or write memory that is not there.
    if (Size < 0)
        throw std::invalid_argument("Blowfish: Invalid data size - " + std::to_string(Size));
    if (Size > 0 && (InData == nullptr || OutData == nullptr))
        throw std::invalid_argument("Blowfish: no data buffer given");
}

void TBlowfishCipher::EncryptBlock(const void* InData, void* OutData) {
    CheckReady(InData, OutData, 8);
    EncryptRaw(static_cast<const std::uint8_t*>(InData), static_cast<std::uint8_t*>(OutData));
}

void TBlowfishCipher::DecryptBlock(const void* InData, void* OutData) {
    CheckReady(InData, OutData, 8);
    DecryptRaw(static_cast<const std::uint8_t*>(InData), static_cast<std::uint8_t*>(OutData));
}

void TBlowfishCipher::EncryptCBC(const void* InData, void* OutData, std::int32_t Size) {
    CheckReady(InData, OutData, Size);
    const auto* In = static_cast<const std::uint8_t*>(InData);
    auto* Out = static_cast<std::uint8_t*>(OutData);
    std::uint8_t T[8];
    const std::int32_t Whole = Size / 8 * 8;
    for (std::int32_t Pos = 0; Pos < Whole; Pos += 8) {
        for (int I = 0; I < 8; ++I)
            T[I] = In[Pos + I] ^ FChainVector[I];
        EncryptRaw(T, T);
        std::memcpy(Out + Pos, T, 8);
        std::memcpy(FChainVector, T, 8);
    }
    if (Whole < Size) {
        EncryptRaw(FChainVector, T);
        for (std::int32_t I = Whole; I < Size; ++I)
            Out[I] = In[I] ^ T[I - Whole];
    }
    SecureFill(T, sizeof T, 0xFF);
}

void TBlowfishCipher::DecryptCBC(const void* InData, void* OutData, std::int32_t Size) {
    CheckReady(InData, OutData, Size);
    const auto* In = static_cast<const std::uint8_t*>(InData);
    auto* Out = static_cast<std::uint8_t*>(OutData);
    std::uint8_t C[8];
    std::uint8_t T[8];
    const std::int32_t Whole = Size / 8 * 8;
    for (std::int32_t Pos = 0; Pos < Whole; Pos += 8) {
        std::memcpy(C, In + Pos, 8);
        DecryptRaw(C, T);
        for (int I = 0; I < 8; ++I)
            Out[Pos + I] = T[I] ^ FChainVector[I];
        std::memcpy(FChainVector, C, 8);
    }
    if (Whole < Size) {
        EncryptRaw(FChainVector, T);
        for (std::int32_t I = Whole; I < Size; ++I)
            Out[I] = In[I] ^ T[I - Whole];
    }
    SecureFill(T, sizeof T, 0xFF);
    SecureFill(C, sizeof C, 0xFF);
}

void TBlowfishCipher::EncryptCFB8(const void* InData, void* OutData, std::int32_t Size) {
    CheckReady(InData, OutData, Size);
    const auto* In = static_cast<const std::uint8_t*>(InData);
    auto* Out = static_cast<std::uint8_t*>(OutData);
    std::uint8_t T[8];
    for (std::int32_t I = 0; I < Size; ++I) {
        EncryptRaw(FChainVector, T);
        Out[I] = In[I] ^ T[0];
        std::memmove(FChainVector, FChainVector + 1, 7);
        FChainVector[7] = Out[I];
    }
    SecureFill(T, sizeof T, 0xFF);
}

void TBlowfishCipher::DecryptCFB8(const void* InData, void* OutData, std::int32_t Size) {
    CheckReady(InData, OutData, Size);
    const auto* In = static_cast<const std::uint8_t*>(InData);
    auto* Out = static_cast<std::uint8_t*>(OutData);
    std::uint8_t T[8];
    for (std::int32_t I = 0; I < Size; ++I) {
        const std::uint8_t Cipher = In[I];
        EncryptRaw(FChainVector, T);
        Out[I] = Cipher ^ T[0];
        std::memmove(FChainVector, FChainVector + 1, 7);
        FChainVector[7] = Cipher;
    }
    SecureFill(T, sizeof T, 0xFF);
}

} // namespace quillet
