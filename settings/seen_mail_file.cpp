#include "settings/seen_mail_file.h"

#include "util/strings.h"
#include "util/text_convert.h"

#include <QFile>
#include <QSaveFile>
#include <algorithm>
#include <optional>
#include <vector>

namespace quillet {

namespace {

constexpr std::string_view AccountTag = "account";
constexpr std::string_view SeenTag = "seen";
constexpr char Hex[] = "0123456789ABCDEF";

std::string Escaped(std::string_view Field) {
    std::string out;
    out.reserve(Field.size());
    for (const char c : Field) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || c == '%') {
            out += '%';
            out += Hex[byte >> 4];
            out += Hex[byte & 0xF];
        } else {
            out += c;
        }
    }
    return out;
}

// The field's bytes; nothing when a '%' is not followed by two hexadecimal digits.
std::optional<std::string> Unescaped(std::string_view Field) {
    std::string out;
    out.reserve(Field.size());
    for (std::size_t i = 0; i < Field.size(); ++i) {
        if (Field[i] != '%') {
            out += Field[i];
            continue;
        }
        if (i + 2 >= Field.size())
            return std::nullopt;
        const int high = HexDigitValue(Field[i + 1]);
        const int low = HexDigitValue(Field[i + 2]);
        if (high < 0 || low < 0)
            return std::nullopt;
        out += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return out;
}

// The tab-separated fields of a line, unescaped; nothing when one cannot be read.
std::optional<std::vector<std::string>> Fields(std::string_view Line) {
    std::vector<std::string> fields;
    for (;;) {
        const std::size_t tab = Line.find('\t');
        std::optional<std::string> field = Unescaped(Line.substr(0, tab));
        if (!field)
            return std::nullopt;
        fields.push_back(std::move(*field));
        if (tab == std::string_view::npos)
            return fields;
        Line.remove_prefix(tab + 1);
    }
}

} // namespace

TSeenMail ParseSeenMail(std::string_view Text) {
    TSeenMail seen;
    std::optional<TSeenAccount> account; // the account the "seen" lines belong to
    std::vector<std::string> ids;
    const auto flush = [&] {
        if (account)
            seen.Add(*account, ids);
        ids.clear();
    };
    while (!Text.empty()) {
        const std::size_t eol = Text.find('\n');
        std::string_view line = Text.substr(0, eol);
        Text.remove_prefix(eol == std::string_view::npos ? Text.size() : eol + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty() || line.front() == '#' || line.size() > MaxSeenLineBytes)
            continue;
        const std::optional<std::vector<std::string>> fields = Fields(line);
        const bool accountLine = line.substr(0, line.find('\t')) == AccountTag;
        if (accountLine) {
            // The mails after an account line that cannot be read belong to nobody, never to
            // the account before it.
            flush();
            account.reset();
            if (fields && fields->size() == 4)
                account = TSeenAccount{(*fields)[1], (*fields)[2], (*fields)[3]};
        } else if (fields && fields->size() == 2 && (*fields)[0] == SeenTag && !(*fields)[1].empty()) {
            ids.push_back((*fields)[1]);
        }
    }
    flush();
    return seen;
}

std::string SeenMailText(const TSeenMail& Seen) {
    std::string text = "# The mails that Quillet has announced already, by account (label, server,\n"
                       "# user name). Written by Quillet; lines it cannot read are passed over.\n";
    for (const auto& [account, set] : Seen.Accounts()) {
        text += std::string(AccountTag) + '\t' + Escaped(account.Label) + '\t' + Escaped(account.Host) +
                '\t' + Escaped(account.UserName) + '\n';
        std::vector<std::string> ids(set.begin(), set.end());
        std::sort(ids.begin(), ids.end());
        for (const std::string& id : ids)
            text += std::string(SeenTag) + '\t' + Escaped(id) + '\n';
    }
    return text;
}

TSeenMail ReadSeenMailFile(const std::string& Path) {
    QFile file(ToQString(Path));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray bytes = file.read(static_cast<qint64>(MaxSeenFileBytes));
    if (!file.atEnd()) {
        // Cut short: the last line read may be a piece of a line.
        const qsizetype eol = bytes.lastIndexOf('\n');
        bytes.truncate(eol < 0 ? 0 : eol + 1);
    }
    return ParseSeenMail(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

std::string WriteSeenMailFile(const std::string& Path, const TSeenMail& Seen) {
    const QString path = ToQString(Path);
    const bool existed = QFile::exists(path);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return FromQString(file.errorString());
    // Labels and user names are the user's own business: owner only, as Quillet.ini.
    if (!existed)
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const std::string text = SeenMailText(Seen);
    if (file.write(text.data(), static_cast<qint64>(text.size())) != static_cast<qint64>(text.size()) ||
        !file.commit())
        return FromQString(file.errorString());
    return {};
}

} // namespace quillet
