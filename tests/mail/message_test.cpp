// The message object: loading, Reset, sender, recipients, subject, date and Message-ID.
#include "mail/mail_format_error.h"
#include "mail/mail_message.h"
#include "util/strings.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace quillet {
namespace {

void Load(TMailMessage& Msg, const std::string& Header) {
    Msg.Reset();
    Msg.Header = SplitTextLines(Header);
}

TEST(MailMessage, HeaderTextAndReset) {
    TMailMessage msg;
    msg.SubParts.Add(new TMailPart);
    msg.SetHeaderText(std::string("Subject: a\r\nTo: b\0Cc: hidden\r\n", 30));
    EXPECT_EQ(msg.Header.size(), 2u); // a zero byte ends the text
    EXPECT_EQ(msg.HeaderText(), "Subject: a\r\nTo: b\r\n");
    msg.Body = "x";
    msg.Charset = "utf-8";
    msg.Reset();
    EXPECT_EQ(msg.SubParts.Count(), 0);
    EXPECT_TRUE(msg.Header.empty());
    EXPECT_TRUE(msg.Body.empty());
    EXPECT_EQ(msg.Charset, "utf-8");
    EXPECT_EQ(msg.GetFieldValue("Subject"), "");
}

TEST(MailMessage, Sender) {
    const struct {
        const char *from, *name, *address;
    } rows[] = {
        {"Ann Lee <box1>", "Ann Lee", "box1"},
        {"box1", "", "box1"},
        {"\"Lee, Ann\" <box1>", "Lee, Ann", "box1"},
        {"box1 (Ann)", "", "box1(Ann)"},
        {"=?iso-8859-1?Q?Jos=E9?= <box2>", "Jos\xc3\xa9", "box2"},
        {"Ann <box1>, Bob <box2>", "Ann", "box1"},
        {"<box1> trailing", "", "box1"},
        {"\"quoted <not>\" box1", "", "box1"},
        {"", "", ""},
    };
    TMailMessage msg;
    for (const auto& row : rows) {
        Load(msg, std::string("From: ") + row.from + "\r\n");
        EXPECT_EQ(msg.SenderName(), row.name) << row.from;
        EXPECT_EQ(msg.SenderAddress(), row.address) << row.from;
    }
    Load(msg, "From: Ann <box1>, Bob <box2>; Cy <box3>\r\n");
    EXPECT_EQ(msg.NameAt("From", 1), "Bob");
    EXPECT_EQ(msg.AddressAt("From", 1), "box2");
    EXPECT_EQ(msg.NameAt("From", 2), ""); // the value ends at the semicolon
    EXPECT_EQ(msg.AddressAt("From", 2), "");
}

TEST(MailMessage, RecipientLists) {
    const struct {
        const char* to;
        std::vector<std::string> names, addresses;
    } rows[] = {
        {"box1, Ann <box2>", {"", "Ann"}, {"box1", "box2"}},
        {"box1,", {"", ""}, {"box1", ""}},
        {"box1 (Ann)", {""}, {"box1 (Ann)"}},
        {"box1; box2", {""}, {"box1"}},
        {"\"Lee, Ann\" <box1>", {"Lee, Ann"}, {"box1"}},
        {"Ann <box1> x", {"Ann"}, {"box1x"}}, // characters after ">" still count
        {"=?utf-8?B?SGVsbG8=?= <box1>", {"Hello"}, {"box1"}},
        {"", {}, {}},
    };
    TMailMessage msg;
    for (const auto& row : rows) {
        Load(msg, std::string("Subject: s\r\nTo: ") + row.to + "\r\n");
        ASSERT_EQ(msg.ToRecipients.Count(), static_cast<int>(row.addresses.size())) << row.to;
        for (int i = 0; i < msg.ToRecipients.Count(); ++i) {
            EXPECT_EQ(msg.ToRecipients.Names(i), row.names[i]) << row.to;
            EXPECT_EQ(msg.ToRecipients.Addresses(i), row.addresses[i]) << row.to;
        }
    }
    EXPECT_THROW(msg.ToRecipients.Names(0), std::out_of_range);
}

TEST(MailMessage, RecipientListsFollowTheCurrentHeader) {
    TMailMessage msg;
    Load(msg, "To: a, b\r\nCc: c\r\n");
    EXPECT_EQ(msg.ToRecipients.Count(), 2);
    EXPECT_EQ(msg.CcRecipients.Addresses(0), "c");
    EXPECT_EQ(msg.BccRecipients.Count(), 0);
    Load(msg, "To: d\r\n");
    EXPECT_EQ(msg.ToRecipients.Count(), 1);
    EXPECT_EQ(msg.ToRecipients.Addresses(0), "d");
    EXPECT_EQ(msg.CcRecipients.Count(), 0);
    msg.Header[0] = "To: e, f, g"; // a change made directly to the lines counts too
    EXPECT_EQ(msg.ToRecipients.Count(), 3);

    // A failed decoding leaves no stale lists behind.
    Load(msg, "To: =?x?U?#a?= <box1>\r\n");
    EXPECT_THROW(msg.ToRecipients.Count(), EMailFormatError);
    EXPECT_THROW(msg.ToRecipients.Count(), EMailFormatError);
    Load(msg, "To: h\r\n");
    EXPECT_EQ(msg.ToRecipients.Addresses(0), "h");
}

TEST(MailMessage, SubjectDateAndMessageId) {
    TMailMessage msg;
    Load(msg, "Subject: =?utf-8?B?SGVsbG8=?=\r\nMessage-ID: <id1@host>\r\nDate: 15 Nov 94 08:12 GMT\r\n"
              "\r\nDate: 1 Jan 2000\r\n");
    EXPECT_EQ(msg.SubjectText(), "Hello");
    EXPECT_EQ(msg.MessageId(), "<id1@host>");
    const QDateTime sent(QDate(1994, 11, 15), QTime(8, 12), Qt::UTC);
    EXPECT_NEAR(msg.SentDate(), QDateTimeToDateTime(sent.toLocalTime()), 1e-8);

    Load(msg, "Subject: Re: lunch; today\r\nDate: 15\r\n");
    EXPECT_EQ(msg.SubjectText(), "Re: lunch");
    EXPECT_THROW(msg.SentDate(), EMailFormatError);

    Load(msg, "Subject: =?x?U?#a?=\r\n");
    EXPECT_THROW(msg.SubjectText(), EMailFormatError);
    Load(msg, "X: y\r\n");
    EXPECT_EQ(msg.SubjectText(), "");
    EXPECT_EQ(msg.SentDate(), 0);
    EXPECT_EQ(msg.MessageId(), "");
}

} // namespace
} // namespace quillet
