#include "lighting/ColourDialog.h"
#include "lighting/CpiLevels.h"

#include <gtest/gtest.h>

using namespace orb;

TEST(ColourDialog, ConfirmWithAndWithoutAChoice)
{
    CpiLevels levels;
    levels.SetNamedColour(4, 0);
    ColourDialogState dialog;
    dialog.Open(4);
    EXPECT_EQ(dialog.ColourChoice(), NoColourChoice);
    EXPECT_EQ(dialog.Confirm(), std::nullopt); // nothing chosen: nothing changes
    dialog.ClickCell(3);
    EXPECT_EQ(dialog.MarkPicture(3), "CbS_E");
    EXPECT_EQ(dialog.MarkPicture(1), "CbS_D");
    const auto pick = dialog.Confirm();
    ASSERT_TRUE(pick.has_value());
    levels.ApplyNamedChoice(pick->first, pick->second);
    EXPECT_EQ(levels.NamedColour(4), 2); // yellow
    EXPECT_EQ(levels.Swatch(4), QColor(255, 255, 0));
}

TEST(ColourDialog, CancelClearsAndReopeningRetargets)
{
    ColourDialogState dialog;
    dialog.Open(2);
    dialog.ClickCell(7);
    dialog.Cancel();
    EXPECT_EQ(dialog.ColourChoice(), NoColourChoice);
    EXPECT_EQ(dialog.MarkPicture(7), "CbS_D");
    dialog.ClickCell(1);
    dialog.Open(5); // a second colour cell while the dialog is visible
    EXPECT_EQ(dialog.ColourTarget(), 5);
    EXPECT_EQ(dialog.ColourChoice(), NoColourChoice);
    dialog.ClickCell(8); // no such cell
    EXPECT_EQ(dialog.Confirm(), std::nullopt);
}

TEST(ColourDialog, CellsAndMarksStandInARow)
{
    const QSize frame(32, 40);
    EXPECT_EQ(ColourCellRect(1, QPoint(60, 68), frame), QRect(60, 68, 32, 40));
    EXPECT_EQ(ColourCellRect(2, QPoint(60, 68), frame), QRect(112, 68, 32, 40));
    EXPECT_EQ(ColourCellRect(7, QPoint(60, 68), frame).left(), 60 + 6 * 52);
    EXPECT_EQ(ColourMarkPos(QRect(60, 68, 32, 40), QSize(16, 16)), QPoint(68, 116));
}
