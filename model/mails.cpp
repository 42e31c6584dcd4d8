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

int TMails::FindMail(const std::string& ID) const {
    const auto found = FById.find(ID);
    if (found == FById.end() || found->second.empty())
        return -1;
    return IndexOfSeq(*found->second.begin());
}

int TMails::IndexOf(const TMail* Entry) const {
    if (Entry == nullptr)
        return -1;
    const auto found = FById.find(Entry->MatchKey());
    if (found != FById.end())
        for (const std::uint64_t seq : found->second)
            if (const int j = IndexOfSeq(seq);
                j >= 0 && FItems[static_cast<std::size_t>(j)].entry.get() == Entry)
                return j;
    return -1;
}

int TMails::Add(std::unique_ptr<TMail> Mail) {
    const std::uint64_t seq = FNextSeq++;
    FById[Mail->MatchKey()].insert(seq);
    std::string key = Mail->MatchKey();
    FItems.push_back({seq, std::move(key), std::move(Mail)});
    return Count() - 1;
}

void TMails::Delete(int Index) {
    if (Index < 0 || Index >= Count())
        return;
    auto it = FItems.begin() + Index;
    const auto found = FById.find(it->key);
    if (found != FById.end()) {
        found->second.erase(it->seq);
        if (found->second.empty())
            FById.erase(found);
    }
    FItems.erase(it);
}

void TMails::Clear() {
    FItems.clear();
    FById.clear();
}

} // namespace quillet
