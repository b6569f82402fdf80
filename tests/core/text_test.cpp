#include <gtest/gtest.h>

#include "core/store/Passwords.h"
#include "core/text/Gbk.h"

using namespace xinghe;

TEST(Gbk, LengthCountsTwoBytesPerChineseCharacter) {
    const std::pair<const char*, size_t> cases[] = {
        {"", 0}, {"abc", 3}, {"中文", 4}, {"星河署基金 2026", 15}, {"（）", 4}};
    for (const auto& [s, n] : cases) EXPECT_EQ(text::gbkLength(s), n) << s;
}

TEST(Gbk, ConvertsBothWaysAndRefusesWhatItCannotWrite) {
    auto g = text::utf8ToGbk("申请书.doc");
    ASSERT_TRUE(g);
    EXPECT_EQ(g->size(), 10u);
    EXPECT_EQ(text::gbkToUtf8(*g), "申请书.doc");
    EXPECT_FALSE(text::utf8ToGbk("emoji \xF0\x9F\x98\x80"));
    EXPECT_FALSE(text::gbkToUtf8("\x81"));
    EXPECT_TRUE(text::isValidUtf8("中文"));
    EXPECT_FALSE(text::isValidUtf8("\xE4\xB8"));
}

TEST(Passwords, HashVerifiesOnlyTheRightPassword) {
    auto h = store::hashPassword("s3cret'\"");
    EXPECT_NE(h, "s3cret'\"");
    EXPECT_TRUE(store::verifyPassword(h, "s3cret'\""));
    EXPECT_FALSE(store::verifyPassword(h, "s3cret"));
    EXPECT_FALSE(store::verifyPassword("s3cret", "s3cret"));  // a plain stored text never matches
    EXPECT_TRUE(store::verifyPassword(store::hashPassword(""), ""));
}
