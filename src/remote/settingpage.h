// A menu-setting page of one-byte settings, each shown in a drop-down list
// whose item index is the setting's value. Every time the page is shown it
// reads its settings from the recorder, in its read order, into local values;
// only when every read has succeeded do the members and the lists change. A
// setting that may not apply in the recorder's present state (play mode, disk
// mode, its display) is the exception: its refused read (3) leaves the member
// at -1 and its list disabled, and the reading goes on. The page's setting
// button takes the lists into the members and writes them in its write order.
// Nothing is ever shown to the operator about a read or a write.
#pragma once

#include "remote/menupage.h"

#include <QStringList>

#include <initializer_list>
#include <vector>

class CSettingPage : public CMenuPage {
    Q_OBJECT
public:
    using CMenuPage::CMenuPage;

    // Shown: reads the settings under the wait cursor. Hidden: nothing.
    void OnShowWindow(bool bShow) override;
    // Reads the page's settings from the recorder.
    virtual void ReadSettings();

protected:
    struct Field {
        int k;               // the setting
        QComboBox* pCombo;
        int* pMember;        // the item index; -1 for no choice
        bool bMayBeRefused;  // a refused read means "does not apply now"
    };
    // The values of one reading, by field, before they are taken.
    struct Reading {
        std::vector<int> values;
        std::vector<bool> refused;
    };

    // Adds setting k's caption and list (CSettingItems unless items are given)
    // as the next field in read order.
    QComboBox* AddField(int k, int nId, int& nMember, int nRow, int nColumn = 0, bool bMayBeRefused = false,
                        const QStringList& items = {});
    QComboBox* FieldCombo(int k) const;

    // Reads every field in order; false at the first failure that stops the
    // reading (then nothing has changed).
    bool ReadFields(Reading& reading) const;
    // Takes a whole reading into the members (-1 for a refused field, whose list
    // is disabled; an accepted one's list is enabled) and shows them.
    void TakeReading(const Reading& reading);
    void UpdateControls();
    void TakeControls();
    // Takes the lists into the members, then writes the settings in the order
    // given; with bStopAtFailure the first write that fails ends it. Returns the
    // status of the last write made.
    int WriteFields(std::initializer_list<int> order, bool bStopAtFailure = true);

    // One read through the protocol object; 3 without one.
    static int ReadValue(int k, int& nValue);
    static int WriteValue(int k, int nValue);

private:
    const Field* FindField(int k) const;

    std::vector<Field> m_fields;
};
