// The edit control's text model: double-byte characters stay whole through every operation.
#include <gtest/gtest.h>

#include "platform/window/EditModel.h"
#include "tests/support/AnsiText.h"

namespace ostrana::detail {
namespace {

using ostrana::test::Ansi;

TEST(EditModel, CaretMovesAndDeletionsKeepDoubleByteCharactersWhole) {
    EditModel model;
    model.SetText(Ansi("a한b글"));
    model.Move(CaretMove::DocumentEnd, false);
    EXPECT_EQ(6u, model.Caret());
    model.Move(CaretMove::Left, false);
    EXPECT_EQ(4u, model.Caret());
    model.Move(CaretMove::Left, false);
    EXPECT_EQ(3u, model.Caret());
    model.Move(CaretMove::Left, true);
    EXPECT_EQ((std::pair<std::size_t, std::size_t>{1, 3}), model.Selection());
    EXPECT_TRUE(model.Backspace());
    EXPECT_EQ(Ansi("ab글"), model.Text());
    model.Move(CaretMove::End, false);
    EXPECT_TRUE(model.Backspace());
    EXPECT_EQ("ab", model.Text());
    model.Move(CaretMove::Home, false);
    EXPECT_TRUE(model.DeleteForward());
    EXPECT_EQ("b", model.Text());
    model.Move(CaretMove::End, false);
    EXPECT_FALSE(model.DeleteForward());
}

TEST(EditModel, SelectionSnapsToCharacterStartsAndMinusOneMeansAll) {
    EditModel model;
    model.SetText(Ansi("가나다"));
    model.Select(1, 5); // inside 가 and inside 다
    EXPECT_EQ((std::pair<std::size_t, std::size_t>{0, 4}), model.Selection());
    model.Select(0, -1);
    EXPECT_EQ((std::pair<std::size_t, std::size_t>{0, 6}), model.Selection());
    model.Select(-1, 0);
    EXPECT_EQ(model.Selection().first, model.Selection().second);
    EXPECT_EQ(6u, model.Caret());
}

TEST(EditModel, TheLimitNeverSplitsADoubleByteCharacter) {
    EditModel model;
    model.SetLimit(4);
    EXPECT_TRUE(model.ReplaceSelection(Ansi("a가나")));
    EXPECT_EQ(Ansi("a가"), model.Text());
    EXPECT_FALSE(model.ReplaceSelection(Ansi("다"))); // one byte left, no room for two
    EXPECT_TRUE(model.ReplaceSelection("z"));
    EXPECT_EQ(Ansi("a가") + "z", model.Text());
    model.Select(0, -1);
    EXPECT_TRUE(model.ReplaceSelection("wxyz!"));
    EXPECT_EQ("wxyz", model.Text());
}

TEST(EditModel, MultiLineTextHasLinesAndCrLfMovesAsOne) {
    EditModel model;
    model.SetMultiline(true);
    model.SetText("one\r\ntwo\r\nthree");
    EXPECT_EQ(3u, model.LineCount());
    EXPECT_EQ(5u, model.LineIndex(1));
    EXPECT_EQ(10u, model.LineIndex(2));
    EXPECT_EQ(3u, model.LineLength(6));
    EXPECT_EQ(5u, model.LineLength(12));
    model.Select(5, 5);
    model.Move(CaretMove::Left, false);
    EXPECT_EQ(3u, model.Caret()); // before the line break, not between CR and LF
    model.Move(CaretMove::Right, false);
    EXPECT_EQ(5u, model.Caret());
    model.Select(12, 12);
    model.Move(CaretMove::Up, false);
    EXPECT_EQ(7u, model.Caret());
    model.Move(CaretMove::Up, false);
    EXPECT_EQ(2u, model.Caret());
    model.Move(CaretMove::Up, false);
    EXPECT_EQ(2u, model.Caret());
    model.Select(4, 4); // between CR and LF
    EXPECT_TRUE(model.Backspace());
}

} // namespace
} // namespace ostrana::detail
