#include <gtest/gtest.h>

#include <array>

#include "device/command_report.h"
#include "device/command_set.h"

namespace korvel {
namespace {

TEST(CommandReport, ChecksumOfAllOnesIsTheLargestSumLowByteFirst) {
    CommandReport report;
    report.bytes.fill(0xFF);
    report.bytes[0] = 4;
    SealChecksum(report);
    EXPECT_EQ(ReportChecksum(report), 15555);
    EXPECT_EQ(report.bytes[1], 0xC3);
    EXPECT_EQ(report.bytes[2], 0x3C);
}

TEST(CommandReport, ChecksumLeavesOutTheFirstThreeBytes) {
    CommandReport report;
    report.bytes[0] = 0xAA;
    report.bytes[1] = 0xBB;
    report.bytes[2] = 0xCC;
    report.bytes[3] = 1;
    report.bytes[63] = 2;
    EXPECT_EQ(ReportChecksum(report), 3);
}

TEST(CommandReport, RequestLayout) {
    const std::array<std::uint8_t, 3> data = {0x11, 0x22, 0x33};
    const CommandReport request = BuildRequest(CMD_WRITE_KEYTABLE, 0x13A, 0x0444, data);
    EXPECT_EQ(request.bytes[0], 4);
    EXPECT_EQ(request.Command(), CMD_WRITE_KEYTABLE);
    EXPECT_EQ(request.Length(), 0x3A) << "only the low 8 bits of the count travel";
    EXPECT_EQ(request.bytes[5], 0x44);
    EXPECT_EQ(request.bytes[6], 0x04);
    EXPECT_EQ(request.Status(), 0);
    EXPECT_EQ(request.bytes[8], 0x11);
    EXPECT_EQ(request.bytes[10], 0x33);
    EXPECT_EQ(request.bytes[11], 0);
    EXPECT_EQ(request.StoredChecksum(), ReportChecksum(request));
    EXPECT_EQ(request.StoredChecksum(), CMD_WRITE_KEYTABLE + 0x3A + 0x44 + 0x04 + 0x66);
}

TEST(CommandReport, RequestTakesAtMost56DataBytes) {
    std::array<std::uint8_t, 60> data;
    data.fill(1);
    const CommandReport request = BuildRequest(CMD_WRITE_MACROS, 56, 0, data);
    EXPECT_EQ(request.StoredChecksum(), CMD_WRITE_MACROS + 56 + 56);
}

}  // namespace
}  // namespace korvel
