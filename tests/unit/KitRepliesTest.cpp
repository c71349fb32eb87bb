#include "adjust/KitReplies.h"

#include "clock/DateTime.h"

#include <gtest/gtest.h>

#include <string>

namespace lumora {
namespace {

using namespace std::string_view_literals;

TEST(KitReplies, StatusReply) {
    struct Row {
        std::string_view reply;
        KitStatus expected;
    };
    const Row rows[] = {
        {"valid\r\n", KitStatus::Ready},
        {"VaLiD", KitStatus::Ready},
        {"", KitStatus::NoCommunication},
        {"DCST\r\n", KitStatus::NoCommunication},
        {"DCST\r\n\0"sv, KitStatus::NoCommunication},
        {"DCST\r", KitStatus::NotReady},
        {"busy\r\n", KitStatus::NotReady},
        {"vali", KitStatus::NotReady},
        {" valid\r", KitStatus::NotReady},
        {"\0\0\0"sv, KitStatus::NotReady},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(ReadKitStatus(r.reply), r.expected) << r.reply;
    }
}

TEST(KitReplies, TimeFromDateTimeDate) {
    struct Row {
        std::string_view firstDate;
        std::string_view time;
        std::string_view secondDate;
        bool repeated;
        KitVerdict verdict;
        DateTimeParts utc;
    };
    const Row rows[] = {
        {"2007/01/02\r\n",
         "12:34:56\r\n",
         "2007/01/02\r\n",
         false,
         KitVerdict::Accepted,
         {2007, 1, 2, 3, 34, 56, 0, 1}},
        {"2007/01/01\r\n",
         "00:00:00\r\n",
         "2007/01/01\r\n",
         false,
         KitVerdict::Accepted,
         {2006, 12, 31, 15, 0, 0, 0, 6}},
        {"2008/02/29",
         "09:00:00",
         "2008/02/29\r\n\0\0\0\0"sv,
         false,
         KitVerdict::Accepted,
         {2008, 2, 29, 0, 0, 0, 0, 4}},
        // Midnight JST between the reads: once more, then give up.
        {"2007/01/01\r\n", "23:59:59\r\n", "2007/01/02\r\n", false, KitVerdict::Retry, {}},
        {"2007/01/01\r\n", "23:59:59\r\n", "2007/01/02\r\n", true, KitVerdict::Failed, {}},
        {"2007/01/02\r\n", "00:00:01\r\n", "2007/01/02\r\n", true, KitVerdict::Accepted, {2007, 1, 1, 15, 0, 1, 0, 0}},
        {"2007/02/30\r\n", "12:34:56\r\n", "2007/02/30\r\n", false, KitVerdict::Failed, {}},
        {"2007/01/02\r\n", "12:34:5x\r\n", "2007/01/02\r\n", false, KitVerdict::Failed, {}},
        {"2007/01/02\r\n", "", "2007/01/02\r\n", false, KitVerdict::Failed, {}},
        {"2007/01/02\r\n", "12:34:5", "2007/01/02\r\n", false, KitVerdict::Failed, {}},
        {"", "12:34:56\r\n", "", false, KitVerdict::Failed, {}}, // no date at all is no date change
        {"DATE\r\n", "STIM\r\n", "DATE\r\n", false, KitVerdict::Failed, {}},
    };
    for (const Row& r : rows) {
        const KitTime t = ReadKitTime(r.firstDate, r.time, r.secondDate, r.repeated);
        EXPECT_EQ(t.Verdict, r.verdict) << r.firstDate << r.time << r.secondDate;
        if (r.verdict == KitVerdict::Accepted) {
            EXPECT_EQ(SplitDateTime(t.Utc), r.utc) << r.firstDate << r.time;
        }
    }
}

TEST(KitReplies, SerialDevicePath) {
    struct Row {
        std::wstring_view name;
        std::wstring_view path;
    };
    const Row rows[] = {
        {L"COM1", L"COM1"},
        {L"COM9", L"COM9"},
        {L"COM10", L"\\\\.\\COM10"},
        {L"com256", L"\\\\.\\com256"},
        {L"COM0", L"\\\\.\\COM0"},
        {L"\\\\.\\COM12", L"\\\\.\\COM12"},
        {L"COM", L"COM"},
        {L"COM1A", L"COM1A"},
        {L"", L""},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(SerialDevicePath(r.name), r.path) << std::string(r.name.begin(), r.name.end());
    }
}

} // namespace
} // namespace lumora
