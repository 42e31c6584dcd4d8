// The demo mailbox as Quillet itself reads it: sender and subject of messages in several
// character sets, dates (one deliberately unreadable), threads, identities, and the settings
// file that points Quillet at the demo server.
#include "crypto/protected_text.h"
#include "demo/demo_mailbox.h"
#include "demo/demo_settings.h"
#include "mail/mail_message.h"
#include "model/mail.h"
#include "util/strings.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <map>
#include <set>

namespace quillet::test {
namespace {

const QDateTime Start(QDate(2024, 3, 12), QTime(9, 30), Qt::UTC);

// The Date field as Quillet reads it; 0 when unreadable, whether it says so by value or by error.
TDateTime SentDateOf(const TMailMessage& Message) {
    try {
        return Message.SentDate();
    } catch (const std::exception&) {
        return 0;
    }
}

class DemoMailbox : public ::testing::Test {
protected:
    TDemoMailbox mailbox{TDemoMailbox::DefaultSeed, Start};
    TMailMessage message;

    const std::string& Text(int Index) const {
        return mailbox.Messages().at(static_cast<std::size_t>(Index)).Text;
    }
    TMailMessage& Load(int Index) {
        message.Reset();
        message.Header = SplitTextLines(Text(Index));
        return message;
    }
};

TEST_F(DemoMailbox, SendersAndSubjectsDecode) {
    const struct {
        int index;
        const char *name, *address, *subject;
    } rows[] = {
        {0, "The Lantern Post", "digest@news.example.com",
         "The Lantern Post — Issue 48: night markets and a lost bicycle"},
        {2, "Jörg Wäldele", "joerg.waeldele@example.org", "Grüße vom Bodensee"},
        {5, "Татьяна Воробьёва", "t.vorobyova@example.net", "Отчёт за неделю"},
        {6, "", "h.lyle@example.org", "dotfiles for the new laptop"},
        {7, "Élodie Marchetti", "elodie.marchetti@example.org", "Compte rendu de la réunion de mardi"},
        {9, "山科 葵", "aoi.yamashina@example.com", "会議の議事録について"},
        {10, "Strübing, Käthe", "k.struebing@example.net", "AW: Grüße vom Bodensee"},
        {11, "Lucía Berenguer", "lucia.berenguer@example.org", "¿Quedamos el jueves para cenar?"},
        {15, "Аркадий Лунин", "arkady.lunin@example.com", "Дача в субботу"},
        {19, "Margaret Holloway", "margaret.holloway@example.org",
         "Re: Re: Re: Re: Allotment plan for the spring"},
        {20, "鷹野 隼人", "hayato.takano@example.net", "来週の出張の件"},
    };
    for (const auto& row : rows) {
        Load(row.index);
        EXPECT_EQ(message.SenderName(), row.name) << row.index;
        EXPECT_EQ(message.SenderAddress(), row.address) << row.index;
        EXPECT_EQ(message.SubjectText(), row.subject) << row.index;
    }
    Load(22); // one Cc line with names in four scripts
    EXPECT_EQ(message.CcRecipients.Count(), 4);
    EXPECT_EQ(message.CcRecipients.Names(2), "Татьяна Воробьёва");
    EXPECT_EQ(message.CcRecipients.Addresses(3), "aoi.yamashina@example.com");
}

TEST_F(DemoMailbox, EveryMessageIsWellFormedAndDistinct) {
    ASSERT_EQ(mailbox.Messages().size(), static_cast<std::size_t>(TDemoMailbox::InitialCount));
    const TDateTime start = QDateTimeToDateTime(Start.toLocalTime());
    const QRegularExpression hostPattern(QStringLiteral("(?:@|://)([A-Za-z0-9.-]*[A-Za-z0-9])"));
    std::set<std::string> identities, uniqueIds, messageIds;
    TDateTime previous = 0;
    for (int i = 0; i < TDemoMailbox::InitialCount; ++i) {
        const std::string& text = Text(i);
        const auto count = [&text](std::string_view What) {
            std::size_t n = 0;
            for (std::size_t at = text.find(What); at != std::string::npos; at = text.find(What, at + 1))
                ++n;
            return n;
        };
        EXPECT_EQ(count("\r\n"), count("\n")) << i << " has a bare LF";
        EXPECT_EQ(count("\r\n"), count("\r")) << i << " has a bare CR";
        ASSERT_TRUE(text.ends_with("\r\n")) << i;

        const std::vector<std::string> lines = SplitTextLines(text);
        std::vector<std::string> header, body;
        SplitHeaderAndBody(lines, header, body);
        EXPECT_GE(body.size(), 5u) << i;
        EXPECT_LE(body.size(), 80u) << i;
        for (const std::string& line : lines)
            EXPECT_LE(line.size(), 998u) << i;

        // Only the reserved example domains, in addresses and links alike. Quoted-printable soft
        // breaks are joined first; a 7-bit Japanese body is left out, its character pairs hold "@".
        std::string scanned = text.find("charset=ISO-2022-JP") == std::string::npos
                                  ? text
                                  : text.substr(0, text.find("\r\n\r\n"));
        for (std::size_t at; (at = scanned.find("=\r\n")) != std::string::npos;)
            scanned.erase(at, 3);
        const QString all = QString::fromUtf8(scanned.data(), static_cast<qsizetype>(scanned.size()));
        for (auto it = hostPattern.globalMatch(all); it.hasNext();) {
            const QString host = it.next().captured(1);
            EXPECT_TRUE(QRegularExpression(QStringLiteral("^([a-z0-9-]+\\.)*example\\.(org|net|com)$"))
                            .match(host)
                            .hasMatch())
                << i << ": " << host.toStdString();
        }

        Load(i);
        EXPECT_FALSE(message.SenderAddress().empty()) << i;
        EXPECT_FALSE(message.SubjectText().empty()) << i;
        const TDateTime sent = SentDateOf(message);
        if (i == 12) {
            EXPECT_EQ(message.GetFieldValue("Date"), "yesterday-ish");
            EXPECT_EQ(sent, 0) << "the broken date must stay unreadable";
        } else {
            EXPECT_GT(sent, start - 7) << i;
            EXPECT_LE(sent, start) << i;
            EXPECT_GT(sent, previous) << i << " is not newer than the message before it";
            previous = sent;
        }
        identities.insert(MailIdentity(lines));
        uniqueIds.insert(mailbox.Messages()[static_cast<std::size_t>(i)].UniqueId);
        messageIds.insert(message.MessageId());
    }
    EXPECT_EQ(identities.size(), 25u);
    EXPECT_EQ(identities.count(""), 0u);
    EXPECT_EQ(uniqueIds.size(), 25u);
    EXPECT_EQ(messageIds.size(), 25u);
}

TEST_F(DemoMailbox, AnswersPointAtTheMessagesTheyAnswer) {
    const std::pair<int, int> answers[] = {{4, 1}, {8, 4}, {13, 8}, {19, 13}, {10, 2}, {16, 11}};
    for (const auto& [answer, parent] : answers) {
        const std::string parentId = Load(parent).MessageId();
        Load(answer);
        EXPECT_EQ(message.GetFieldValue("In-Reply-To"), parentId) << answer;
        EXPECT_NE(Text(answer).find("> "), std::string::npos) << answer << " quotes its parent";
    }
    const std::string threadStart = Load(1).MessageId();
    EXPECT_EQ(Load(19).GetFieldValue("References"), threadStart);
}

TEST_F(DemoMailbox, SameSeedSameMailboxAndNewMessagesArrive) {
    TDemoMailbox again(TDemoMailbox::DefaultSeed, Start), other(TDemoMailbox::DefaultSeed + 1, Start);
    for (int i = 0; i < TDemoMailbox::InitialCount; ++i) {
        const auto k = static_cast<std::size_t>(i);
        EXPECT_EQ(again.Messages()[k].Text, mailbox.Messages()[k].Text) << i;
        EXPECT_NE(other.Messages()[k].Text, mailbox.Messages()[k].Text) << i;
    }

    std::set<std::string> identities, uniqueIds;
    for (const TDemoMessage& m : mailbox.Messages()) {
        identities.insert(MailIdentity(SplitTextLines(m.Text)));
        uniqueIds.insert(m.UniqueId);
    }
    const QDateTime later = Start.addSecs(120);
    for (int n = 0; n < 20; ++n) { // more than one round of the arrivals
        const TDemoMessage& added = mailbox.AddNewMessage(later.addSecs(120 * n));
        EXPECT_TRUE(uniqueIds.insert(added.UniqueId).second) << n;
        const std::vector<std::string> lines = SplitTextLines(added.Text);
        EXPECT_TRUE(identities.insert(MailIdentity(lines)).second) << n;
        message.Reset();
        message.Header = lines;
        EXPECT_FALSE(message.SubjectText().empty()) << n;
        const TDateTime sent = SentDateOf(message);
        EXPECT_NEAR(sent, QDateTimeToDateTime(later.addSecs(120 * n).toLocalTime()), 1.0 / 24 / 60) << n;
    }
    EXPECT_EQ(mailbox.Messages().size(), 45u);
}

// The settings file holds one active account for the server, credentials in the form Quillet
// reads back when no master password is set.
TEST(DemoSettings, OneActiveAccountInTheStoredForm) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(WriteDemoSettings(dir.path(), "demo", "pass word", 40110));
    QFile file(dir.filePath(QStringLiteral("Quillet.ini")));
    EXPECT_EQ(file.permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther), 0);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_EQ(bytes.count("\r\n"), bytes.count('\n')) << "CR LF line ends, as Quillet writes the file";

    std::map<std::string, std::string> values; // "Section/Key" -> value
    std::string section;
    for (const std::string& line :
         SplitTextLines(std::string(bytes.constData(), static_cast<std::size_t>(bytes.size())))) {
        if (line.starts_with("["))
            section = line.substr(1, line.find(']') - 1);
        else if (const std::size_t eq = line.find('='); eq != std::string::npos)
            values[section + "/" + line.substr(0, eq)] = line.substr(eq + 1);
    }
    const std::map<std::string, std::string> plain = {
        {"Accounts/Count", "1"},     {"Accounts/UsePassword", "0"}, {"Accounts/TestPhrase", ""},
        {"Account00/Label", "Demo"}, {"Account00/Port", "40110"},   {"Account00/Active", "1"},
    };
    for (const auto& [key, value] : plain)
        EXPECT_EQ(values[key], value) << key;
    EXPECT_EQ(UnprotectText(values["Account00/UserName"], ""), "demo");
    EXPECT_EQ(UnprotectText(values["Account00/Host"], ""), "127.0.0.1");
    EXPECT_EQ(UnprotectText(values["Account00/Password"], ""), "pass word");
    EXPECT_EQ(values.size(), plain.size() + 3);
}

} // namespace
} // namespace quillet::test
