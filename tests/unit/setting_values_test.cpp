#include "launch/setting_values.h"
#include <gtest/gtest.h>

namespace {

struct NumberCase {
    const char *value;
    int32_t expected;
};

TEST(ParseDelay, Table) {
    const NumberCase cases[] = {
        {"1000", 1000},
        {"0x3E8", 1000},
        {"0X3e8", 1000},
        {"010", 8},
        {"09", 0},
        {"1.5", 1},
        {"abc", 0},
        {"  +250ms", 250},
        {"- 5", 0},
        {"", 0},
        {"-20", -20},
        {"\t\n\v\f\r 7", 7},
        {"0x", 0},
        {"0xg", 0},
        {"0", 0},
        {"2147483647", 2147483647},
        {"2147483648", 2147483647},
        {"99999999999999999999", 2147483647},
        {"-2147483648", INT32_MIN},
        {"-2147483649", INT32_MIN},
        {"-99999999999999999999", INT32_MIN},
        {"0x7fffffff", 2147483647},
        {"0xFFFFFFFF", 2147483647},
        {"-0x10", -16},
        {"+-1", 0},
        {"017777777777", 2147483647},
    };
    for (const NumberCase &c : cases)
        EXPECT_EQ(c.expected, ParseDelay(c.value)) << "value '" << c.value << "'";
}

TEST(ParseColorComponent, Table) {
    const NumberCase cases[] = {
        {"0", 0},
        {"255", 255},
        {"256", 256},
        {" 12", 12},
        {"00255", 255},
        {"-1", -1},
        {"4294967297", 1},
        {"4294967295", -1},
        {"0x10", 0},
        {"12abc", 12},
        {"", 0},
        {"abc", 0},
        {"+7", 7},
        {"- 7", 0},
        {"2147483648", INT32_MIN},
        {"-4294967296", 0},
    };
    for (const NumberCase &c : cases)
        EXPECT_EQ(c.expected, ParseColorComponent(c.value)) << "value '" << c.value << "'";
}

struct FlagCase {
    const char *value;
    bool expected;
};

TEST(IsValueSet, Table) {
    const FlagCase cases[] = {
        {"", false},
        {"NONE", false},
        {"none", false},
        {"nOnE", false},
        {"NONE ", true},
        {" NONE", true},
        {"NONE.", true},
        {"NON", true},
        {"intro.exe", true},
        {"\xce"
         "ONE",
         true},
    };
    for (const FlagCase &c : cases)
        EXPECT_EQ(c.expected, IsValueSet(c.value)) << "value '" << c.value << "'";
}

TEST(IsBackdropHidden, Table) {
    const FlagCase cases[] = {
        {"0", true},   {"00", false}, {"false", false}, {" 0", false},
        {"0 ", false}, {"1", false},  {"", false},
    };
    for (const FlagCase &c : cases)
        EXPECT_EQ(c.expected, IsBackdropHidden(c.value)) << "value '" << c.value << "'";
}

} // namespace
