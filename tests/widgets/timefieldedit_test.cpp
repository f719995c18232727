#include "fixtures/scriptedprompter.h"
#include "widgets/edithour.h"
#include "widgets/editmin.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QTest>
#include <gtest/gtest.h>

// Digits and editing keys pass silently; any other key shows the field's own
// notice (16 for an hour, 15 for a minute) and still reaches the field; input
// composed by an input method is dropped with the Kana notice.
TEST(TimeFields, KeysPassOrWarnByTheFieldsOwnMode)
{
    CEditHour hour;
    CEditMin minute;
    for (CTimeFieldEdit* pField : {static_cast<CTimeFieldEdit*>(&hour), static_cast<CTimeFieldEdit*>(&minute)}) {
        SCOPED_TRACE(pField->GetWrongKeyMode());
        CScriptedPrompter prompter;
        pField->show();
        pField->setFocus();
        QTest::keyClick(pField, Qt::Key_1);
        QTest::keyClick(pField, Qt::Key_Backspace);
        QTest::keyClick(pField, Qt::Key_2, Qt::KeypadModifier);
        QTest::keyClick(pField, Qt::Key_Left);
        EXPECT_TRUE(prompter.Asks().empty());
        QTest::keyClick(pField, Qt::Key_X);
        EXPECT_EQ(prompter.ConfirmModes(), std::vector<int> {pField->GetWrongKeyMode()});
        EXPECT_EQ(pField->text(), QString("x2"));
        QTest::keyClick(pField, Qt::Key_3); // two characters at most
        EXPECT_EQ(pField->text(), QString("x2"));

        QInputMethodEvent composed(QString(), {});
        composed.setCommitString(QString::fromUtf8("５"));
        QApplication::sendEvent(pField, &composed);
        EXPECT_EQ(pField->text(), QString("x2"));
        EXPECT_EQ(prompter.ConfirmModes(), (std::vector<int> {pField->GetWrongKeyMode(), 32}));
    }
    EXPECT_EQ(hour.GetWrongKeyMode(), 16);
    EXPECT_EQ(minute.GetWrongKeyMode(), 15);
}
