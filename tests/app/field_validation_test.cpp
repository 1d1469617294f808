// Field validation: the wrapping decimal reader, the hash rule and the UTC date, then the seven
// fields of the real dialog with their status labels, members and error lines.
#include <gtest/gtest.h>

#include <string>

#include "app/FieldValidation.h"
#include "app/settings_fixture.h"
#include "res/Resource.h"

namespace {

TEST(IsUnsignedDecimal, AcceptsDigitsOnlyAndWrapsAt32Bits) {
    struct Case {
        const char* text;
        bool valid;
        uint32_t stored;  // 77 stands for "left as it was"
    };
    const Case cases[] = {
        {"", true, 77},
        {"0", true, 0},
        {"007", true, 7},
        {"4294967295", true, 4294967295u},
        {"4294967296", true, 0},
        {"4294967297", true, 1},
        {"18446744073709551621", true, 5},  // 2^64 + 5 wraps to 5
        {"+1", false, 77},
        {"-1", false, 77},
        {" 1", false, 77},
        {"1 ", false, 77},
        {"1a", false, 77},
        {"0x10", false, 77},
        {"1.5", false, 77},
        {"\xB9", false, 77},  // superscript one, a byte above 0x7F
    };
    for (const Case& c : cases) {
        uint32_t value = 77;
        EXPECT_EQ(IsUnsignedDecimal(c.text, value), c.valid) << c.text;
        EXPECT_EQ(value, c.stored) << c.text;
    }
    uint32_t untouched = 77;
    EXPECT_TRUE(IsUnsignedDecimal(nullptr, untouched));
    EXPECT_EQ(untouched, 77u);
}

TEST(IsBlockHash, SixtyFourHexDigitsThenOnlyBlanksAndTabs) {
    const std::string digits = "00000000000008a3a41b85b8b29ad444DEF299FEE21793CD8B9E567EAB02CD81";
    struct Case {
        std::string text;
        bool valid;
    };
    const Case cases[] = {
        {digits, true},
        {digits + "  \t", true},
        {"", false},
        {" " + digits, false},
        {digits.substr(0, 63), false},
        {digits + "0", false},
        {digits.substr(0, 63) + " 1", false},
        {digits.substr(0, 32) + " " + digits.substr(32), false},
        {"0x" + digits.substr(2), false},
        {digits.substr(0, 63) + "g", false},
        {digits + "\n", false},
    };
    for (const Case& c : cases) EXPECT_EQ(IsBlockHash(c.text), c.valid) << '"' << c.text << '"';
}

TEST(UtcDateText, SpansTheWhole32BitRange) {
    EXPECT_EQ(UtcDateText(0), "1970/01/01 00:00:00 UTC");
    EXPECT_EQ(UtcDateText(1305998791), "2011/05/21 17:26:31 UTC");
    EXPECT_EQ(UtcDateText(951782400), "2000/02/29 00:00:00 UTC");
    EXPECT_EQ(UtcDateText(4294967295u), "2106/02/07 06:28:15 UTC");
}

class DialogValidation : public SettingsFixture {};

TEST_F(DialogValidation, EachFailingFieldGetsItsLineInOrderAndItsLabel) {
    CTarnvaultDlg& dlg = OpenDialog();
    const std::string hash(64, 'a');
    // Every field invalid, set out of order: the lines still follow the checking order.
    SetText(IDC_MERKLE_ROOT, "m");
    SetText(IDC_PREV_BLOCK_HASH, "p");
    SetText(IDC_NONCE, "n");
    SetText(IDC_BITS, "b");
    SetText(IDC_TIME_STAMP, "t");
    SetText(IDC_BLOCK_VERSION, "v");
    SetText(IDC_BLOCK_NUMBER, "-1");
    std::string errors = "left over";
    EXPECT_FALSE(dlg.ValidateFields(errors));
    EXPECT_EQ(errors,
              "Invalid block number: -1\nInvalid block version: v\nInvalid time stamp: t\n"
              "Invalid bits: b\nInvalid nonce: n\nInvalid previous block hash: p\n"
              "Invalid Merkle root: m");
    for (int status : {IDC_BLOCK_NUMBER_STATUS, IDC_BLOCK_VERSION_STATUS, IDC_TIME_STAMP_STATUS,
                       IDC_BITS_STATUS, IDC_NONCE_STATUS, IDC_PREV_BLOCK_HASH_STATUS,
                       IDC_MERKLE_ROOT_STATUS}) {
        EXPECT_EQ(Text(status), "Invalid") << status;
    }

    // Only the block number and the Merkle root fail: two lines, the others' labels clear.
    SetText(IDC_BLOCK_VERSION, "1");
    SetText(IDC_TIME_STAMP, "0");
    SetText(IDC_BITS, "");
    SetText(IDC_NONCE, "4294967296");
    SetText(IDC_PREV_BLOCK_HASH, hash + "\t");
    SetText(IDC_MERKLE_ROOT, " " + hash);
    EXPECT_FALSE(dlg.ValidateFields(errors));
    EXPECT_EQ(errors, "Invalid block number: -1\nInvalid Merkle root:  " + hash);
    EXPECT_EQ(Text(IDC_BLOCK_VERSION_STATUS), "");
    EXPECT_EQ(Text(IDC_TIME_STAMP_STATUS), "1970/01/01 00:00:00 UTC");
    EXPECT_EQ(Text(IDC_PREV_BLOCK_HASH_STATUS), "");
    EXPECT_EQ(Text(IDC_MERKLE_ROOT_STATUS), "Invalid");
    EXPECT_EQ(dlg.m_nBlockVersion, 1u);
    EXPECT_EQ(dlg.m_nNonce, 0u);
}

TEST_F(DialogValidation, EmptyNumberKeepsItsMemberAndTheDateFollowsIt) {
    CTarnvaultDlg& dlg = OpenDialog();
    const std::string hash(64, 'F');
    SetText(IDC_PREV_BLOCK_HASH, hash);
    SetText(IDC_MERKLE_ROOT, hash);
    SetText(IDC_BLOCK_NUMBER, "125552");
    SetText(IDC_TIME_STAMP, "4294967295");
    std::string errors;
    EXPECT_TRUE(dlg.ValidateFields(errors));
    EXPECT_EQ(errors, "");
    EXPECT_EQ(Text(IDC_TIME_STAMP_STATUS), "2106/02/07 06:28:15 UTC");

    SetText(IDC_BLOCK_NUMBER, "");
    SetText(IDC_TIME_STAMP, "");
    EXPECT_TRUE(dlg.ValidateFields(errors));
    EXPECT_EQ(dlg.m_nBlockNumber, 125552u);
    EXPECT_EQ(dlg.m_nTimeStamp, 4294967295u);
    EXPECT_EQ(Text(IDC_TIME_STAMP_STATUS), "2106/02/07 06:28:15 UTC");

    // An invalid time stamp shows no date and keeps the member.
    SetText(IDC_TIME_STAMP, "12:00");
    EXPECT_FALSE(dlg.ValidateFields(errors));
    EXPECT_EQ(Text(IDC_TIME_STAMP_STATUS), "Invalid");
    EXPECT_EQ(dlg.m_nTimeStamp, 4294967295u);
}

}  // namespace
