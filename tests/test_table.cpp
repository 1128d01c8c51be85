#include <stdio.h>
#include <string.h>

#include <initializer_list>
#include <string>

#include "scores/scores.h"
#include "tests/harness.h"

using namespace harness;

// The table as "name:level" entries, lowest first, so a whole table
// compares in one expectation.
static std::string table()
{
    std::string out;
    for (int i = 0; i < 5; i++) {
        std::string name(players[i], strnlen(players[i], sizeof players[i]));
        for (char &c : name)
            if (c == '\n')
                c = '|';
        out += name + ":" + std::to_string(playersi[i]) + (i < 4 ? " " : "");
    }
    return out;
}

static void set_levels(std::initializer_list<int> levels)
{
    int i = 0;
    for (int level : levels) {
        snprintf(players[i], sizeof players[i], "p%d", i);
        playersi[i++] = level;
    }
}

static const char defaults[] = "NOonE|:0 NOonE|:0 NOonE|:0 NOonE|:0 NOonE|:0";

class HighScoreFile : public GameTest {};

TEST_F(HighScoreFile, MissingFileGivesDefaultTable)
{
    set_levels({7, 7, 7, 7, 7});
    EXPECT_EQ(loadh(), 0);
    EXPECT_EQ(table(), defaults);
}

TEST_F(HighScoreFile, EmptyFileGivesDefaultTable)
{
    write_file("highscores", "");
    loadh();
    EXPECT_EQ(table(), defaults);
}

TEST_F(HighScoreFile, ShortFileFillsTheRestWithDefaults)
{
    write_file("highscores", "ann\n5\nbob\n");
    playersi[3] = 9;  // an entry with no name line keeps its level
    loadh();
    EXPECT_EQ(table(), "ann|:5 bob|:0 NOonE|:0 NOonE|:9 NOonE|:0");
}

TEST_F(HighScoreFile, LevelLinesAreReadAsAtoiDoes)
{
    write_file("highscores", "a\n 7\nb\n12abc\nc\nabc\nd\n\ne\n-1\n");
    loadh();
    EXPECT_EQ(table(), "a|:7 b|:12 c|:0 d|:0 e|:-1");
}

TEST_F(HighScoreFile, NameLineOver18CharactersShiftsTheLaterRecords)
{
    write_file("highscores",
               "AAAAAAAAAAAAAAAAAA\n1\n"   // 18 characters: fits with its newline
               "BBBBBBBBBBBBBBBBBBBxyz\n2\n"  // 22: the rest is read as the level
               "c\n3\nd\n4\ne\n5\n");
    loadh();
    EXPECT_EQ(table(), "AAAAAAAAAAAAAAAAAA|:1 BBBBBBBBBBBBBBBBBBB:0 2|:0 3|:0 4|:0");
}

TEST_F(HighScoreFile, SaveWritesFiveRecordsAndLevelsOutOfRangeRoundTrip)
{
    const char file[] = "ann\n1\nbob\n-1\nNOonE\n13\nd\n2147483647\nSSSSSSSSSSSSSSSSSS\n12\n";
    write_file("highscores", file);
    loadh();
    capture_stdout();
    EXPECT_EQ(saveh(), 0);
    captured_stdout();
    EXPECT_EQ(read_file("highscores"), file);
    EXPECT_EQ(table(), "ann:1 bob:-1 NOonE:13 d:2147483647 SSSSSSSSSSSSSSSSSS:12");
    EXPECT_FALSE(file_exists("highscores.tmp"));
}

TEST_F(HighScoreFile, SaveOfDefaultTableWritesTenLinesAndAHundredTraceLines)
{
    loadh();
    snprintf(players[2], sizeof players[2], "ann");
    memcpy(players[3], "bob\n", 5);
    capture_stdout();
    saveh();
    std::string out = captured_stdout();
    std::string expected;
    for (int i = 0; i < 5; i++) {
        std::string name = i == 2 ? "ann" : i == 3 ? "bob" : "NOonE";
        size_t newline_at = i == 2 ? 0 : name.size();  // bytes traced before the cut
        for (size_t j = 0; j < 20; j++)
            expected += "Zenobar: players " + name + (j < newline_at ? "\n\n" : "\n");
    }
    EXPECT_EQ(out, expected);
    EXPECT_EQ(read_file("highscores"), "NOonE\n0\nNOonE\n0\nann\n0\nbob\n0\nNOonE\n0\n");
}

class HighScoreTable : public GameTest {};

TEST_F(HighScoreTable, NewResultOnDefaultTableGoesToTheTopEvenAtLevelZero)
{
    loadh();
    insert_score("ann", 3);
    EXPECT_EQ(table(), "NOonE:0 NOonE:0 NOonE:0 NOonE:0 ann:3");
    loadh();
    insert_score("bob", 0);
    EXPECT_EQ(table(), "NOonE:0 NOonE:0 NOonE:0 NOonE:0 bob:0");
}

TEST_F(HighScoreTable, TiesRankTheNewestHighest)
{
    set_levels({1, 2, 3, 4, 5});
    insert_score("new", 3);
    EXPECT_EQ(table(), "p1:2 p2:3 new:3 p3:4 p4:5");
    insert_score("top", 5);
    EXPECT_EQ(table(), "p2:3 new:3 p3:4 p4:5 top:5");
}

TEST_F(HighScoreTable, ResultBelowEveryEntryLeavesTheTableUnchanged)
{
    set_levels({1, 2, 3, 4, 5});
    insert_score("low", 0);
    EXPECT_EQ(table(), "p0:1 p1:2 p2:3 p3:4 p4:5");
}

TEST_F(HighScoreTable, LevelsOutOfOrderFollowTheSameSteps)
{
    set_levels({5, 1, 2, 3, 4});
    insert_score("new", 3);  // climbs from entry 1: the 5 in entry 0 is dropped
    EXPECT_EQ(table(), "p1:1 p2:2 p3:3 new:3 p4:4");
    set_levels({0, 9, 1, 2, 3});
    insert_score("new", 5);  // replaces entry 0, then stops at the 9
    EXPECT_EQ(table(), "new:5 p1:9 p2:1 p3:2 p4:3");
}

TEST_F(HighScoreTable, InsertCutsNewlinesAndKeepsNamesInsideTheirEntries)
{
    write_file("highscores", "a\n1\nb\n2\nc\n3\nd\n4\ne\n5\n");
    loadh();
    insert_score("abcdefghijklmnopqrstuvwxyz", 2);
    EXPECT_EQ(table(), "b:2 abcdefghijklmnopqrs:2 c:3 d:4 e:5");
    insert_score("", 12);
    EXPECT_EQ(table(), "abcdefghijklmnopqrs:2 c:3 d:4 e:5 :12");
}
