// The owning list of every mail entry of every account, in the order they were added.
#pragma once

#include "model/mail.h"

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace quillet {

class TMails {
public:
    TMails() = default;
    TMails(const TMails&) = delete;
    TMails& operator=(const TMails&) = delete;

    int Count() const { return static_cast<int>(FItems.size()); }
    TMail& operator[](int Index) { return *FItems.at(static_cast<std::size_t>(Index)).entry; }
    const TMail& operator[](int Index) const { return *FItems.at(static_cast<std::size_t>(Index)).entry; }
    TMail* Item(int Index) const;

    // Index of the first entry whose MatchKey equals Key exactly; -1 when there is none.
    // Kept fast for large mailboxes by an index beside the list, so a check of many thousand
    // messages does not become quadratic. An entry's key must not change while it is listed.
    int FindMail(const std::string& Key) const;
    // Index of the entry Entry (after a wait, entries may have moved or gone); -1 when gone.
    int IndexOf(const TMail* Entry) const;

    // Takes ownership; returns the new entry's index (the last one).
    int Add(std::unique_ptr<TMail> Mail);
    // Removes and destroys the entry at Index.
    void Delete(int Index);
    void Clear();

private:
    struct Slot {
        std::uint64_t seq;
        std::size_t keyHash; // hash of the MatchKey when the entry was added
        std::unique_ptr<TMail> entry;
    };
    int IndexOfSeq(std::uint64_t Seq) const;

    std::vector<Slot> FItems; // ascending seq: entries are only ever appended
    // Seq of every entry by the hash of its key: a number per entry rather than a copy of its
    // key, since a list may hold many thousand entries. Look-ups compare the keys themselves.
    std::unordered_multimap<std::size_t, std::uint64_t> FByKeyHash;
    std::uint64_t FNextSeq = 0;
};

} // namespace quillet
