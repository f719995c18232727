#include "addressbook/chgvxentrydlg.h"
#include "addressbook/flexgrid.h"
#include "addressbook/selvxentrydlg.h"
#include "app/vx2200net.h"
#include "fixtures/scriptedprompter.h"
#include "fixtures/tempdir.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <functional>

namespace {

class SelectionTest : public ::testing::Test {
protected:
    SelectionTest() : m_app({m_dir / "none.conf", m_dir / "prog/", m_dir / "lock"}) { m_app.LoadSettings(); }

    void Book(int nCount)
    {
        for (int i = 0; i < nCount; ++i)
            ASSERT_EQ(m_app.AddEntry("E" + std::to_string(i), "10.0." + std::to_string(i / 200) + "." + std::to_string(i % 200), 8001), 1);
    }

    static QPushButton* Button(QWidget& w, int nId) { return w.findChild<QPushButton*>(QStringLiteral("id%1").arg(nId)); }

    // Clicks button nId of dlg; fnModal (when given) acts on the modal dialog the
    // click opens. Returns whether a modal dialog opened.
    bool Click(QWidget& dlg, int nId, const std::function<void(QDialog*)>& fnModal = {})
    {
        bool bOpened = false;
        QTimer::singleShot(0, [&] {
            auto* pModal = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (pModal && pModal != &dlg) {
                bOpened = true;
                if (fnModal)
                    fnModal(pModal);
                else
                    QTest::mouseClick(Button(*pModal, 1314), Qt::LeftButton);
            }
        });
        QTest::mouseClick(Button(dlg, nId), Qt::LeftButton);
        QApplication::processEvents(); // let the timer run when nothing opened
        return bOpened;
    }

    static void FillEditor(QDialog* pEditor, const char* pszName, const char* pszIP, const char* pszPort)
    {
        auto* pDlg = static_cast<CChgVXEntryDlg*>(pEditor);
        pDlg->findChild<QLineEdit*>("id1121")->setText(pszName);
        const QStringList octets = QString(pszIP).split('.');
        const char* ids[4] = {"id1106", "id1110", "id1114", "id1118"};
        for (int i = 0; i < 4; ++i)
            pDlg->findChild<QLineEdit*>(ids[i])->setText(octets[i]);
        pDlg->findChild<QLineEdit*>("id1665")->setText(pszPort);
        QTest::mouseClick(Button(*pDlg, 1317), Qt::LeftButton);
        if (pDlg->isVisible()) // refused: leave it
            QTest::mouseClick(Button(*pDlg, 1314), Qt::LeftButton);
    }

    std::vector<QString> NamesShown(CSelVXEntryDlg& dlg) const
    {
        std::vector<QString> names;
        for (int r = 1; r <= 10; ++r)
            names.push_back(dlg.GetGrid()->GetTextAt(r, 0));
        return names;
    }

    CTempDir m_dir;
    CVX2200NETApp m_app;
    CScriptedPrompter m_prompter;
};

} // namespace

TEST_F(SelectionTest, GridShowsHeadingsAndTenRows)
{
    Book(3);
    CSelVXEntryDlg dlg;
    dlg.show();
    CFlexGrid* pGrid = dlg.GetGrid();
    EXPECT_EQ(dlg.windowTitle(), QString("DVR Connection Selection"));
    EXPECT_EQ(pGrid->rowCount(), 11);
    EXPECT_EQ(pGrid->GetTextAt(0, 0), QString("Name"));
    EXPECT_EQ(pGrid->GetTextAt(0, 1), QString("IP Address"));
    EXPECT_EQ(pGrid->GetTextAt(0, 2), QString("Port"));
    EXPECT_EQ(pGrid->columnWidth(0), 160); // 2400 twips at 96 per inch
    EXPECT_EQ(pGrid->GetTextAt(3, 0), QString("E2"));
    EXPECT_EQ(pGrid->GetTextAt(3, 1), QString("10.0.0.2"));
    EXPECT_EQ(pGrid->GetTextAt(3, 2), QString("8001"));
    EXPECT_EQ(pGrid->GetTextAt(4, 0), QString());
    EXPECT_EQ(pGrid->GetRow(), 1);
    EXPECT_FALSE(dlg.GetScrollBar()->isVisible());
}

TEST_F(SelectionTest, AddThroughTheEditorWritesTheBook)
{
    Book(1);
    CSelVXEntryDlg dlg;
    dlg.show();
    EXPECT_TRUE(Click(dlg, 1000, [](QDialog* p) { FillEditor(p, "Gate", "192.168.1.20", "8002"); }));
    ASSERT_EQ(m_app.GetEntryCount(), 2);
    EXPECT_EQ(m_app.GetEntryIP(1), "192.168.1.20");
    EXPECT_EQ(dlg.GetGrid()->GetTextAt(2, 0), QString("Gate"));
    const std::string strFile = ReadAll(m_dir / "prog/Data/entry.txt");
    EXPECT_EQ(strFile.substr(4 + 96, 5), std::string("Gate\0", 5));
    EXPECT_EQ(strFile.substr(4 + 96 + 32, 13), std::string("192.168.1.20\0", 13));
    EXPECT_EQ(strFile.substr(4 + 96 + 64, 5), std::string("8002\0", 5));

    // The same address with another port is a new recorder; the same name is not.
    EXPECT_TRUE(Click(dlg, 1000, [](QDialog* p) { FillEditor(p, "Gate 2", "192.168.1.20", "8003"); }));
    EXPECT_EQ(m_app.GetEntryCount(), 3);
    EXPECT_TRUE(Click(dlg, 1000, [](QDialog* p) { FillEditor(p, "Gate", "192.168.1.99", "8001"); }));
    EXPECT_EQ(m_app.GetEntryCount(), 3);
    EXPECT_EQ(m_prompter.ConfirmModes(), std::vector<int>{19});
}

TEST_F(SelectionTest, FullBookRefusesAddWithoutTheEditor)
{
    Book(300);
    CSelVXEntryDlg dlg;
    dlg.show();
    EXPECT_FALSE(Click(dlg, 1000));
    EXPECT_EQ(m_prompter.ConfirmModes(), std::vector<int>{35});
}

TEST_F(SelectionTest, ScrollingThroughTwentyFiveEntries)
{
    Book(25);
    CSelVXEntryDlg dlg;
    dlg.show();
    QScrollBar* pBar = dlg.GetScrollBar();
    EXPECT_TRUE(pBar->isVisible());
    EXPECT_EQ(pBar->maximum(), 15);

    struct Step {
        CSelVXEntryDlg::ScrollRequest request;
        int nPos;
        int nTop;
    } steps[] = {
        {CSelVXEntryDlg::SB_PAGEDOWN, 0, 10},
        {CSelVXEntryDlg::SB_PAGEDOWN, 0, 15},
        {CSelVXEntryDlg::SB_PAGEDOWN, 0, 15},
        {CSelVXEntryDlg::SB_LINEDOWN, 0, 15}, // pulled back at the end
        {CSelVXEntryDlg::SB_LINEUP, 0, 14},
        {CSelVXEntryDlg::SB_PAGEUP, 0, 4},
        {CSelVXEntryDlg::SB_PAGEUP, 0, 0},
        {CSelVXEntryDlg::SB_LINEUP, 0, 0},
        {CSelVXEntryDlg::SB_THUMBTRACK, 9, 0}, // nothing until released
        {CSelVXEntryDlg::SB_THUMBPOSITION, 9, 9},
        {CSelVXEntryDlg::SB_BOTTOM, 0, 15},
        {CSelVXEntryDlg::SB_TOP, 0, 0},
    };
    for (const Step& s : steps) {
        dlg.OnVScroll(s.request, s.nPos);
        EXPECT_EQ(m_app.GetListTop(), s.nTop) << s.request;
        EXPECT_EQ(pBar->value(), s.nTop) << s.request;
        EXPECT_EQ(dlg.GetGrid()->GetTextAt(1, 0), QString("E%1").arg(s.nTop)) << s.request;
    }
    // The scroll bar's own page step goes the same way.
    pBar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(m_app.GetListTop(), 10);
    EXPECT_EQ(pBar->value(), 10);
}

// However the bar moves, the grid and the list position follow it: the wheel
// over the bar, and "Scroll here" of its menu, which sets the value itself.
TEST_F(SelectionTest, GridFollowsEveryPositionOfTheBar)
{
    Book(25);
    CSelVXEntryDlg dlg;
    dlg.show();
    QScrollBar* pBar = dlg.GetScrollBar();
    const auto expectTop = [&](int nTop, const char* pszWhat) {
        EXPECT_EQ(pBar->value(), nTop) << pszWhat;
        EXPECT_EQ(m_app.GetListTop(), nTop) << pszWhat;
        EXPECT_EQ(dlg.GetGrid()->GetTextAt(1, 0), QString("E%1").arg(nTop)) << pszWhat;
    };
    const QPoint centre = pBar->rect().center();
    QWheelEvent wheel(centre, pBar->mapToGlobal(centre), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(pBar, &wheel);
    ASSERT_GT(pBar->value(), 0);
    expectTop(pBar->value(), "wheel down");
    pBar->setValue(12);
    expectTop(12, "scroll here");
    pBar->setValue(3);
    expectTop(3, "scroll here again");
}

TEST_F(SelectionTest, ConnectedEntryCannotBeChangedOrDeleted)
{
    Book(25);
    ASSERT_EQ(m_app.SetConnected(12), 1);
    m_app.SetListTop(5);
    CSelVXEntryDlg dlg;
    dlg.show();
    EXPECT_EQ(dlg.GetGrid()->GetTextAt(8, 0), QString("E12"));
    for (int nButton : {1101, 1102}) {
        m_prompter.Clear();
        dlg.GetGrid()->SetRow(8);
        EXPECT_FALSE(Click(dlg, nButton)) << nButton;
        EXPECT_EQ(m_prompter.ConfirmModes(), std::vector<int>{20}) << nButton;
    }
    EXPECT_EQ(m_app.GetEntryCount(), 25);

    // Another row opens the editor with the entry in it.
    dlg.GetGrid()->SetRow(3);
    QString strShown;
    EXPECT_TRUE(Click(dlg, 1101, [&](QDialog* p) {
        strShown = p->findChild<QLineEdit*>("id1121")->text() + " " + p->findChild<QLineEdit*>("id1118")->text();
        QTest::mouseClick(Button(*p, 1314), Qt::LeftButton);
    }));
    EXPECT_EQ(strShown, QString("E7 7"));
    EXPECT_EQ(m_app.GetEditEntry(), 7);
}

TEST_F(SelectionTest, ChangeAndDeleteThroughTheEditor)
{
    Book(11);
    CSelVXEntryDlg dlg;
    dlg.show();
    dlg.GetGrid()->SetRow(2);
    EXPECT_TRUE(Click(dlg, 1101, [](QDialog* p) { FillEditor(p, "Renamed", "10.9.9.9", "9000"); }));
    EXPECT_EQ(m_app.GetEntryName(1), "Renamed");
    EXPECT_EQ(m_app.GetEntryIP(1), "10.9.9.9");
    EXPECT_EQ(dlg.GetGrid()->GetTextAt(2, 0), QString("Renamed"));

    // Delete the last of 11: the list scrolls back so ten rows stay filled.
    dlg.OnVScroll(CSelVXEntryDlg::SB_BOTTOM);
    dlg.GetGrid()->SetRow(10);
    EXPECT_TRUE(Click(dlg, 1102, [](QDialog* p) { QTest::mouseClick(Button(*p, 1317), Qt::LeftButton); }));
    EXPECT_EQ(m_app.GetEntryCount(), 10);
    EXPECT_EQ(m_app.GetListTop(), 0);
    std::vector<QString> names = NamesShown(dlg);
    EXPECT_EQ(names.front(), QString("E0"));
    EXPECT_EQ(names.back(), QString("E9"));
    EXPECT_FALSE(dlg.GetScrollBar()->isVisible());

    // Delete on an empty row does nothing; Cancel in the editor keeps the entry.
    m_app.DeleteEntry(9);
    dlg.OnVScroll(CSelVXEntryDlg::SB_TOP);
    dlg.GetGrid()->SetRow(10);
    EXPECT_FALSE(Click(dlg, 1102));
    dlg.GetGrid()->SetRow(1);
    EXPECT_TRUE(Click(dlg, 1102));
    EXPECT_EQ(m_app.GetEntryCount(), 9);
}

TEST_F(SelectionTest, OnlyCloseEndsTheDialog)
{
    Book(2);
    CSelVXEntryDlg dlg;
    bool bOpen = false;
    QTimer::singleShot(0, &dlg, [&] {
        QTest::keyClick(&dlg, Qt::Key_Return);
        QTest::keyClick(&dlg, Qt::Key_Escape);
        dlg.close();
        bOpen = dlg.isVisible();
        QTest::mouseClick(Button(dlg, 1316), Qt::LeftButton);
    });
    EXPECT_EQ(dlg.exec(), 0);
    EXPECT_TRUE(bOpen);
}

TEST_F(SelectionTest, ArrowKeysWalkTheButtons)
{
    CSelVXEntryDlg dlg;
    dlg.show();
    QApplication::setActiveWindow(&dlg);
    Button(dlg, 1000)->setFocus();
    QTest::keyClick(Button(dlg, 1000), Qt::Key_Down);
    EXPECT_EQ(QApplication::focusWidget(), Button(dlg, 1101));
    QTest::keyClick(Button(dlg, 1101), Qt::Key_Up); // stays on Change
    EXPECT_EQ(QApplication::focusWidget(), Button(dlg, 1101));
    Button(dlg, 1000)->setFocus();
    QTest::keyClick(Button(dlg, 1000), Qt::Key_Left); // Add jumps to Close
    EXPECT_EQ(QApplication::focusWidget(), Button(dlg, 1316));
}
