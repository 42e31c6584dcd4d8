#include "model/mails.h"

#include <algorithm>

namespace quillet {

TMail* TMails::Item(int Index) const {
    if (Index < 0 || Index >= Count())
        return nullptr;
    return FItems[static_cast<std::size_t>(Index)].entry.get();
}

int TMails::IndexOfSeq(std::uint64_t Seq) const {
    const auto it = std::lower_bound(FItems.begin(), FItems.end(), Seq,
                                     [](const Slot& s, std::uint64_t v) { return s.seq < v; });
    if (it == FItems.end() || it->seq != Seq)
        return -1;
    return static_cast<int>(it - FItems.begin());
}

namespace {

std::size_t KeyHash(const std::string& Key) {
    return std::hash<std::string>{}(Key);
}

} // namespace

int TMails::FindMail(const std::string& ID) const {
    // The first entry is the one added first: the least seq among those with this key.
    const auto [first, last] = FByKeyHash.equal_range(KeyHash(ID));
    int found = -1;
    std::uint64_t foundSeq = 0;
    for (auto it = first; it != last; ++it) {
        if (found >= 0 && it->second > foundSeq)
            continue;
        if (const int j = IndexOfSeq(it->second);
            j >= 0 && FItems[static_cast<std::size_t>(j)].entry->MatchKey() == ID) {
            found = j;
            foundSeq = it->second;
        }
    }
    return found;
}

int TMails::IndexOf(const TMail* Entry) const {
    if (Entry == nullptr)
        return -1;
    const auto [first, last] = FByKeyHash.equal_range(KeyHash(Entry->MatchKey()));
    for (auto it = first; it != last; ++it)
        if (const int j = IndexOfSeq(it->second);
            j >= 0 && FItems[static_cast<std::size_t>(j)].entry.get() == Entry)
            return j;
    return -1;
}

int TMails::Add(std::unique_ptr<TMail> Mail) {
    const std::uint64_t seq = FNextSeq++;
    const std::size_t hash = KeyHash(Mail->MatchKey());
    FByKeyHash.emplace(hash, seq);
    FItems.push_back({seq, hash, std::move(Mail)});
    return Count() - 1;
}

void TMails::Delete(int Index) {
    if (Index < 0 || Index >= Count())
        return;
    auto it = FItems.begin() + Index;
    const auto [first, last] = FByKeyHash.equal_range(it->keyHash);
    for (auto entry = first; entry != last; ++entry)
        if (entry->second == it->seq) {
            FByKeyHash.erase(entry);
            break;
        }
    FItems.erase(it);
}

void TMails::Clear() {
    FItems.clear();
    FByKeyHash.clear();
}

} // namespace quillet
