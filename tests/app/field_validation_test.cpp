// Field validation: the wrapping decimal reader and the hash rule, then the seven
// fields of the real dialog with their status labels, members and error lines.
#include <string>

#include "app/FieldValidation.h"
#include "app/settings_fixture.h"
#include "res/Resource.h"

namespace {

TEST(IsUnsignedDecimal, AcceptsDigitsOnlyAndWrapsAt32Bits) {
    const std::pair<const char*, uint32_t> valid[] = {
        {"0", 0}, {"007", 7}, {"4294967295", 4294967295u}, {"4294967296", 0}, {"4294967297", 1},
        {"18446744073709551621", 5},  // 2^64 + 5
    };
    for (const auto& [text, stored] : valid) {
        uint32_t value = 77;
        EXPECT_TRUE(IsUnsignedDecimal(text, value)) << text;
        EXPECT_EQ(value, stored) << text;
    }
    // Empty is valid and leaves the value as it was; "\xB9" is a superscript one.
    for (const char* text : {"", "+1", "-1", " 1", "1 ", "1a", "0x10", "1.5", "\xB9"}) {
        uint32_t value = 77;
        EXPECT_EQ(IsUnsignedDecimal(text, value), text[0] == '\0') << text;
        EXPECT_EQ(value, 77u) << text;
    }
    uint32_t untouched = 77;
    EXPECT_TRUE(IsUnsignedDecimal(nullptr, untouched));
    EXPECT_EQ(untouched, 77u);
}

TEST(IsBlockHash, SixtyFourHexDigitsThenOnlyBlanksAndTabs) {
    const std::string digits = "00000000000008a3a41b85b8b29ad444DEF299FEE21793CD8B9E567EAB02CD81";
    EXPECT_TRUE(IsBlockHash(digits));
    EXPECT_TRUE(IsBlockHash(digits + "  \t"));
    const std::string invalid[] = {
        "", " " + digits, digits.substr(0, 63), digits + "0", digits.substr(0, 63) + " 1",
        digits.substr(0, 32) + " " + digits.substr(32), "0x" + digits.substr(2),
        digits.substr(0, 63) + "g", digits + "\n",
    };
    for (const std::string& text : invalid) EXPECT_FALSE(IsBlockHash(text)) << '"' << text << '"';
}

using DialogValidation = SettingsFixture;

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
    SetText(IDC_PREV_BLOCK_HASH, std::string(64, 'F'));
    SetText(IDC_MERKLE_ROOT, std::string(64, 'F'));
    SetText(IDC_TIME_STAMP, "4294967295");
    std::string errors;
    EXPECT_TRUE(dlg.ValidateFields(errors));
    SetText(IDC_TIME_STAMP, "");
    EXPECT_TRUE(dlg.ValidateFields(errors));
    EXPECT_EQ(Text(IDC_TIME_STAMP_STATUS), "2106/02/07 06:28:15 UTC");

    // An invalid time stamp shows no date and keeps the member.
    SetText(IDC_TIME_STAMP, "12:00");
    EXPECT_FALSE(dlg.ValidateFields(errors));
    EXPECT_EQ(Text(IDC_TIME_STAMP_STATUS), "Invalid");
    EXPECT_EQ(dlg.m_nTimeStamp, 4294967295u);
}

}  // namespace
