#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/InstructionHistory.h"

namespace tessaly {
namespace {

TEST(InstructionHistory, RepeatedTrackedTextReadsAsSeparateLines) {
    InstructionHistory history;
    TrackedText text;
    text = std::string_view("NOP\t");
    for (int i = 0; i < 3; ++i) history.Append(text);
    text = std::string_view("INC\tA");
    history.Append(text);
    text = std::string_view("NOP\t");  // the same words again, newly decoded
    history.Append(text);
    history.Append(text);
    ASSERT_EQ(history.Count(), 6u);
    EXPECT_EQ(history.Lines(), (std::vector<std::string>{"NOP\t", "NOP\t", "NOP\t", "INC\tA", "NOP\t", "NOP\t"}));
    EXPECT_EQ(history[3], "INC\tA");
    EXPECT_EQ(history[0], "NOP\t");  // reading backwards after forwards
    EXPECT_EQ(history[5], "NOP\t");
    EXPECT_EQ(history.Last(), "NOP\t");
    EXPECT_EQ(history.Text(), "NOP\t\r\nNOP\t\r\nNOP\t\r\nINC\tA\r\nNOP\t\r\nNOP\t\r\n");
}

TEST(InstructionHistory, PlainAndTrackedAppendsMix) {
    InstructionHistory history;
    TrackedText text;
    text = std::string_view("A");
    history.Append(text);
    history.Append("B");
    history.Append(text);  // must not extend the plain "B" run
    history.Append("B");
    EXPECT_EQ(history.Lines(), (std::vector<std::string>{"A", "B", "A", "B"}));
}

TEST(InstructionHistory, Clear) {
    InstructionHistory history;
    TrackedText text;
    text = std::string_view("X");
    history.Append(text);
    history.Append(text);
    EXPECT_EQ(history.Lines(), (std::vector<std::string>{"X", "X"}));
    history.Clear();
    EXPECT_TRUE(history.Empty());
    EXPECT_EQ(history.Text(), "");
}

TEST(InstructionHistory, SetTextAndEquality) {
    InstructionHistory a, b;
    a.SetText("MOV\tA,R0\r\nMOV\tA,R0\nNOP\t\r\n");
    EXPECT_EQ(a.Lines(), (std::vector<std::string>{"MOV\tA,R0", "MOV\tA,R0", "NOP\t"}));
    b.Append("MOV\tA,R0");
    b.Append("MOV\tA,R0");
    EXPECT_FALSE(a == b);
    b.Append("NOP\t");
    EXPECT_TRUE(a == b);
    a.SetText("");
    EXPECT_TRUE(a.Empty());
}

TEST(InstructionHistory, ManyDistinctTextsSurviveAClear) {
    InstructionHistory history;
    TrackedText text;
    for (int i = 0; i < 5000; ++i) {
        text = std::to_string(i);
        history.Append(text);
    }
    EXPECT_EQ(history[4321], "4321");
    history.Clear();
    history.Append(text);
    history.Append(text);
    EXPECT_EQ(history.Lines(), (std::vector<std::string>{"4999", "4999"}));
}

// Random appends (tracked, plain, repeated) and clears against a plain vector
// of lines, reading single lines in every order in between.
TEST(InstructionHistory, BehavesLikeAListOfLines) {
    std::mt19937 random(20261207);
    const std::vector<std::string> texts = {"NOP\t", "INC\tA", "SJMP\t00000H", "MOV\tA,R0"};
    InstructionHistory history;
    std::vector<std::string> model;
    TrackedText tracked;
    for (int step = 0; step < 20000; ++step) {
        const unsigned action = random() % 100;
        const std::string& text = texts[random() % texts.size()];
        if (action < 50) {
            history.Append(tracked);
            model.push_back(tracked.str());
        } else if (action < 60) {
            tracked = std::string_view(text);
        } else if (action < 75) {
            history.Append(std::string_view(text));
            model.push_back(text);
        } else if (action < 76) {
            history.Clear();
            model.clear();
        } else {
            ASSERT_EQ(history.Lines(), model) << "step " << step;
        }
        ASSERT_EQ(history.Count(), model.size()) << "step " << step;
        if (!model.empty()) {
            const std::size_t index = random() % model.size();
            ASSERT_EQ(history[index], model[index]) << "step " << step;
            ASSERT_EQ(history.Last(), model.back()) << "step " << step;
        }
    }
    std::string text;
    for (const std::string& line : model) text += line + "\r\n";
    EXPECT_EQ(history.Text(), text);
}

}  // namespace
}  // namespace tessaly
