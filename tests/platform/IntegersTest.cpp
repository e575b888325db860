#include <gtest/gtest.h>

#include "platform/Integers.h"

using namespace kelmora::platform;

TEST(Integers, PlainDecimal)
{
    struct Row {
        const char* text;
        std::optional<std::int64_t> value;
    };
    const Row rows[] = {
        {"0", 0},
        {"-12", -12},
        {"007", 7},
        {"9223372036854775807", INT64_MAX},
        {"-9223372036854775808", INT64_MIN},
        {"9223372036854775808", std::nullopt},
        {"", std::nullopt},
        {"-", std::nullopt},
        {"+5", std::nullopt},
        {" 5", std::nullopt},
        {"5 ", std::nullopt},
        {"5x", std::nullopt},
        {"0x10", std::nullopt},
        {"1.5", std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(parseInteger(row.text), row.value);
    }
}

TEST(Integers, WordTexts)
{
    constexpr WordIntegerForms strict{};
    constexpr WordIntegerForms loose{.leadingBlanks = true, .signedHex = true, .bareX = true};
    struct Row {
        const char* text;
        std::optional<std::int32_t> strictValue;
        std::optional<std::int32_t> looseValue;
    };
    const Row rows[] = {
        {"+7", 7, 7},
        {"-2147483648", INT32_MIN, INT32_MIN},
        {"2147483648", std::nullopt, std::nullopt},
        {"$FFFFFFFF", -1, -1},
        {"0x100000000", std::nullopt, std::nullopt},
        {"0XfF", 255, 255},
        {"$", std::nullopt, std::nullopt},
        {" \t5", std::nullopt, 5},
        {"-$10", std::nullopt, -16},
        {"+0x10", std::nullopt, 16},
        {"x10", std::nullopt, 16},
        {"5 ", std::nullopt, std::nullopt},
        {"--1", std::nullopt, std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(parseWordInteger(row.text, strict), row.strictValue);
        EXPECT_EQ(parseWordInteger(row.text, loose), row.looseValue);
    }
}
