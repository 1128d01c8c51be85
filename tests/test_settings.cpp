#include "shell/shell.h"
#include "tests/harness.h"

using namespace harness;

class Settings : public GameTest {};

TEST_F(Settings, MissingFileKeepsDefaultsAndSaveCreatesIt)
{
    EXPECT_EQ(loadc(), 0);
    EXPECT_EQ(fullscreen, 0);
    EXPECT_EQ(music, 0);
    EXPECT_FALSE(file_exists("config"));
    EXPECT_EQ(savec(), 0);
    EXPECT_EQ(read_file("config"), "0 0\n");
    EXPECT_FALSE(file_exists("config.tmp"));
}

TEST_F(Settings, OnlyOneNumberSetsFullScreenAlone)
{
    write_file("config", "1");
    loadc();
    EXPECT_EQ(fullscreen, 1);
    EXPECT_EQ(music, 0);
}

TEST_F(Settings, NumbersMayBeSeparatedByAnyWhiteSpace)
{
    write_file("config", "  1\n\n\t-1 trailing words\n");
    loadc();
    EXPECT_EQ(fullscreen, 1);
    EXPECT_EQ(music, -1);
}

TEST_F(Settings, ReadThatFindsNoNumberLeavesThatAndLaterSettings)
{
    fullscreen = 0;
    music = -1;
    write_file("config", "on 1\n");
    loadc();
    EXPECT_EQ(fullscreen, 0);
    EXPECT_EQ(music, -1);

    write_file("config", "1 loud\n");
    loadc();
    EXPECT_EQ(fullscreen, 1);
    EXPECT_EQ(music, -1);
}

TEST_F(Settings, OutOfRangeValuesAreWrittenBackUnchanged)
{
    write_file("config", "2 7\n");
    loadc();
    EXPECT_EQ(fullscreen, 2);
    EXPECT_EQ(music, 7);
    savec();
    EXPECT_EQ(read_file("config"), "2 7\n");

    fullscreen = 1;
    music = -1;
    savec();
    EXPECT_EQ(read_file("config"), "1 -1\n");

    write_file("config", "-2147483648 2147483647\n");
    loadc();
    savec();
    EXPECT_EQ(read_file("config"), "-2147483648 2147483647\n");
}
