#include "crypto/hex_text.h"
#include "crypto/protected_text.h"
#include "vector_file.h"

#include <gtest/gtest.h>

using namespace quillet;

TEST(ProtectedText, StoredVectorsReadBack) {
    for (const auto& row : test::ReadVectorFile("stored_encrypted.tsv")) {
        const std::string pass = HexToString(row.Columns.at(0));
        const std::string value = HexToString(row.Columns.at(1));
        EXPECT_EQ(UnprotectText(row.Columns.at(2), pass), value) << "line " << row.Line;
        EXPECT_EQ(ProtectText(value, pass), row.Columns.at(2)) << "line " << row.Line;
    }
    for (const auto& row : test::ReadVectorFile("stored_scrambled.tsv"))
        EXPECT_EQ(UnprotectText(row.Columns.at(1), ""), HexToString(row.Columns.at(0)))
            << "line " << row.Line;
}

TEST(ProtectedText, RoundTripsAndDamage) {
    const std::string values[] = {"", "alice", "pop.example.com", std::string("p\0w\xFF", 4)};
    for (const auto& v : values) {
        EXPECT_EQ(UnprotectText(ProtectText(v, ""), ""), v);
        EXPECT_EQ(UnprotectText(ProtectText(v, "s3cret"), "s3cret"), v);
        const std::string stored = ProtectText(v, "s3cret");
        EXPECT_EQ(stored.find_first_not_of("0123456789ABCDEF"), std::string::npos);
    }
    EXPECT_THROW(UnprotectText("ZZ00", ""), std::runtime_error);
    EXPECT_THROW(UnprotectText("0G", "pw"), std::runtime_error);
}
