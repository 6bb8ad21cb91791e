#include "framework/core/SysUtils.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

TEST(SysUtilsTest, FormatConversionsFlagsAndWidths)
{
    EXPECT_EQ(Format("%d bpm", 120), "120 bpm");
    EXPECT_EQ(Format("[%5d|%-5d|%05d]", 42, 42, -42), "[   42|42   |-0042]");
    EXPECT_EQ(Format("%x %X %.4x", 255, 255u, 10), "ff FF 000a");
    EXPECT_EQ(Format("%x", -1), "ffffffff");
    EXPECT_EQ(Format("%u", uint64_t(18446744073709551615ull)), "18446744073709551615");
    EXPECT_EQ(Format("%d", int64_t(INT64_MIN)), "-9223372036854775808");
    EXPECT_EQ(Format("Impossible d'écrire dans %s", std::string("/tmp/a.ini")),
        "Impossible d'écrire dans /tmp/a.ini");
    EXPECT_EQ(Format("%.2f|%8.3f|%.0f", 3.14159, -2.5, 2.5), "3.14|  -2.500|2");
    EXPECT_EQ(Format("%c%c%%", 'o', 'k'), "ok%");
    EXPECT_EQ(Format("%.3s", "abcdef"), "abc");
}

TEST(SysUtilsTest, FormatRefusesMissingAndMismatchedArguments)
{
    EXPECT_THROW(Format("%d %d", 1), EConvertError);
    EXPECT_THROW(Format("%d", "text"), EConvertError);
    EXPECT_THROW(Format("%s", 5), EConvertError);
    EXPECT_THROW(Format("%n", 5), EConvertError);
    EXPECT_THROW(Format("100%"), EConvertError);
    // Surplus arguments are ignored.
    EXPECT_EQ(Format("x", 1, 2), "x");
}

TEST(SysUtilsTest, IntegerTextBothWays)
{
    EXPECT_EQ(IntToStr(-500), "-500");
    EXPECT_EQ(IntToHex(255, 4), "00FF");
    EXPECT_EQ(StrToInt("96"), 96);
    EXPECT_EQ(StrToInt("-96"), -96);
    EXPECT_EQ(StrToInt("+7"), 7);
    EXPECT_EQ(StrToInt("$60"), 96);
    EXPECT_EQ(StrToInt("0x60"), 96);
    EXPECT_EQ(StrToInt("  12"), 12);
    EXPECT_EQ(StrToInt("2147483647"), INT32_MAX);
    EXPECT_EQ(StrToInt("-2147483648"), INT32_MIN);
    EXPECT_THROW(StrToInt("2147483648"), EConvertError);
    EXPECT_THROW(StrToInt("$80000000"), EConvertError);
    EXPECT_THROW(StrToInt("12 "), EConvertError);
    EXPECT_THROW(StrToInt(""), EConvertError);
    EXPECT_THROW(StrToInt("$"), EConvertError);
    EXPECT_THROW(StrToInt("99999999999999999999999"), EConvertError);
    EXPECT_EQ(StrToIntDef("fast", 120), 120);
    int32_t v = 5;
    EXPECT_FALSE(TryStrToInt("1.5", v));
    EXPECT_EQ(v, 5);
    EXPECT_TRUE(TryStrToInt("$7fffffff", v));
    EXPECT_EQ(v, INT32_MAX);
    try {
        StrToInt("abc");
        ADD_FAILURE();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "'abc' is not a valid integer value");
    }
}

TEST(SysUtilsTest, FloatFormatting)
{
    EXPECT_EQ(FloatToStrF(3.14159, ffFixed, 15, 2), "3.14");
    EXPECT_EQ(FloatToStrF(-0.004, ffFixed, 15, 2), "0.00");
    EXPECT_EQ(FloatToStrF(2.5, ffFixed, 15, 0), "3");   // half away from zero
    EXPECT_EQ(FloatToStrF(-2.5, ffFixed, 15, 0), "-3");
    EXPECT_EQ(FloatToStrF(0.125, ffFixed, 15, 2), "0.13");
    EXPECT_EQ(FloatToStrF(9.996, ffFixed, 15, 2), "10.00");
    EXPECT_EQ(FloatToStrF(0.0004, ffFixed, 15, 3), "0.000");
    EXPECT_EQ(FloatToStrF(0.0305, ffFixed, 15, 3), "0.031");
    EXPECT_EQ(FloatToStrF(0, ffFixed, 15, 2), "0.00");
    EXPECT_EQ(FloatToStrF(1234567.891, ffNumber, 15, 1), "1,234,567.9");
    EXPECT_EQ(FloatToStrF(1e20, ffFixed, 15, 2), "1.00000000000000E+20");
    EXPECT_EQ(FloatToStrF(0.5, ffGeneral, 15, 0), "0.5");
    EXPECT_EQ(FloatToStrF(120, ffGeneral, 15, 0), "120");
    EXPECT_EQ(FloatToStrF(1.0 / 3, ffGeneral, 4, 0), "0.3333");
    EXPECT_EQ(FloatToStrF(123456, ffGeneral, 3, 0), "1.23E+5");
    EXPECT_EQ(FloatToStrF(0.00001, ffGeneral, 15, 0), "1E-5");
    EXPECT_EQ(FloatToStrF(1.5, ffExponent, 3, 2), "1.50E+00");
    EXPECT_EQ(FloatToStr(0.1), "0.1");
    char old = DecimalSeparator;
    DecimalSeparator = ',';
    EXPECT_EQ(FloatToStrF(3.5, ffFixed, 15, 1), "3,5");
    EXPECT_EQ(FloatToStr(3.25), "3,25");
    EXPECT_DOUBLE_EQ(StrToFloat("2,5"), 2.5);
    EXPECT_THROW(StrToFloat("2.5"), EConvertError);
    DecimalSeparator = old;
    EXPECT_DOUBLE_EQ(StrToFloat(" 2.5 "), 2.5);
    EXPECT_THROW(StrToFloat("nan"), EConvertError);
}

TEST(SysUtilsTest, CaseAndBlanks)
{
    EXPECT_EQ(UpperCase("Form.Position é"), "FORM.POSITION é");
    EXPECT_EQ(LowerCase("TEMPO"), "tempo");
    EXPECT_TRUE(SameText("Config", "CONFIG"));
    EXPECT_FALSE(SameText("Config", "Configs"));
    EXPECT_LT(CompareText("abc", "ABD"), 0);
    EXPECT_EQ(Trim(" \t x y \r\n"), "x y");
    EXPECT_EQ(Trim("   "), "");
    EXPECT_TRUE(IsValidIdent("_a1"));
    EXPECT_FALSE(IsValidIdent("a.b"));
}

TEST(SysUtilsTest, FileNameParts)
{
    EXPECT_EQ(ChangeFileExt("/opt/app/build/bin/metronome", ".ini"), "/opt/app/build/bin/metronome.ini");
    EXPECT_EQ(ChangeFileExt("/opt/v1.2/metronome", ".ini"), "/opt/v1.2/metronome.ini");
    EXPECT_EQ(ChangeFileExt("/apps/Tick.exe", ".ini"), "/apps/Tick.ini");
    EXPECT_EQ(ChangeFileExt("a.tar.gz", ""), "a.tar");
    EXPECT_EQ(ExtractFilePath("/apps/Tick.exe"), "/apps/");
    EXPECT_EQ(ExtractFilePath("Tick.exe"), "");
    EXPECT_EQ(ExtractFileName("/apps/Tick.exe"), "Tick.exe");
    EXPECT_EQ(ExtractFileExt("/apps/Tick.exe"), ".exe");
    EXPECT_EQ(ExtractFileExt("/ap.ps/Tick"), "");
    EXPECT_EQ(ExpandFileName("/a/./b/../c"), "/a/c");
}

TEST(SysUtilsTest, FileExistsAndEnvironment)
{
    auto path = std::filesystem::temp_directory_path() / "sysutils-file-exists.txt";
    std::ofstream(path) << "x";
    EXPECT_TRUE(FileExists(path.string()));
    EXPECT_FALSE(FileExists(path.parent_path().string()));   // a directory is not a file
    std::filesystem::remove(path);
    EXPECT_FALSE(FileExists(path.string()));
    EXPECT_FALSE(FileExists(""));
    ::setenv("SYSUTILS_TEST_VAR", "value", 1);
    EXPECT_EQ(GetEnvironmentVariable("SYSUTILS_TEST_VAR"), "value");
    EXPECT_EQ(GetEnvironmentVariable("SYSUTILS_TEST_UNSET_VAR"), "");
}

TEST(SysUtilsTest, ExceptionsCarryTheirMessage)
{
    try {
        throw EReadError("Line 3: x");
    } catch (const EStreamError& e) {   // a read error is a stream error
        EXPECT_EQ(e.Message(), "Line 3: x");
        EXPECT_STREQ(e.what(), "Line 3: x");
    }
    const Exception& base = EIniFileException("m");
    EXPECT_EQ(base.message(), "m");
}

} // namespace
