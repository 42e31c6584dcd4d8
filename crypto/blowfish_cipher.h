// Blowfish (64-bit blocks, keys of 8 to 448 bits) behind the block cipher interface.
#pragma once

#include "crypto/block_cipher.h"

#include <cstdint>

namespace quillet {

class TBlowfishCipher final : public TBlockCipher {
public:
    TBlowfishCipher();
    ~TBlowfishCipher() override;

    // Without IVector the initialisation vector is eight 0xFF bytes encrypted under the key.
    void Init(const void* Key, std::int32_t SizeBits, const void* IVector = nullptr) override;
    // Sets the tables and both vectors to 0xFF bytes.
    void Wipe() override;
    void ResetChain() override;
    void EncryptBlock(const void* InData, void* OutData) override;
    void DecryptBlock(const void* InData, void* OutData) override;
    // Whole blocks are chained; a last partial block of r bytes is XORed with the first r
    // bytes of the encrypted chaining value, so no padding is added.
    void EncryptCBC(const void* InData, void* OutData, std::int32_t Size) override;
    void DecryptCBC(const void* InData, void* OutData, std::int32_t Size) override;
    void EncryptCFB8(const void* InData, void* OutData, std::int32_t Size) override;
    void DecryptCFB8(const void* InData, void* OutData, std::int32_t Size) override;

private:
    void CheckReady(const void* InData, const void* OutData, std::int32_t Size) const;
    std::uint32_t F(std::uint32_t X) const;
    void EncryptRaw(const std::uint8_t* In, std::uint8_t* Out) const;
    void DecryptRaw(const std::uint8_t* In, std::uint8_t* Out) const;

    std::uint8_t FIV[8];
    std::uint8_t FChainVector[8];
    std::uint32_t FS[4][256];
    std::uint32_t FP[18];
};

} // namespace quillet
