// The field checks without a window: wrapping decimal numbers, block hashes, UTC dates and the
// error prefixes of the seven block-header fields.
#include "app/FieldValidation.h"

#include <cstdio>
#include <ctime>

#include "interpreter/values/DecimalText.h"
#include "res/Resource.h"

bool IsUnsignedDecimal(const char* text, uint32_t& value) {
    if (text == nullptr || text[0] == '\0') return true;
    for (const char* p = text; *p != '\0'; ++p) {
        if (*p < '0' || *p > '9') return false;
    }
    return ParseUInt32Text(text, value);
}

namespace {

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

}  // namespace

bool IsBlockHash(const std::string& text) {
    constexpr size_t kDigits = 64;
    if (text.size() < kDigits) return false;
    for (size_t i = 0; i < kDigits; ++i) {
        if (!IsHexDigit(text[i])) return false;
    }
    for (size_t i = kDigits; i < text.size(); ++i) {
        if (text[i] != ' ' && text[i] != '\t') return false;
    }
    return true;
}

std::string UtcDateText(uint32_t secondsSince1970) {
    const time_t seconds = static_cast<time_t>(secondsSince1970);
    struct tm utc {};
    if (gmtime_r(&seconds, &utc) == nullptr) return {};
    char text[64];
    std::snprintf(text, sizeof text, "%04u/%02u/%02u %02u:%02u:%02u UTC",
                  static_cast<unsigned>(utc.tm_year + 1900), static_cast<unsigned>(utc.tm_mon + 1),
                  static_cast<unsigned>(utc.tm_mday), static_cast<unsigned>(utc.tm_hour),
                  static_cast<unsigned>(utc.tm_min), static_cast<unsigned>(utc.tm_sec));
    return text;
}

const char* FieldErrorPrefix(int editId) {
    switch (editId) {
        case IDC_BLOCK_NUMBER: return "Invalid block number: ";
        case IDC_BLOCK_VERSION: return "Invalid block version: ";
        case IDC_TIME_STAMP: return "Invalid time stamp: ";
        case IDC_BITS: return "Invalid bits: ";
        case IDC_NONCE: return "Invalid nonce: ";
        case IDC_PREV_BLOCK_HASH: return "Invalid previous block hash: ";
        case IDC_MERKLE_ROOT: return "Invalid Merkle root: ";
        default: return "Invalid field: ";
    }
}
