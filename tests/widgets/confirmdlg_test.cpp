#include "widgets/confirmdlg.h"
#include "widgets/qtprompter.h"
#include "widgets/waitcursor.h"
#include "fixtures/waitrecorder.h"
#include "platform/stringtable.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

QPushButton* Button(CConfirmDlg& dlg, int nId)
{
    return dlg.findChild<QPushButton*>(QStringLiteral("id%1").arg(nId));
}

QLabel* Label(CConfirmDlg& dlg, int nId)
{
    return dlg.findChild<QLabel*>(QStringLiteral("id%1").arg(nId));
}

// Runs the dialog modally; fnInside acts on it once it is up.
int RunDialog(CConfirmDlg& dlg, const std::function<void()>& fnInside)
{
    QTimer::singleShot(0, &dlg, fnInside);
    return dlg.exec();
}

} // namespace

TEST(ConfirmDlg, EveryModeShowsItsTextKindPictureAndButtons)
{
    CStringTable::SetLanguage(Language::English);
    struct Case {
        int nMode;
        const char* pszText;
        bool bQuestion;
        bool bInformation;
        const char* pszYes;
    } cases[] = {
        {0, "\n\nTo change Menu Settings, current recording will be stopped \n and DVR turned off. OK?", true, false, "OK"},
        {4, "\n\n\nSettings complete.\n", false, true, nullptr},
        {8, "Network disconnected. \nReconnect it?\n\nPressing [Cancel] terminates the application program.\n\n", true, false, "Reconnect"},
        {12, "\n\nInvalid Port Value", false, false, nullptr},
        {16, "\n\nThere is an error in search option.", false, false, nullptr},
        {24, "\n\nInvalid Event Name..... \n\nSpace Character Not Allowed For Event Name....", false, false, nullptr},
        {26, "Network disconnected. again \nReconnect it?\n\nPressing [Cancel] terminates the application program.\n\n", true, false, "Reconnect"},
        {28, "\n\nThis will delete the selected event.\n\nDo you want to proceed?", true, false, "OK"},
        {39, "\n\nPlease Specify Recording Image Count.", false, false, nullptr},
    };
    for (const Case& c : cases) {
        CConfirmDlg dlg(c.nMode);
        dlg.show();
        SCOPED_TRACE(c.nMode);
        EXPECT_EQ(dlg.GetText(), QString::fromUtf8(c.pszText));
        EXPECT_EQ(Label(dlg, 1510)->text(), QString::fromUtf8(c.pszText));
        EXPECT_EQ(Button(dlg, 1511)->isVisible(), c.bQuestion);
        EXPECT_EQ(Button(dlg, 1159)->isVisible(), c.bQuestion);
        EXPECT_EQ(Button(dlg, 1128)->isVisible(), !c.bQuestion);
        EXPECT_EQ(Label(dlg, 1673)->isVisible(), c.bInformation);
        EXPECT_EQ(Label(dlg, 1672)->isVisible(), !c.bInformation);
        EXPECT_EQ(dlg.windowTitle(), c.bInformation ? QString("INFORMATION") : QString("Warning"));
        if (c.pszYes) {
            EXPECT_EQ(Button(dlg, 1511)->text(), QString(c.pszYes));
        }
        EXPECT_EQ(Button(dlg, 1159)->text(), QString("Cancel"));
    }
    // Every assigned mode has a text; the unassigned ones have none.
    for (int nMode = 0; nMode <= 39; ++nMode) {
        const bool bUnassigned = nMode == 1 || nMode == 7 || nMode == 10 || nMode == 13 || nMode == 21 || nMode == 36;
        CConfirmDlg dlg(nMode);
        EXPECT_EQ(dlg.GetText().isEmpty(), bUnassigned) << nMode;
    }
}

TEST(ConfirmDlg, ButtonsGiveTheirResultsAndReconnectPauses)
{
    struct Case {
        int nMode;
        int nButton;
        int nResult;
        std::vector<int> waits;
    } cases[] = {
        {8, 1511, 1, {100}},
        {26, 1511, 1, {}},
        {8, 1159, 0, {}},
        {28, 1159, 0, {}},
        {22, 1128, 1, {}},
    };
    for (const Case& c : cases) {
        CWaitRecorder waits;
        CConfirmDlg dlg(c.nMode);
        const int nResult = RunDialog(dlg, [&] { QTest::mouseClick(Button(dlg, c.nButton), Qt::LeftButton); });
        EXPECT_EQ(nResult, c.nResult) << c.nMode;
        EXPECT_EQ(waits.Waits(), c.waits) << c.nMode;
    }
}

TEST(ConfirmDlg, EnterEscapeAndTheCloseBoxLeaveItOpen)
{
    for (int nMode : {8, 22}) {
        CConfirmDlg dlg(nMode);
        bool bStillOpen = false;
        const int nResult = RunDialog(dlg, [&] {
            QWidget* pFocus = dlg.focusWidget() ? dlg.focusWidget() : &dlg;
            QTest::keyClick(pFocus, Qt::Key_Return);
            QTest::keyClick(pFocus, Qt::Key_Enter);
            QTest::keyClick(pFocus, Qt::Key_Escape);
            dlg.close();
            bStillOpen = dlg.isVisible();
            QTest::mouseClick(Button(dlg, nMode == 8 ? 1159 : 1128), Qt::LeftButton);
        });
        EXPECT_TRUE(bStillOpen) << nMode;
        EXPECT_EQ(nResult, nMode == 8 ? 0 : 1);
    }
}

TEST(ConfirmDlg, JapaneseCaptions)
{
    CStringTable::SetLanguage(Language::Japanese);
    CConfirmDlg dlg(8);
    EXPECT_EQ(dlg.GetText(), QString::fromUtf8(CStringTable::Load(284).data()));
    EXPECT_NE(dlg.windowTitle(), QString("Warning"));
    EXPECT_EQ(Button(dlg, 1511)->text(), QString::fromUtf8(CStringTable::Load(301).data()));
    CStringTable::SetLanguage(Language::English);
}

// The real prompter shows its dialogs without the busy cursor of the call that
// asks, and gives the cursor back afterwards.
TEST(QtPrompter, QuestionsShowWithoutTheBusyCursor)
{
    CQtPrompter prompter;
    CWaitCursor wait;
    bool bBusyInside = true;
    QTimer::singleShot(0, [&] {
        bBusyInside = QApplication::overrideCursor() != nullptr;
        auto* pDlg = qobject_cast<CConfirmDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(pDlg, nullptr);
        QTest::mouseClick(Button(*pDlg, 1128), Qt::LeftButton);
    });
    EXPECT_EQ(prompter.Confirm(22), 1);
    EXPECT_FALSE(bBusyInside);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
}
