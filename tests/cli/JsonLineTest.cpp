// The JSON lines: valid JSON for every file name, and the bytes recoverable.
#include <gtest/gtest.h>

#include "cli/JsonLine.h"

namespace kelmora::cli {
namespace {

TEST(JsonLine, StringsCarryEveryByte)
{
    const std::pair<std::string, const char*> rows[] = {
        {"plain.mp4", R"("plain.mp4")"},
        {"say \"hi\"\\", R"("say \"hi\"\\")"},
        {"a\nb\tc\x01\x7f", R"("a\nb\tc\u0001\u007f")"},
        {"動画.mp4", "\"動画.mp4\""},
        {"bad\xff\xfe", R"("bad\udcff\udcfe")"},
        {"cut\xe3\x81", R"("cut\udce3\udc81")"},
        {"overlong \xc0\xaf", R"("overlong \udcc0\udcaf")"},
        {"surrogate \xed\xa0\x80", R"("surrogate \udced\udca0\udc80")"},
        {std::string("nul\0byte", 8), R"("nul\u0000byte")"},
    };
    for (const auto& [text, json] : rows) {
        SCOPED_TRACE(json);
        EXPECT_EQ(jsonString(text), json);
    }
}

TEST(JsonLine, FieldsInTheOrderAdded)
{
    JsonLine line;
    line.addText("type", "run").addNumber("exit_status", -1).addBool("ok", false).addNull("reason").addSeconds("seconds", 1.23456);
    EXPECT_EQ(line.text(), R"({"type":"run","exit_status":-1,"ok":false,"reason":null,"seconds":1.235})");
    EXPECT_EQ(JsonLine().text(), "{}");
}

}  // namespace
}  // namespace kelmora::cli
