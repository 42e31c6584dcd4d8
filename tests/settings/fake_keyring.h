// A keyring in memory for tests of the keyring steps: it can stand for a keyring that cannot
// be used (every call fails as QtKeychain fails without a Secret Service) or one that refuses
// writes after a number of them.
#pragma once

#include "settings/keyring.h"

#include <map>
#include <memory>
#include <string>

namespace quillet::test {

class TFakeKeyring : public TKeyring {
public:
    TKeyringReply Read(const std::string& Key) override {
        ++Reads;
        if (Unusable)
            return Failure();
        const auto entry = Entries.find(Key);
        if (entry == Entries.end())
            return {TKeyringStatus::NotFound, {}, {}};
        return {TKeyringStatus::Ok, entry->second, {}};
    }
    TKeyringReply Write(const std::string& Key, const std::string& Secret) override {
        if (Unusable || WritesLeft == 0)
            return Failure();
        if (WritesLeft > 0)
            --WritesLeft;
        ++Writes;
        Entries[Key] = Secret;
        return {};
    }
    TKeyringReply Remove(const std::string& Key) override {
        if (Unusable)
            return Failure();
        Entries.erase(Key);
        return {};
    }

    // A keyring for an owner that wants its own (a window), answering from this one, which
    // must outlive it.
    std::unique_ptr<TKeyring> Share() {
        class TShared : public TKeyring {
        public:
            explicit TShared(TFakeKeyring& Keyring) : FKeyring(Keyring) {}
            TKeyringReply Read(const std::string& Key) override { return FKeyring.Read(Key); }
            TKeyringReply Write(const std::string& Key, const std::string& Secret) override {
                return FKeyring.Write(Key, Secret);
            }
            TKeyringReply Remove(const std::string& Key) override { return FKeyring.Remove(Key); }

        private:
            TFakeKeyring& FKeyring;
        };
        return std::make_unique<TShared>(*this);
    }

    std::map<std::string, std::string> Entries;
    bool Unusable = false; // every call fails
    int WritesLeft = -1;   // writes that still succeed; -1: all
    int Reads = 0;
    int Writes = 0;

private:
    static TKeyringReply Failure() {
        return {
            TKeyringStatus::Failed, {}, QStringLiteral("The name org.freedesktop.secrets was not provided")};
    }
};

} // namespace quillet::test
