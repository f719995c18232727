#include "addressbook/chgvxentrydlg.h"
#include "addressbook/flexgrid.h"
#include "addressbook/selvxentrydlg.h"
#include "platform/stringtable.h"
#include "app/vx2200net.h"
#include "fixtures/scriptedprompter.h"
#include "fixtures/tempdir.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class EditorTest : public ::testing::Test {
protected:
    EditorTest() : m_app({m_dir / "none.conf", m_dir / "prog/", m_dir / "lock"})
    {
        m_app.LoadSettings();
        m_app.AddEntry("Shop", "10.0.0.1", 8001);
        m_app.AddEntry("Gate", "10.0.0.2", 8001);
    }

    static QLineEdit* Edit(QDialog& dlg, int nId) { return dlg.findChild<QLineEdit*>(QStringLiteral("id%1").arg(nId)); }
    static QPushButton* Button(QDialog& dlg, int nId) { return dlg.findChild<QPushButton*>(QStringLiteral("id%1").arg(nId)); }

    // Shows the editor, lets fnAct work on it, presses OK; returns the result
    // (-1 while the editor stays open).
    int PressOK(CChgVXEntryDlg& dlg)
    {
        int nResult = -1;
        QObject::connect(&dlg, &QDialog::finished, [&](int n) { nResult = n; });
        QTest::mouseClick(Button(dlg, 1317), Qt::LeftButton);
        return nResult;
    }

    void Fill(CChgVXEntryDlg& dlg, const char* pszName, std::array<const char*, 4> octets, const char* pszPort)
    {
        Edit(dlg, 1121)->setText(pszName);
        const int ids[4] = {1106, 1110, 1114, 1118};
        for (int i = 0; i < 4; ++i)
            Edit(dlg, ids[i])->setText(octets[i]);
        Edit(dlg, 1665)->setText(pszPort);
    }

    CTempDir m_dir;
    CVX2200NETApp m_app;
    CScriptedPrompter m_prompter;
};

} // namespace

TEST_F(EditorTest, NewEntryOpensWithPort8001AndTheNameFocused)
{
    CChgVXEntryDlg dlg(CChgVXEntryDlg::MODE_NEW);
    dlg.show();
    EXPECT_EQ(dlg.windowTitle(), QString("New Entry"));
    EXPECT_EQ(Edit(dlg, 1665)->text(), QString("8001"));
    EXPECT_EQ(Edit(dlg, 1121)->text(), QString());
    EXPECT_EQ(Edit(dlg, 1106)->text(), QString());
    EXPECT_EQ(dlg.focusWidget(), Edit(dlg, 1121));
}

TEST_F(EditorTest, OctetFieldsMoveOnAndRefuseLetters)
{
    CChgVXEntryDlg dlg(CChgVXEntryDlg::MODE_NEW);
    dlg.show();
    QApplication::setActiveWindow(&dlg);
    Edit(dlg, 1106)->setFocus();
    QTest::keyClicks(Edit(dlg, 1106), "192");
    EXPECT_EQ(QApplication::focusWidget(), Edit(dlg, 1110));

    QTest::keyClicks(Edit(dlg, 1110), "25");
    QTest::keyClick(Edit(dlg, 1110), Qt::Key_A);
    EXPECT_EQ(m_prompter.ConfirmModes(), std::vector<int>{9});
    EXPECT_EQ(Edit(dlg, 1110)->text(), QString("25"));
    EXPECT_EQ(Edit(dlg, 1110)->selectedText(), QString("25"));

    QTest::keyClick(Edit(dlg, 1106), Qt::Key_X);
    EXPECT_EQ(Edit(dlg, 1106)->text(), QString("192"));

    // Input composed by an input method is dropped with the Kana notice.
    QInputMethodEvent composed(QString(), {});
    composed.setCommitString(QString::fromUtf8("あ"));
    QApplication::sendEvent(Edit(dlg, 1114), &composed);
    EXPECT_EQ(Edit(dlg, 1114)->text(), QString());
    EXPECT_EQ(m_prompter.ConfirmModes(), (std::vector<int>{9, 9, 32}));
}

TEST_F(EditorTest, PortFieldWarnsButTheCheckOnOkRefuses)
{
    CChgVXEntryDlg dlg(CChgVXEntryDlg::MODE_NEW);
    dlg.show();
    QLineEdit* pPort = Edit(dlg, 1665);
    pPort->setText("80");
    pPort->setFocus();
    pPort->end(false);
    QTest::keyClick(pPort, Qt::Key_A, Qt::NoModifier);
    EXPECT_EQ(m_prompter.ConfirmModes(), std::vector<int>{12});
    EXPECT_EQ(pPort->text(), QString("80a"));
}

// The port field holds what was typed or stored, however long; the range check
// on OK answers a port that is too large, never a silent cut.
TEST_F(EditorTest, PortFieldKeepsEveryDigitAndOkRefusesTooLargeAPort)
{
    CChgVXEntryDlg typed(CChgVXEntryDlg::MODE_NEW);
    typed.show();
    Fill(typed, "Yard", {"10", "0", "0", "9"}, "");
    QLineEdit* pPort = Edit(typed, 1665);
    pPort->setFocus();
    QTest::keyClicks(pPort, "800012");
    EXPECT_EQ(pPort->text(), QString("800012"));
    EXPECT_EQ(PressOK(typed), -1);
    EXPECT_EQ(m_prompter.ConfirmModes(), std::vector<int>{11});

    m_prompter.Clear();
    m_app.SetEditEntry(1);
    CChgVXEntryDlg stored(CChgVXEntryDlg::MODE_CHANGE);
    stored.m_strName = "Gate";
    stored.SetIPText("10.0.0.2");
    stored.m_strPort = "123456";
    stored.show();
    EXPECT_EQ(Edit(stored, 1665)->text(), QString("123456"));
    EXPECT_EQ(PressOK(stored), -1);
    EXPECT_EQ(m_prompter.ConfirmModes(), std::vector<int>{11});
}

// Alt and AltGr are the menu keys: they pass the octet and port fields without
// a notice.
TEST_F(EditorTest, AltKeysPassWithoutANotice)
{
    CChgVXEntryDlg dlg(CChgVXEntryDlg::MODE_NEW);
    dlg.show();
    for (const int nId : {1106, 1665}) {
        Edit(dlg, nId)->setFocus();
        for (const int nKey : {Qt::Key_Alt, Qt::Key_AltGr}) {
            QKeyEvent press(QEvent::KeyPress, nKey, nKey == Qt::Key_Alt ? Qt::AltModifier : Qt::NoModifier);
            QApplication::sendEvent(Edit(dlg, nId), &press);
        }
    }
    EXPECT_TRUE(m_prompter.Asks().empty());
}

TEST_F(EditorTest, ArrowKeysMoveTheFocus)
{
    CChgVXEntryDlg dlg(CChgVXEntryDlg::MODE_NEW);
    dlg.show();
    QApplication::setActiveWindow(&dlg);
    Edit(dlg, 1121)->setFocus();
    QTest::keyClick(Edit(dlg, 1121), Qt::Key_Right);
    EXPECT_EQ(QApplication::focusWidget(), Edit(dlg, 1106));
    QTest::keyClick(Edit(dlg, 1106), Qt::Key_Down);
    EXPECT_EQ(QApplication::focusWidget(), Edit(dlg, 1110));
    QTest::keyClick(Edit(dlg, 1110), Qt::Key_Up);
    QTest::keyClick(Edit(dlg, 1106), Qt::Key_Left);
    EXPECT_EQ(QApplication::focusWidget(), Edit(dlg, 1121));
    EXPECT_TRUE(m_prompter.Asks().empty());
}

TEST_F(EditorTest, ChecksOnOkInTheirOrder)
{
    struct Case {
        const char* pszName;
        std::array<const char*, 4> octets;
        const char* pszPort;
        int nMode; // 0: accepted
    } cases[] = {
        {"", {"", "", "", ""}, "8001", 14},
        {"New", {"10", "", "0", "3"}, "8001", 9},
        {"New", {"10", "256", "0", "3"}, "8001", 9},
        {"New", {"255", "255", "255", "255"}, "8001", 0},
        {"New", {"10", "0", "0", "3"}, "", 11},
        {"New", {"10", "0", "0", "3"}, "80a", 12},
        {"New", {"10", "0", "0", "3"}, "65536", 11},
        {"New", {"10", "0", "0", "3"}, "65535", 0},
        {"New", {"10", "0", "0", "3"}, "0", 0},
        {"Shop", {"10", "0", "0", "3"}, "8001", 19},  // same name
        {"New", {"10", "0", "0", "1"}, "8001", 19},   // same address and port
        {"New", {"10", "0", "0", "1"}, "8002", 0},    // same address, other port
    };
    for (const Case& c : cases) {
        m_prompter.Clear();
        CChgVXEntryDlg dlg(CChgVXEntryDlg::MODE_NEW);
        dlg.show();
        Fill(dlg, c.pszName, c.octets, c.pszPort);
        const int nResult = PressOK(dlg);
        SCOPED_TRACE(std::string(c.pszName) + " port " + c.pszPort);
        if (c.nMode == 0) {
            EXPECT_EQ(nResult, 1);
            EXPECT_TRUE(m_prompter.Asks().empty());
            EXPECT_EQ(dlg.m_nPort, QString(c.pszPort).toInt());
        } else {
            EXPECT_EQ(nResult, -1);
            EXPECT_EQ(m_prompter.ConfirmModes(), std::vector<int>{c.nMode});
        }
    }
}

TEST_F(EditorTest, ChangeSkipsItsOwnEntry)
{
    m_app.SetEditEntry(1);
    CChgVXEntryDlg dlg(CChgVXEntryDlg::MODE_CHANGE);
    dlg.m_strName = "Gate";
    dlg.SetIPText("10.0.0.2");
    dlg.m_strPort = "8001";
    dlg.show();
    EXPECT_EQ(Edit(dlg, 1118)->text(), QString("2"));
    EXPECT_EQ(PressOK(dlg), 1);
    EXPECT_EQ(dlg.GetIPText(), QString("10.0.0.2"));

    CChgVXEntryDlg clash(CChgVXEntryDlg::MODE_CHANGE);
    clash.show();
    Fill(clash, "Shop", {"10", "0", "0", "2"}, "8001");
    EXPECT_EQ(PressOK(clash), -1);
    EXPECT_EQ(m_prompter.ConfirmModes(), std::vector<int>{19});
}

TEST_F(EditorTest, DeleteModeDisablesTheFieldsAndStartsOnCancel)
{
    CChgVXEntryDlg dlg(CChgVXEntryDlg::MODE_DELETE);
    dlg.m_strName = "Gate";
    dlg.SetIPText("10.0.0.2");
    dlg.show();
    QApplication::setActiveWindow(&dlg);
    EXPECT_EQ(dlg.windowTitle(), QString("Delete Entry"));
    for (int nId : {1121, 1106, 1110, 1114, 1118, 1665})
        EXPECT_FALSE(Edit(dlg, nId)->isEnabled()) << nId;
    EXPECT_EQ(QApplication::focusWidget(), Button(dlg, 1314));
    // Enter does not confirm; OK does, without any check.
    QTest::keyClick(Button(dlg, 1314), Qt::Key_Return);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(PressOK(dlg), 1);
    EXPECT_TRUE(m_prompter.Asks().empty());
}

TEST_F(EditorTest, LongNamesAreCutToWhatTheFileHolds)
{
    CChgVXEntryDlg dlg(CChgVXEntryDlg::MODE_NEW);
    dlg.show();
    QLineEdit* pName = Edit(dlg, 1121);
    pName->setFocus();
    QTest::keyClicks(pName, QString(25, 'n'));
    EXPECT_EQ(pName->text(), QString(20, 'n'));
    pName->clear();
    for (QChar c : QString::fromUtf8("録画録画録画録画録画録画")) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(pName, &press);
    }
    EXPECT_LE(pName->text().toUtf8().size(), 31);
    EXPECT_EQ(pName->text(), QString::fromUtf8("録画録画録画録画録画"));
}

// The Japanese texts name each field with one wording: the editor's labels, the
// selection grid's headings and the notice that asks for a name.
TEST_F(EditorTest, JapaneseFieldNamesAgreeEverywhere)
{
    CStringTable::SetLanguage(Language::Japanese);
    CChgVXEntryDlg dlg(CChgVXEntryDlg::MODE_NEW);
    QStringList labels;
    for (const QLabel* pLabel : dlg.findChildren<QLabel*>())
        labels << pLabel->text();
    CSelVXEntryDlg selection;
    const QString strNameHeading = selection.GetGrid()->GetTextAt(0, 0);
    const QString strIPHeading = selection.GetGrid()->GetTextAt(0, 1);
    const QString strNotice = QString::fromUtf8(CStringTable::Load(290).data());
    CStringTable::SetLanguage(Language::English);

    EXPECT_EQ(strIPHeading, QString::fromUtf8("IPアドレス"));
    EXPECT_TRUE(labels.contains(strIPHeading)) << labels.join('|').toStdString();
    EXPECT_TRUE(labels.contains(strNameHeading)) << labels.join('|').toStdString();
    EXPECT_TRUE(strNotice.contains(strNameHeading)) << strNotice.toStdString();
}
