#include "mail/mail_part.h"

#include "mail/field_value.h"
#include "util/strings.h"

namespace quillet {

TMailPart::TMailPart(QObject* Owner) : QObject(Owner) {}

TMailPart::~TMailPart() {
    DestroySubParts();
}

void TMailPart::DestroySubParts() {
    // Take the list first so that a child's destruction never sees a half-emptied list.
    TMailPartList parts = SubParts;
    SubParts.Clear();
    for (TMailPart* part : parts)
        delete part;
}

void TMailPart::SetHeaderText(std::string_view Text) {
    const std::size_t zero = Text.find('\0');
    if (zero != std::string_view::npos)
        Text = Text.substr(0, zero);
    Header = SplitTextLines(Text);
}

std::string TMailPart::HeaderText() const {
    return JoinTextLines(Header);
}

std::string TMailPart::GetFieldValue(std::string_view Name) const {
    return FieldValueIn(Header, Name);
}

} // namespace quillet
