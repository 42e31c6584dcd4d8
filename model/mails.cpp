#include "model/mails.h"

#include <algorithm>

namespace quillet {

TMail* TMails::Item(int Index) const {
    if (Index < 0 || Index >= Count())
        return nullptr;
    return items_[static_cast<std::size_t>(Index)].entry.get();
}

int TMails::IndexOfSeq(std::uint64_t Seq) const {
    const auto it = std::lower_bound(items_.begin(), items_.end(), Seq,
                                     [](const Slot& s, std::uint64_t v) { return s.seq < v; });
    if (it == items_.end() || it->seq != Seq)
        return -1;
    return static_cast<int>(it - items_.begin());
}

int TMails::FindMail(const std::string& ID) const {
    const auto found = byId_.find(ID);
    if (found == byId_.end() || found->second.empty())
        return -1;
    return IndexOfSeq(*found->second.begin());
}

int TMails::Add(std::unique_ptr<TMail> Mail) {
    const std::uint64_t seq = nextSeq_++;
    byId_[Mail->UniqueID].insert(seq);
    std::string key = Mail->UniqueID;
    items_.push_back({seq, std::move(key), std::move(Mail)});
    return Count() - 1;
}

void TMails::Delete(int Index) {
    if (Index < 0 || Index >= Count())
        return;
    auto it = items_.begin() + Index;
    const auto found = byId_.find(it->key);
    if (found != byId_.end()) {
        found->second.erase(it->seq);
        if (found->second.empty())
            byId_.erase(found);
    }
    items_.erase(it);
}

void TMails::Clear() {
    items_.clear();
    byId_.clear();
}

} // namespace quillet
