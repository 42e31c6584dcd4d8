// One part of a mail message: its header lines, its body bytes and its child parts. The message
// object is the root part; it is the only part this program fills.
#pragma once

#include <QObject>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

class TMailMessage;
class TMailPart;

// The child parts of a part, by reference. The list itself owns nothing: the part holding the
// list destroys its children.
class TMailPartList {
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    // Index errors raise std::out_of_range.
    TMailPart* Items(int Index) const { return FItems.at(static_cast<std::size_t>(Index)); }
    void Add(TMailPart* Part) { FItems.push_back(Part); }
    void Clear() { FItems.clear(); }

    auto begin() const { return FItems.begin(); }
    auto end() const { return FItems.end(); }

private:
    std::vector<TMailPart*> FItems;
};

class TMailPart : public QObject {
public:
    explicit TMailPart(QObject* Owner = nullptr);
    ~TMailPart() override;
    TMailPart(const TMailPart&) = delete;
    TMailPart& operator=(const TMailPart&) = delete;

    // The part's header lines. For the root message: every line of the fetched text (header,
    // the empty separator line and the body lines that followed).
    std::vector<std::string> Header;
    // Raw and decoded body bytes; never filled by this program.
    std::string Body;
    std::string DecodedBody;
    // The message the part belongs to; the message points it at itself.
    TMailMessage* OwnerMessage = nullptr;
    // Child parts, owned by this part.
    TMailPartList SubParts;

    // Sets Header from a whole text: CR LF, a lone CR and a lone LF each end a line; a zero byte
    // ends the text.
    void SetHeaderText(std::string_view Text);
    // The header lines joined with CR LF after each line.
    std::string HeaderText() const;

    // The value of the first header line named Name (see FieldValueIn); empty when absent.
    std::string GetFieldValue(std::string_view Name) const;

protected:
    // Destroys every child part and empties SubParts.
    void DestroySubParts();
};

} // namespace quillet
