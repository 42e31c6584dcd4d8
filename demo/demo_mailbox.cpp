#include "demo/demo_mailbox.h"

#include "demo/demo_catalogue.h"
#include "util/strings.h"

#include <QLocale>
#include <QTimeZone>

#include <algorithm>

namespace quillet {

namespace {

// Minutes between two start messages; the 25 spread over about five and a half days.
constexpr int StartSpacingMinutes = 330;

std::string Text(const QString& S) {
    const QByteArray bytes = S.toUtf8();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// "+0100", "-0500", "+0530".
std::string ZoneText(int OffsetSeconds) {
    const int minutes = std::abs(OffsetSeconds) / 60;
    return std::string(OffsetSeconds < 0 ? "-" : "+") + PadLeftWith(std::to_string(minutes / 60), 2, '0') +
           PadLeftWith(std::to_string(minutes % 60), 2, '0');
}

// A date as mail programs write it: "Tue, 12 Mar 2024 09:14:03 +0100", in the zone of T.
std::string MailDate(const QDateTime& T) {
    return Text(QLocale::c().toString(T, QStringLiteral("ddd, d MMM yyyy hh:mm:ss"))) + " " +
           ZoneText(T.offsetFromUtc());
}

std::string DomainOf(const std::string& Address) {
    const std::size_t at = Address.find('@');
    return at == std::string::npos ? Address : Address.substr(at + 1);
}

void ReplaceAll(std::string& S, std::string_view What, std::string_view With) {
    for (std::size_t at = S.find(What); at != std::string::npos; at = S.find(What, at + With.size()))
        S.replace(at, What.size(), With);
}

// The parent's lines as an answer quotes them.
std::vector<std::string> Quoted(const std::vector<std::string>& Lines) {
    std::vector<std::string> quoted;
    for (const std::string& line : Lines)
        quoted.push_back(line.empty() ? ">" : line.front() == '>' ? ">" + line : "> " + line);
    return quoted;
}

} // namespace

TDemoMailbox::TDemoMailbox(std::uint64_t Seed, const QDateTime& Now) : FState(Seed) {
    const QDateTime nowUtc = Now.toUTC();
    std::vector<TDemoDraft> drafts = InitialDrafts();
    for (std::size_t k = 0; k < drafts.size(); ++k) {
        const auto stepsBack = static_cast<std::int64_t>(drafts.size() - 1 - k);
        const std::int64_t minutes =
            stepsBack * StartSpacingMinutes + 12 + static_cast<std::int64_t>(Below(StartSpacingMinutes / 2));
        const QDateTime sent = nowUtc.addSecs(-(minutes * 60 + static_cast<std::int64_t>(Below(60))));
        Deliver(drafts[k], sent, sent.addSecs(3 + static_cast<std::int64_t>(Below(90))));
    }
}

const TDemoMessage& TDemoMailbox::AddNewMessage(const QDateTime& Now) {
    const TDemoDraft draft = LaterDraft(FLaterCount++);
    const QDateTime received = Now.toUTC();
    return Deliver(draft, received.addSecs(-5 - static_cast<std::int64_t>(Below(40))), received);
}

void TDemoMailbox::Remove(const std::vector<std::string>& UniqueIds) {
    std::erase_if(FMessages, [&](const TDemoMessage& Message) {
        return std::find(UniqueIds.begin(), UniqueIds.end(), Message.UniqueId) != UniqueIds.end();
    });
}

std::uint64_t TDemoMailbox::NextRandom() {
    // SplitMix64: small, fast, and the same sequence on every platform and compiler.
    std::uint64_t z = (FState += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

std::string TDemoMailbox::RandomHex(int Digits) {
    static const char hex[] = "0123456789abcdef";
    std::string s;
    for (int i = 0; i < Digits; ++i)
        s += hex[Below(16)];
    return s;
}

const TDemoMessage& TDemoMailbox::Deliver(const TDemoDraft& Draft, const QDateTime& Sent,
                                          const QDateTime& Received) {
    TDemoLetter letter = Draft.Letter;
    const std::string domain = DomainOf(letter.From.Address);
    const QDateTime sentLocal = Sent.toOffsetFromUtc(Draft.ZoneMinutes * 60);
    ++FSerial;

    // Random parts are drawn one statement at a time: the order in which the operands of one
    // expression are evaluated is up to the compiler, and the mailbox must not depend on it.
    const std::string mxAddress = "192.0.2." + std::to_string(10 + Below(200));
    const std::string mxId = RandomHex(10);
    const std::string clientAddress = "198.51.100." + std::to_string(2 + Below(250));
    const std::string clientPort = std::to_string(40000 + Below(20000));
    const std::string submissionId = RandomHex(12);
    const std::uint64_t idStyle = Below(3);
    const std::string idHex = RandomHex(32);

    if (letter.ReturnPath.empty())
        letter.ReturnPath = letter.From.Address;
    letter.Received = {
        "from mail." + domain + " (mail." + domain + " [" + mxAddress +
            "])\r\n\tby mx.example.net with ESMTPS id " + mxId + "\r\n\tfor <" + OwnerAddress + ">; " +
            MailDate(Received.toOffsetFromUtc(0)),
        "from [" + clientAddress + "] (port " + clientPort + ")\r\n\tby mail." + domain +
            " with ESMTPSA id " + submissionId + ";\r\n\t" + MailDate(sentLocal.addSecs(1)),
    };
    if (letter.DateText.empty())
        letter.DateText = MailDate(sentLocal);
    // Built by appending only: GCC 12 misreads a prepend to a temporary string (-Wrestrict).
    letter.MessageId = "<";
    if (idStyle == 0)
        letter.MessageId += Text(Sent.toString(QStringLiteral("yyyyMMddhhmmss"))) + "." + idHex.substr(0, 8);
    else if (idStyle == 1)
        letter.MessageId += idHex.substr(0, 8) + "-" + idHex.substr(8, 4) + "-" + idHex.substr(12, 4) + "-" +
                            idHex.substr(16, 4) + "-" + idHex.substr(20, 12);
    else
        letter.MessageId += idHex.substr(0, 16) + "." + std::to_string(FSerial);
    letter.MessageId += (idStyle == 2 ? "@mail." : "@") + domain + ">";
    if (!letter.Html.empty() && letter.Boundary.empty())
        letter.Boundary = "=_" + RandomHex(16);

    if (Draft.Parent >= 0 && static_cast<std::size_t>(Draft.Parent) < FInitialSent.size()) {
        const TSent& parent = FInitialSent[static_cast<std::size_t>(Draft.Parent)];
        letter.InReplyTo = parent.MessageId;
        letter.References = parent.References;
        letter.References.push_back(parent.MessageId);
        std::string attribution = Draft.Attribution;
        ReplaceAll(attribution, "{date}",
                   Text(QLocale::c().toString(parent.Date, QStringLiteral("ddd, d MMM yyyy 'at' hh:mm"))));
        ReplaceAll(attribution, "{numeric}", Text(parent.Date.toString(QStringLiteral("dd.MM.yyyy hh:mm"))));
        ReplaceAll(attribution, "{name}", parent.SenderName);
        letter.Body.push_back("");
        letter.Body.push_back(attribution);
        for (std::string& line : Quoted(parent.Body))
            letter.Body.push_back(std::move(line));
    }

    if (FLaterCount == 0) {
        const std::string name = letter.From.Name.empty() ? letter.From.Address : letter.From.Name;
        FInitialSent.push_back({letter.MessageId, letter.References, letter.Body, name, sentLocal});
    }
    const std::string uniqueId = PadLeftWith(std::to_string(FSerial), 4, '0') + "." + RandomHex(8);
    FMessages.push_back({uniqueId, ComposeLetter(letter)});
    return FMessages.back();
}

} // namespace quillet
