#include "mail/charset_text.h"

#include <QByteArrayView>
#include <QString>

#include <algorithm>
#include <array>

namespace quillet {

namespace {

// Longer names are not character set names; they are not handed to the converter library.
constexpr std::size_t kMaxCharsetName = 40;

bool IsNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.' || c == ':' ||
           c == '+' || c == '(' || c == ')';
}

// Character sets in which every byte below 0x80 is that ASCII character.
bool IsAsciiSuperset(std::string_view name) {
    static constexpr std::array<std::string_view, 8> kPrefixes = {
        "utf-8", "us-ascii", "ascii", "iso-8859-", "windows-", "cp125", "koi8-", "latin"};
    return std::any_of(kPrefixes.begin(), kPrefixes.end(),
                       [&](std::string_view prefix) { return name.substr(0, prefix.size()) == prefix; });
}

bool AllAscii(std::string_view bytes) {
    unsigned char any = 0;
    for (const char c : bytes)
        any |= static_cast<unsigned char>(c);
    return any < 0x80;
}

} // namespace

QStringDecoder* TCharsetConverter::DecoderFor(const std::string& Name) {
    auto found = FDecoders.find(Name);
    if (found == FDecoders.end()) {
        auto decoder = std::make_unique<QStringDecoder>(Name.c_str(), QStringConverter::Flag::Stateless);
        if (!decoder->isValid())
            decoder.reset();
        found = FDecoders.emplace(Name, std::move(decoder)).first;
    }
    return found->second.get();
}

std::optional<std::string> TCharsetConverter::ToUtf8(std::string_view Charset, std::string_view Bytes) {
    Charset = Charset.substr(0, Charset.find('*'));
    if (Charset.empty() || Charset.size() > kMaxCharsetName)
        return std::nullopt;
    std::string name;
    for (const char c : Charset) {
        const char lower = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        if (!IsNameChar(lower))
            return std::nullopt;
        name += lower;
    }
    if (IsAsciiSuperset(name) && AllAscii(Bytes))
        return std::nullopt; // the same bytes
    QStringDecoder* decoder = DecoderFor(name);
    if (decoder == nullptr)
        return std::nullopt;
    decoder->resetState();
    const QString text = decoder->decode(QByteArrayView(Bytes.data(), static_cast<qsizetype>(Bytes.size())));
    if (decoder->hasError())
        return std::nullopt;
    const QByteArray utf8 = text.toUtf8();
    return std::string(utf8.constData(), static_cast<std::size_t>(utf8.size()));
}

} // namespace quillet
