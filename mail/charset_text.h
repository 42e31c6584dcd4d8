// Conversion of the bytes of an encoded header word from the character set that the word names
// to the program's UTF-8 text, through QStringDecoder.
#pragma once

#include <QStringDecoder>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace quillet {

// Converts byte texts to UTF-8, keeping one decoder per character set name that it has met.
// Meant to live for one decoding run; not shared between threads.
class TCharsetConverter {
public:
    // The UTF-8 form of Bytes read in Charset; nothing when the bytes stay as they are: when
    // the character set is unknown, the bytes are not valid in it, or they are ASCII in a set
    // that extends ASCII. An RFC 2231 language suffix ("iso-8859-1*fr") is ignored.
    std::optional<std::string> ToUtf8(std::string_view Charset, std::string_view Bytes);

private:
    QStringDecoder* DecoderFor(const std::string& Name);

    std::map<std::string, std::unique_ptr<QStringDecoder>> FDecoders;
};

} // namespace quillet
