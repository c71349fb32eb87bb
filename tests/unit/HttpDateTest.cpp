#include "adjust/HttpDate.h"

#include "clock/DateTime.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace lumora {
namespace {

std::optional<DateTimeParts> Parts(std::optional<double> dateTime) {
    return dateTime ? std::optional(SplitDateTime(*dateTime)) : std::nullopt;
}

TEST(HttpDate, FixedPositions) {
    struct Row {
        std::wstring header;
        std::optional<DateTimeParts> utc;
    };
    const DateTimeParts nov6{1994, 11, 6, 8, 49, 37, 0, 6};
    const Row rows[] = {
        {L"Sun, 06 Nov 1994 08:49:37 GMT", nov6},
        {L"sun, 06 nov 1994 08:49:37 gmt", nov6},
        {L"Sun, 06 NOV 1994 08:49:37 GMT", nov6},
        {L"Sun, 06 Nov 1994 08:49:37", nov6},
        {L"Sun, 06 Nov 1994 08:49:37 JST", nov6}, // the zone is not read
        {L"Thu, 29 Feb 2024 23:59:59 GMT", DateTimeParts{2024, 2, 29, 23, 59, 59, 0, 3}},
        {L"Sunday, 06-Nov-94 08:49:37 GMT", std::nullopt},
        {L"Sun Nov  6 08:49:37 1994", std::nullopt},
        {L"Fri, 30 Feb 2007 08:49:37 GMT", std::nullopt},
        {L"Sun, 06 Nov 1994 24:00:00 GMT", std::nullopt},
        {L"Sun, 06 Nov 0000 08:49:37 GMT", std::nullopt},
        {L"Sun, 06 Nvo 1994 08:49:37 GMT", std::nullopt},
        {L"Sun, +6 Nov 1994 08:49:37 GMT", std::nullopt},
        {L"Sun, 06 Nov 1994 08:49:3", std::nullopt},
        {L"Sun, 06 Nov 1994 08:49", std::nullopt},
        {L"Sun, 06 Nov 1994 08:49:37 GMT" + std::wstring(270, L'x'), nov6},
        {std::wstring(300, L'7'), std::nullopt},
        {L"", std::nullopt},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(Parts(ParseHttpDate(r.header)), r.utc) << std::string(r.header.begin(), r.header.end());
    }
    EXPECT_EQ(Parts(ParseHttpDate(std::string_view("Sun, 06 nov 1994 08:49:37 GMT"))), nov6);
}

TEST(HttpDate, TextEndsAtTheFirstNul) {
    using namespace std::string_view_literals;
    const DateTimeParts nov6{1994, 11, 6, 8, 49, 37, 0, 6};
    EXPECT_EQ(Parts(ParseHttpDate(L"Sun, 06 Nov 1994 08:49:37 GMT\0\0\0\x7f\xffff"sv)), nov6);
    EXPECT_EQ(ParseHttpDate(L"Sun, 06 Nov\0 1994 08:49:37 GMT"sv), std::nullopt);
    EXPECT_EQ(ParseHttpDate(std::wstring(256, L'\0')), std::nullopt);
    EXPECT_EQ(ParseHttpDate("Sun, 06 N\xe9v 1994 08:49:37 GMT\0junk"sv), std::nullopt);
}

} // namespace
} // namespace lumora
