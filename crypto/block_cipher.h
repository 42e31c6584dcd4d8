// The interface of a 64-bit block cipher: keying, wiping of key material, single blocks and
// two chaining modes (CBC with a length-preserving tail, and 8-bit cipher feedback).
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>

namespace quillet {

// Misuse of a cipher (no key yet, a key of the wrong size), with the cipher's message text.
class ECipherError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Buffers are raw bytes. In every operation the input and the output may be the same buffer
// (but must not otherwise overlap); the output always has exactly as many bytes as the input.
// Misuse raises ECipherError with the cipher's message text.
class TBlockCipher {
public:
    virtual ~TBlockCipher() = default;
    TBlockCipher(const TBlockCipher&) = delete;
    TBlockCipher& operator=(const TBlockCipher&) = delete;

    const std::string& Algorithm() const { return FAlgorithm; }
    // Block size in bits.
    std::int32_t BlockSize() const { return FBlockSize; }
    // Largest key size that Init accepts, in bits.
    std::int32_t MaxKeySize() const { return FMaxKeySize; }
    // True from a successful Init until the next Wipe.
    bool Initialized() const { return FInitialized; }

    // Keys the cipher with SizeBits / 8 bytes at Key. IVector points to one block of
    // initialisation vector, or is null for the cipher's default.
    virtual void Init(const void* Key, std::int32_t SizeBits, const void* IVector = nullptr) = 0;
    // Overwrites all key-dependent state and leaves the cipher uninitialised.
    virtual void Wipe() = 0;
    // Restarts the chaining from the initialisation vector.
    virtual void ResetChain() = 0;
    virtual void EncryptBlock(const void* InData, void* OutData) = 0;
    virtual void DecryptBlock(const void* InData, void* OutData) = 0;
    virtual void EncryptCBC(const void* InData, void* OutData, std::int32_t Size) = 0;
    virtual void DecryptCBC(const void* InData, void* OutData, std::int32_t Size) = 0;
    virtual void EncryptCFB8(const void* InData, void* OutData, std::int32_t Size) = 0;
    virtual void DecryptCFB8(const void* InData, void* OutData, std::int32_t Size) = 0;

protected:
    // A virtual call cannot reach the concrete cipher from here, so each concrete cipher
    // wipes itself at the end of its constructor and in its destructor.
    TBlockCipher(std::string Algorithm, std::int32_t BlockSize, std::int32_t MaxKeySize)
        : FAlgorithm(std::move(Algorithm)), FBlockSize(BlockSize), FMaxKeySize(MaxKeySize) {}

    bool FInitialized = false;

private:
    std::string FAlgorithm;
    std::int32_t FBlockSize;
    std::int32_t FMaxKeySize;
};

} // namespace quillet
