// The event-name field and the folder picker.
#include "fixtures/scriptedprompter.h"
#include "fixtures/tempdir.h"
#include "widgets/eventname.h"
#include "widgets/folderselectdlg.h"
#include "widgets/qtprompter.h"

#include <QApplication>
#include <QFileDialog>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <filesystem>

// The space bar shows "Invalid Character." and the space is still typed; other
// keys say nothing.
TEST(EventName, SpaceShowsItsNoticeAndStillReachesTheField)
{
    CScriptedPrompter prompter;
    CEventName edit;
    edit.show();
    edit.setFocus();
    QTest::keyClicks(&edit, "Gate");
    EXPECT_TRUE(prompter.Asks().empty());
    QTest::keyClick(&edit, Qt::Key_Space);
    QTest::keyClicks(&edit, "1.");
    EXPECT_EQ(prompter.ConfirmModes(), std::vector<int> {23});
    EXPECT_EQ(edit.text(), QString("Gate 1."));
    EXPECT_FALSE(edit.testAttribute(Qt::WA_InputMethodEnabled));
}

TEST(FolderSelectDlg, ChosenFolderAndCancelAreTheCallersAnswers)
{
    CScriptedPrompter prompter;
    CFolderSelectDlg picker(1, "EVENT FOLDER", CFolderSelectDlg::SF_DESKTOP);
    prompter.AnswerFolder(std::nullopt);
    EXPECT_EQ(picker.BrowseFrom("/srv/start"), CFolderSelectDlg::RESULT_CANCELLED);
    EXPECT_TRUE(picker.GetResult(CFolderSelectDlg::WHICH_PATH).isEmpty());

    prompter.AnswerFolder("/srv/pictures/\xE3\x82\xA4\xE3\x83\x99");
    EXPECT_EQ(picker.Browse(), CFolderSelectDlg::RESULT_CHOSEN);
    EXPECT_EQ(picker.GetResult(CFolderSelectDlg::WHICH_PATH), QString::fromUtf8("/srv/pictures/イベ"));
    EXPECT_EQ(picker.GetResult(CFolderSelectDlg::WHICH_DISPLAY_NAME), QString::fromUtf8("イベ"));
    // Into a buffer: never past its length, never a character cut in two.
    char szBuffer[20] = {};
    EXPECT_EQ(picker.GetResult(szBuffer, 15, CFolderSelectDlg::WHICH_PATH), 14);
    EXPECT_STREQ(szBuffer, "/srv/pictures/");
    EXPECT_EQ(picker.GetResult(szBuffer, 19, CFolderSelectDlg::WHICH_DISPLAY_NAME), 6);

    ASSERT_EQ(prompter.Asks().size(), 2u);
    EXPECT_EQ(prompter.Asks()[0].strText, "EVENT FOLDER");
    EXPECT_EQ(prompter.Asks()[0].strStart, "/srv/start");
    EXPECT_EQ(prompter.Asks()[1].strStart, "");
}

TEST(FolderSelectDlg, SpecialFolderCodeThatNamesNoFolderFailsWithoutAPicker)
{
    CScriptedPrompter prompter;
    CFolderSelectDlg picker;
    EXPECT_EQ(picker.BrowseFromSpecial(0x7777), CFolderSelectDlg::RESULT_NO_FOLDER);
    CFolderSelectDlg rooted(1, "T", 0x7777);
    EXPECT_EQ(rooted.Browse(), CFolderSelectDlg::RESULT_NO_FOLDER);
    EXPECT_TRUE(prompter.Asks().empty());
    EXPECT_EQ(picker.BrowseFromSpecial(CFolderSelectDlg::SF_PROFILE), CFolderSelectDlg::RESULT_CANCELLED);
    ASSERT_EQ(prompter.Asks().size(), 1u);
    EXPECT_EQ(QString::fromStdString(prompter.Asks()[0].strStart), QDir::homePath());
}

// The program's picker: the toolkit's own dialog, folders only, read-only,
// opening where it is asked to; it answers the folder accepted, or nothing.
TEST(QtFolderPicker, ChoosesFoldersOnlyAndChangesNothing)
{
    CTempDir dir;
    std::filesystem::create_directories(dir / "start/inner");
    CQtPrompter prompter;
    CPrompter* pPrevious = SetPrompter(&prompter);
    bool bChecked = false;
    for (const bool bAccept : {true, false}) {
        QTimer::singleShot(0, [&] {
            auto* pDlg = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(pDlg, nullptr);
            EXPECT_EQ(pDlg->windowTitle(), QString("BACKUP RECORDING FOLDER"));
            EXPECT_TRUE(pDlg->testOption(QFileDialog::DontUseNativeDialog));
            EXPECT_TRUE(pDlg->testOption(QFileDialog::ReadOnly));
            EXPECT_TRUE(pDlg->testOption(QFileDialog::ShowDirsOnly));
            EXPECT_EQ(pDlg->fileMode(), QFileDialog::Directory);
            EXPECT_EQ(pDlg->directory().absolutePath(), QString::fromStdString(dir / "start"));
            bChecked = true;
            if (bAccept) {
                pDlg->selectFile(QString::fromStdString(dir / "start/inner"));
                static_cast<QDialog*>(pDlg)->accept();
            } else {
                pDlg->reject();
            }
        });
        const auto chosen = GetPrompter().ChooseFolder("BACKUP RECORDING FOLDER", dir / "start");
        EXPECT_TRUE(bChecked);
        if (bAccept)
            EXPECT_EQ(chosen, std::optional<std::string>(dir / "start/inner"));
        else
            EXPECT_EQ(chosen, std::nullopt);
    }
    SetPrompter(pPrevious);
}
