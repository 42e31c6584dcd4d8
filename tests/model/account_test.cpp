#include "mail/pop3_client.h"
#include "mail/smtp_client.h"
#include "model/account.h"

#include <gtest/gtest.h>

using namespace quillet;

TEST(Account, Defaults) {
    TAccount a;
    EXPECT_FALSE(a.Checking);
    EXPECT_EQ(a.Port(), 110);
    EXPECT_TRUE(a.Active);
    ASSERT_NE(a.Pop(), nullptr);
    ASSERT_NE(a.Smtp(), nullptr);
    EXPECT_EQ(a.Pop()->MailMessage, a.MailMessage());
    EXPECT_EQ(a.Smtp()->MailMessage, a.MailMessage());
}

TEST(Account, SetPortKeepsThePortInRange) {
    const std::pair<int, int> rows[] = {{0, 1}, {-5, 1}, {1, 1}, {110, 110}, {65535, 65535}, {70000, 65535}};
    for (auto [in, out] : rows) {
        TAccount a;
        a.SetPort(in);
        EXPECT_EQ(a.Port(), out) << in;
    }
}

TEST(Account, ListingAndSizes) {
    TAccount a;
    a.StoreListing("+OK 2 messages\r\n1 120\r\n2 4000\r\n.\r\n");
    EXPECT_EQ(a.LastListing, (std::vector<std::string>{"1 120", "2 4000", "."}));
    struct Row {
        int n;
        int size;
    } rows[] = {{1, 120}, {2, 4000}, {3, -1}, {0, -1}, {-1, -1}};
    for (const auto& r : rows)
        EXPECT_EQ(a.ListedSize(r.n), r.size) << r.n;

    EXPECT_TRUE(a.SameListing("+OK 2 messages (4120 octets)\r\n1 120\r\n2 4000\r\n.\r\n"));
    EXPECT_TRUE(a.SameListing("1 120\n2 4000\n.\n")); // no status line, other line ends
    EXPECT_FALSE(a.SameListing("+OK 3 messages\r\n1 120\r\n2 4000\r\n3 7\r\n.\r\n"));
    EXPECT_FALSE(a.SameListing("+OK\r\n1 121\r\n2 4000\r\n.\r\n"));

    // By position, not by the number written at the start of the line.
    a.StoreListing("+OK\r\n7 10\r\n9\r\n3 x\r\n4  55 \r\n.\r\n");
    EXPECT_EQ(a.ListedSize(1), 10);
    EXPECT_EQ(a.ListedSize(2), -1); // no space
    EXPECT_EQ(a.ListedSize(3), 0);  // not a number
    EXPECT_EQ(a.ListedSize(4), 55);
    EXPECT_EQ(a.ListedSize(5), -1);

    a.StoreListing("");
    EXPECT_TRUE(a.LastListing.empty());
    a.StoreListing("1 5\r\n.\r\n"); // a listing without status line is kept whole
    EXPECT_EQ(a.LastListing.size(), 2u);
}

TEST(Accounts, OwningListAndDeleteGuard) {
    TAccounts list;
    for (int i = 0; i < 3; ++i) {
        auto a = std::make_unique<TAccount>();
        a->Label = "acc" + std::to_string(i);
        EXPECT_EQ(list.Add(std::move(a)), i);
    }
    list[1].Checking = true;
    EXPECT_FALSE(list.Delete(1)); // a check is waiting on it
    list[1].Checking = false;
    EXPECT_TRUE(list.Delete(1));
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list[1].Label, "acc2");
    EXPECT_FALSE(list.Delete(5));
    list.DropAllSessions(); // nothing connected: nothing happens
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
}
