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

// Qt's decoders do not flag every fault: the UTF-16 and UTF-32 ones drop an incomplete last
// unit and turn lone surrogates into "?" without an error. A conversion counts as clean when
// no replacement character appeared, and, for those wide encodings, when encoding the text
// again gives back exactly the bytes that came in.
bool CleanlyDecoded(const std::string& name, std::string_view bytes, const QString& text) {
    if (text.contains(QChar::ReplacementCharacter))
        return false;
    for (qsizetype i = 0; i < text.size(); ++i)
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        else if (text[i].isSurrogate())
            return false; // a lone half of a pair has no UTF-8 form
    const bool wide = name.rfind("utf-16", 0) == 0 || name.rfind("utf-32", 0) == 0 ||
                      name.rfind("ucs-2", 0) == 0 || name.rfind("ucs-4", 0) == 0 ||
                      name.rfind("unicode", 0) == 0;
    if (!wide)
        return true;
    QStringEncoder encoder(name.c_str(), QStringConverter::Flag::Stateless);
    if (!encoder.isValid())
        return false;
    const QByteArray again = encoder.encode(text);
    return !encoder.hasError() &&
           std::string_view(again.constData(), static_cast<std::size_t>(again.size())) == bytes;
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
    if (decoder->hasError() || !CleanlyDecoded(name, Bytes, text))
        return std::nullopt;
    const QByteArray utf8 = text.toUtf8();
    return std::string(utf8.constData(), static_cast<std::size_t>(utf8.size()));
}

} // namespace quillet
