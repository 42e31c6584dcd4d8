// The stored vectors are read through the protected text in vectors_test.cpp.
#include "crypto/protected_text.h"

#include <gtest/gtest.h>

using namespace quillet;

TEST(ProtectedText, RoundTripsAndDamage) {
    for (const std::string& v : {std::string(), std::string("pop.example.com"), std::string("p\0w\xFF", 4)}) {
        for (const char* password : {"", "s3cret"}) {
            const std::string stored = ProtectText(v, password);
            EXPECT_EQ(UnprotectText(stored, password), v);
            EXPECT_EQ(stored.find_first_not_of("0123456789ABCDEF"), std::string::npos);
        }
    }
    EXPECT_THROW(UnprotectText("ZZ00", ""), std::runtime_error);
    EXPECT_THROW(UnprotectText("0G", "pw"), std::runtime_error);
}
