// Address fields and the server field as users type them.

#include <gtest/gtest.h>

#include "addresses.h"
#include "mail_texts.h"
#include "server_address.h"
#include "smtp_client.h"

namespace quilvane::mail {
namespace {

using Entries = std::vector<std::string>;

TEST(AddressList, SplitsAtCommasAndSemicolonsOutsideQuotes) {
    EXPECT_EQ(SplitAddressList("a@x.test"), Entries{"a@x.test"});
    EXPECT_EQ(SplitAddressList(" a@x.test ;b@y.test,, ;\"Zhang, San\" <z@w.test>;"),
              (Entries{"a@x.test", "b@y.test", "\"Zhang, San\" <z@w.test>"}));
    EXPECT_TRUE(SplitAddressList(" ; , ").empty());
}

TEST(AddressList, TakesTheAddressOutOfANamedEntry) {
    EXPECT_EQ(MailboxOf("张三 <zhang@example.test>"), "zhang@example.test");
    EXPECT_EQ(MailboxOf(" plain@example.test "), "plain@example.test");
    EXPECT_EQ(DisplayNameOf("\"Li, Si\" <li@example.test>"), "Li, Si");
    EXPECT_EQ(DisplayNameOf("plain@example.test"), "");
    EXPECT_TRUE(IsUsableMailbox("first.last+tag@example.test"));
    for (const char* unusable :
         {"", "a b@example.test", "a@example.test\r\nDATA", "<a@example.test>", "张@example.test"})
        EXPECT_FALSE(IsUsableMailbox(unusable)) << unusable;
}

TEST(ServerField, HostAloneMeansPort25) {
    Result<ServerAddress> server = ParseServerField(" smtp.example.test ");
    ASSERT_TRUE(server);
    EXPECT_EQ(server->host, "smtp.example.test");
    EXPECT_EQ(server->port, 25);
    EXPECT_FALSE(server->portGiven);
}

TEST(ServerField, ColonPicksAnotherPort) {
    Result<ServerAddress> server = ParseServerField("smtp.example.test:587");
    ASSERT_TRUE(server);
    EXPECT_EQ(server->host, "smtp.example.test");
    EXPECT_EQ(server->port, 587);
    EXPECT_TRUE(server->portGiven);
    server = ParseServerField("[2001:db8::25]:2525");
    ASSERT_TRUE(server);
    EXPECT_EQ(server->host, "2001:db8::25");
    EXPECT_EQ(server->port, 2525);
    EXPECT_EQ(ServerLabel(server->host, server->port), "[2001:db8::25]:2525");
    server = ParseServerField("2001:db8::25");
    ASSERT_TRUE(server);
    EXPECT_EQ(server->port, 25) << "a bare IPv6 address has no port";
}

TEST(ServerField, RefusesWhatNamesNoServerOrPort) {
    EXPECT_EQ(ParseServerField("  ").message(), texts::kNoServer);
    EXPECT_EQ(ParseServerField(":25").message(), texts::kNoServer);
    for (const char* wrong : {"h:", "h:0", "h:65536", "h:25x", "h:-1", "[::1", "[::1]x"})
        EXPECT_EQ(ParseServerField(wrong).message(), texts::PortInvalid(wrong)) << wrong;
}

TEST(TlsPolicy, Port465StartsEncryptedUnlessToldOtherwise) {
    EXPECT_TRUE(UsesImplicitTls(TlsPolicy::Automatic, 465));
    EXPECT_FALSE(UsesImplicitTls(TlsPolicy::Automatic, 587));
    EXPECT_FALSE(UsesImplicitTls(TlsPolicy::StartTls, 465));
    EXPECT_TRUE(UsesImplicitTls(TlsPolicy::Implicit, 25));
}

}  // namespace
}  // namespace quilvane::mail
